#include "ui/archive_window.h"

#include "archive/entry_extraction.h"
#include "archive/entry_text.h"
#include "catalog/error.h"
#include "ui/display_text.h"

#include <QHeaderView>
#include <QLabel>
#include <QStringDecoder>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace qbr::ui {
namespace {

enum Column { kName, kSize, kCompressed, kDate, kMethod, kColumns };

// A file name from the file system: UTF-8 when it is valid UTF-8 (a name made on this
// machine), else the CP932 bytes of the catalog.
QString fileNameText(std::string_view bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    return utf8.hasError() ? displayText(bytes) : text;
}

QString sizeColumn(std::optional<std::uint64_t> size) {
    return QString::fromStdString(archive::sizeText(size));
}

} // namespace

QString entryDisplayName(const archive::Entry& entry) {
    return entry.utf8Name
               ? QString::fromUtf8(entry.path.data(), static_cast<qsizetype>(entry.path.size()))
               : displayText(entry.path);
}

ArchiveWindow::ArchiveWindow(std::string archivePath, platform::DesktopShell& shell,
                             QWidget* parent)
    : QWidget(parent, Qt::Window), archivePath_(std::move(archivePath)), shell_(shell),
      listing_(archive::listArchiveFile(archivePath_)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("ArchiveWindow"));
    const std::size_t slash = archivePath_.rfind('/');
    setWindowTitle(fileNameText(slash == std::string::npos
                                    ? std::string_view(archivePath_)
                                    : std::string_view(archivePath_).substr(slash + 1)));

    entries_ = new QTreeWidget(this);
    entries_->setObjectName(QStringLiteral("entries"));
    entries_->setColumnCount(kColumns);
    entries_->setHeaderLabels({QStringLiteral("名前"), QStringLiteral("サイズ"),
                               QStringLiteral("圧縮後"), QStringLiteral("日時"),
                               QStringLiteral("方式")});
    entries_->setRootIsDecorated(false);
    entries_->setUniformRowHeights(true);
    entries_->setSelectionMode(QAbstractItemView::SingleSelection);
    entries_->header()->setStretchLastSection(false);
    entries_->header()->setSectionResizeMode(kName, QHeaderView::Stretch);
    totals_ = new QLabel(this);
    totals_->setObjectName(QStringLiteral("totals"));
    message_ = new QLabel(this);
    message_->setObjectName(QStringLiteral("message"));
    message_->setWordWrap(true);
    message_->setStyleSheet(QStringLiteral("color: #b00000;"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(message_);
    layout->addWidget(entries_, 1);
    layout->addWidget(totals_);

    fillEntries();
    if (!listing_.complete())
        showMessage(displayText(listing_.error));
    else
        message_->hide();
    connect(entries_, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { openEntry(item); });
    resize(640, 400);
}

ArchiveWindow::~ArchiveWindow() = default;

std::string ArchiveWindow::temporaryFolder() const {
    return folder_ ? folder_->path() : std::string();
}

void ArchiveWindow::fillEntries() {
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(listing_.entries.size()));
    for (std::size_t i = 0; i < listing_.entries.size(); ++i) {
        const archive::Entry& entry = listing_.entries[i];
        auto* item = new QTreeWidgetItem;
        item->setText(kName, entryDisplayName(entry));
        item->setText(kSize, entry.directory ? QString() : sizeColumn(entry.size));
        item->setText(kCompressed, entry.directory ? QString() : sizeColumn(entry.compressedSize));
        item->setText(kDate, QString::fromStdString(archive::dateText(entry.modified)));
        item->setText(kMethod, QString::fromStdString(entry.method));
        item->setTextAlignment(kSize, Qt::AlignRight | Qt::AlignVCenter);
        item->setTextAlignment(kCompressed, Qt::AlignRight | Qt::AlignVCenter);
        item->setData(kName, Qt::UserRole, QVariant::fromValue(static_cast<qulonglong>(i)));
        items.push_back(item);
    }
    entries_->addTopLevelItems(items);
    for (int column = kSize; column < kColumns; ++column)
        entries_->resizeColumnToContents(column);

    const archive::Totals totals = listing_.totals();
    QString line = QStringLiteral("合計 %1 ファイル  %2 バイト").arg(totals.files).arg(totals.size);
    if (std::any_of(listing_.entries.begin(), listing_.entries.end(),
                    [](const archive::Entry& e) { return e.compressedSize.has_value(); }))
        line += QStringLiteral("  圧縮後 %1 バイト").arg(totals.compressedSize);
    totals_->setText(line);
}

void ArchiveWindow::openEntry(QTreeWidgetItem* item) {
    if (!item)
        return;
    const auto index = static_cast<std::size_t>(item->data(kName, Qt::UserRole).toULongLong());
    if (index >= listing_.entries.size())
        return;
    try {
        if (!folder_)
            folder_ = std::make_unique<archive::PrivateFolder>();
        const archive::ExtractedFile file =
            archive::extractEntry(archivePath_, index, listing_.entries[index], *folder_);
        message_->hide();
        shell_.openWithAssociation(file.directory, file.name);
    } catch (const Error& error) {
        showMessage(entryDisplayName(listing_.entries[index]) + QStringLiteral(": ") +
                    displayText(error.text()));
    }
}

void ArchiveWindow::showMessage(const QString& text) {
    message_->setText(text);
    message_->show();
}

} // namespace qbr::ui
