#include "ui/qbr1.h"

#include "desktop/file_presentation.h"
#include "pane/detail_pane.h"
#include "pane/file_actions.h"
#include "posix/downloaded_file.h"
#include "ui/display_text.h"
#include "ui/memo_lines.h"
#include "ui/pictures.h"
#include "ui/ui_texts.h"
#include "ui/wait_cursor.h"
#include "ui/window_font.h"

#include <QItemSelectionModel>
#include <QShowEvent>
#include <QStyleFactory>

namespace qbr::ui {

namespace {

struct ButtonPlace {
    int left;
    int width;
    bool enabled;
};

// Left and width of SpeedButton1..9 on the tool bar, and whether each starts enabled.
constexpr std::array<ButtonPlace, 9> kButtonPlaces{{
    {8, 57, true},
    {64, 57, true},
    {120, 65, true},
    {184, 57, true},
    {240, 56, false},
    {296, 57, false},
    {352, 81, false},
    {432, 57, false},
    {488, 57, false},
}};

constexpr int kToolBarHeight = 33;
constexpr int kVersionLabelWidth = 46;
constexpr int kStatusBarHeight = 19;
constexpr int kSplitterWidth = 7;
// The tree and the detail area each keep at least this much of the width.
constexpr int kSplitterLimit = 30;

} // namespace

TForm1::TForm1(Environment environment)
    : reporter_(environment.reporter),
      session_(environment.store, environment.fileSystem, environment.executable,
               environment.localeSeparator),
      fileProbe_(environment.services.fileProbe), programIcons_(environment.services.programIcons),
      shell_(environment.services.shell), openFileDialog_(environment.services.openFileDialog),
      model_(session_.catalog(), Pictures::treePictures()),
      catalogProgress_(environment.catalogProgress != nullptr ? environment.catalogProgress
                                                              : &form3Progress_) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(displayText(text::kTitle));
    setWindowIcon(Pictures::applicationIcon());
    setFont(windowFont());
    resize(600, 348);

    formLayout_.setContentsMargins(0, 0, 0, 0);
    formLayout_.setSpacing(0);
    buildToolBar();
    buildTree();
    buildDetailArea();
    buildStatusBar();
    formLayout_.addWidget(&panel4_);
    formLayout_.addWidget(&splitter1_, 1);
    formLayout_.addWidget(&statusBar1_);
    // Only the tree and the text box take the keyboard focus.
    setTabOrder(&treeView1_, &memo1_);
    wireEvents();

    guarded([this] { FormCreate(); });
    form2_ = std::make_unique<TForm2>(this);
}

TForm1::~TForm1() = default;

void TForm1::buildToolBar() {
    panel4_.setObjectName(QStringLiteral("Panel4"));
    panel4_.setFixedHeight(kToolBarHeight);
    // No layout: the buttons and the version label keep their places when the window resizes,
    // and a narrow window cuts them off from the right.
    for (std::size_t i = 0; i < speedButtons_.size(); ++i) {
        auto button = std::make_unique<SpeedButton>(&panel4_);
        button->setObjectName(QStringLiteral("SpeedButton%1").arg(i + 1));
        button->setText(displayText(text::kButtons[i].caption));
        button->setToolTip(displayText(text::kButtons[i].hint));
        button->setIcon(Pictures::buttonGlyph(static_cast<int>(i)));
        button->setGeometry(kButtonPlaces[i].left, 4, kButtonPlaces[i].width, 25);
        button->setEnabled(kButtonPlaces[i].enabled);
        speedButtons_[i] = std::move(button);
    }
    label3_.setObjectName(QStringLiteral("Label3"));
    label3_.setText(displayText(text::kVersion));
    label3_.setTextFormat(Qt::PlainText);
    label3_.setMargin(0);
    label3_.setAutoFillBackground(true);
    QPalette palette = label3_.palette();
    // Light letters on a dark grey patch: the button shadow behind, the window colour in front.
    palette.setColor(QPalette::Window, palette.color(QPalette::Dark));
    palette.setColor(QPalette::WindowText, palette.color(QPalette::Base));
    label3_.setPalette(palette);
    label3_.move(552, 10);
    label3_.adjustSize();
    // The substitute face sets Latin letters wider than the designed one; the label is
    // condensed to keep its designed width, so the window's right edge does not cut it.
    if (label3_.width() > kVersionLabelWidth) {
        QFont condensed = label3_.font();
        condensed.setStretch(100 * kVersionLabelWidth / label3_.width());
        label3_.setFont(condensed);
        label3_.adjustSize();
    }
}

void TForm1::buildTree() {
    splitter1_.setObjectName(QStringLiteral("Splitter1"));
    splitter1_.setHandleWidth(kSplitterWidth);
    // The width is applied when the mouse button is released; a bar shows the place meanwhile.
    splitter1_.setOpaqueResize(false);
    splitter1_.setChildrenCollapsible(false);
    splitter1_.addWidget(&treeView1_);
    splitter1_.addWidget(&panel1_);
    splitter1_.setStretchFactor(0, 0);
    splitter1_.setStretchFactor(1, 1);
    setTreeWidth(153);
    if (QSplitterHandle* handle = splitter1_.handle(1))
        handle->setCursor(Qt::SplitHCursor);

    treeView1_.setObjectName(QStringLiteral("TreeView1"));
    treeView1_.setMinimumWidth(kSplitterLimit);
    // The classic look draws lines between the items and plus/minus boxes.
    treeStyle_.reset(QStyleFactory::create(QStringLiteral("Windows")));
    if (treeStyle_)
        treeView1_.setStyle(treeStyle_.get());
    treeView1_.setModel(&model_);
    treeView1_.setHeaderHidden(true);
    treeView1_.setIndentation(19);
    treeView1_.setRootIsDecorated(true);
    treeView1_.setItemsExpandable(true);
    treeView1_.setSortingEnabled(false);
    treeView1_.setUniformRowHeights(true);
    treeView1_.setEditTriggers(QAbstractItemView::NoEditTriggers);
    treeView1_.setSelectionMode(QAbstractItemView::SingleSelection);
    treeView1_.setIconSize(QSize(16, 16));
    treeView1_.setFrameShape(QFrame::StyledPanel);
    treeView1_.setFocusPolicy(Qt::StrongFocus);
    // The selected item is highlighted only while the tree has the keyboard focus.
    QPalette palette = treeView1_.palette();
    palette.setColor(QPalette::Inactive, QPalette::Highlight,
                     palette.color(QPalette::Inactive, QPalette::Base));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     palette.color(QPalette::Inactive, QPalette::Text));
    treeView1_.setPalette(palette);
}

void TForm1::buildDetailArea() {
    panel1_.setObjectName(QStringLiteral("Panel1"));
    panel1_.setMinimumWidth(kSplitterLimit);
    panel1Layout_.setContentsMargins(0, 0, 0, 0);
    panel1Layout_.setSpacing(0);
    panel1Layout_.addWidget(&panel3_);
    panel1Layout_.addWidget(&memo1_, 1);

    panel3_.setObjectName(QStringLiteral("Panel3"));
    panel3_.setFixedHeight(41);
    panel3_.setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel3_.setLineWidth(1);
    panel2_.setObjectName(QStringLiteral("Panel2"));
    panel2_.setGeometry(7, 4, 32, 32);
    image1_.setObjectName(QStringLiteral("Image1"));
    image1_.setGeometry(0, 0, 32, 32);
    image1_.setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label1_.setObjectName(QStringLiteral("Label1"));
    label2_.setObjectName(QStringLiteral("Label2"));
    label1_.move(56, 7);
    label2_.move(56, 23);
    for (QLabel* label : {&label1_, &label2_}) {
        label->setTextFormat(Qt::PlainText);
        label->adjustSize();
    }

    memo1_.setObjectName(QStringLiteral("Memo1"));
    memo1_.setFont(memoFont());
    memo1_.setLineWrapMode(QPlainTextEdit::WidgetWidth);
    memo1_.setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    memo1_.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo1_.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo1_.setTabChangesFocus(true);
    memo1_.setFocusPolicy(Qt::StrongFocus);
}

void TForm1::buildStatusBar() {
    statusBar1_.setObjectName(QStringLiteral("StatusBar1"));
    statusBar1_.setFixedHeight(kStatusBarHeight);
    statusBar1_.setSizeGripEnabled(true);
    for (std::size_t i = 0; i < statusPanels_.size(); ++i) {
        auto panel = std::make_unique<QLabel>();
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panel->setTextFormat(Qt::PlainText);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        // The last panel always reaches to the right edge.
        if (i + 1 < statusPanels_.size())
            panel->setFixedWidth(100);
        statusBar1_.addWidget(panel.get(), i + 1 < statusPanels_.size() ? 0 : 1);
        statusPanels_[i] = std::move(panel);
    }
}

void TForm1::wireEvents() {
    const auto connectButton = [this](int number, void (TForm1::*handler)()) {
        connect(speedButtons_[static_cast<std::size_t>(number - 1)].get(), &QToolButton::clicked,
                this, [this, handler] { guarded([this, handler] { (this->*handler)(); }); });
    };
    connectButton(1, &TForm1::SpeedButton1Click);
    connectButton(2, &TForm1::SpeedButton2Click);
    connectButton(3, &TForm1::SpeedButton3Click);
    connectButton(4, &TForm1::SpeedButton4Click);
    connectButton(5, &TForm1::SpeedButton5Click);
    connectButton(6, &TForm1::SpeedButton6Click);
    // SpeedButton7 shares the picture's handler.
    connectButton(7, &TForm1::Image1Click);
    connectButton(8, &TForm1::SpeedButton8Click);
    connectButton(9, &TForm1::SpeedButton9Click);
    connect(&image1_, &PictureBox::clicked, this, [this] { guarded([this] { Image1Click(); }); });
    // The selection, not the current row: the view makes the first row current when it gets
    // the focus, which selects nothing and must not replace the scan's report.
    connect(treeView1_.selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection& selected) {
                if (pane_.refreshSuppressed() || selected.indexes().isEmpty())
                    return;
                guarded([this, node = selected.indexes().first()] { TreeView1Change(node); });
            });
}

// ---- Start-up and shut-down ----

void TForm1::FormCreate() {
    memo1_.clear();
    label1_.clear();
    label2_.clear();
    StartupReads reads;
    {
        model_.beginReplace();
        struct EndReplace {
            CatalogModel& model;
            ~EndReplace() { model.endReplace(); }
        } endReplace{model_};
        reads = session_.FormCreate(*catalogProgress_);
    }
    applyStartupReads(reads);
    if (reads.error)
        throw *reads.error;
}

void TForm1::applyStartupReads(const StartupReads& reads) {
    // Left and Top place the frame; Width and Height are taken as the client area's size,
    // since the frame's size is not known before the window manager has framed the window.
    // Stored the same way at exit, the window opens where and as large as it was left.
    if (reads.Top)
        move(x(), *reads.Top);
    if (reads.Left)
        move(*reads.Left, y());
    if (reads.Height)
        resize(width(), *reads.Height);
    if (reads.Width)
        resize(*reads.Width, height());
    if (reads.Splitter)
        setTreeWidth(*reads.Splitter);
    if (reads.Maximized)
        setWindowState(*reads.Maximized ? (windowState() | Qt::WindowMaximized)
                                        : (windowState() & ~Qt::WindowMaximized));
}

WindowGeometry TForm1::currentGeometry() const {
    WindowGeometry geometry;
    geometry.Maximized = isMaximized();
    geometry.Left = pos().x();
    geometry.Top = pos().y();
    geometry.Width = width();
    geometry.Height = height();
    geometry.Splitter = treeWidth();
    return geometry;
}

int TForm1::treeWidth() const {
    return treeView1_.width();
}

void TForm1::setTreeWidth(int width) {
    const int total = std::max(splitter1_.width(), width + kSplitterWidth + kSplitterLimit);
    splitter1_.setSizes({width, total - width - kSplitterWidth});
    treeView1_.resize(width, treeView1_.height());
}

void TForm1::FormDestroy() {
    session_.FormDestroy(currentGeometry(), *catalogProgress_);
}

void TForm1::shutDown() {
    hide();
    guarded([this] { FormDestroy(); });
}

void TForm1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (shown_ || event->spontaneous())
        return;
    shown_ = true;
    guarded([this] { FormShow(); });
}

// ---- Scans ----

void TForm1::MemoReport::appendLine(std::string_view line) {
    memo_.appendPlainText(displayText(line));
}

void TForm1::runScan(bool everyLog) {
    // The view learns of the new forums and items when the scan ends, also after an error;
    // Form2 is hidden whatever the end.
    struct EndScan {
        TForm1& form;
        ~EndScan() {
            form.form2_->hide();
            form.model_.endAppending();
        }
    };
    model_.beginAppending();
    form2_->showCentred();
    EndScan endScan{*this};
    if (everyLog)
        session_.reimport(*form2_, memoReport_);
    else
        session_.scan(*form2_, memoReport_);
}

void TForm1::FormShow() {
    runScan(false);
}

void TForm1::SpeedButton2Click() {
    memo1_.clear();
    runScan(false);
}

void TForm1::SpeedButton3Click() {
    memo1_.clear();
    runScan(true);
}

// ---- Tool bar ----

void TForm1::SpeedButton1Click() {
    close();
}

void TForm1::SpeedButton4Click() {
    treeView1_.expandAll();
}

void TForm1::SpeedButton9Click() {
    const QModelIndexList selected = treeView1_.selectionModel()->selectedIndexes();
    if (selected.isEmpty())
        return;
    const QModelIndex target = selected.first();
    const QPersistentModelIndex parent = target.parent();
    const int row = target.row();
    QModelIndex next;
    {
        // The view moves the selection on its own while the rows go; the pane is refreshed
        // once, for the node the selection ends on.
        const auto quiet = pane_.suppressRefresh();
        if (!model_.deleteNode(target))
            return;
        // The selection passes to the next sibling, else the previous one, else the parent.
        next = model_.index(row, 0, parent);
        if (!next.isValid() && row > 0)
            next = model_.index(row - 1, 0, parent);
        if (!next.isValid())
            next = parent;
        if (next.isValid())
            treeView1_.selectionModel()->setCurrentIndex(next, QItemSelectionModel::ClearAndSelect);
    }
    if (next.isValid())
        TreeView1Change(next);
}

// ---- Detail pane ----

TreeNode* TForm1::selectedNode() const {
    const QModelIndex selected = treeView1_.selectionModel()->selectedIndexes().value(0);
    return selected.isValid() ? model_.node(selected) : nullptr;
}

void TForm1::showFileName() {
    label1_.setText(displayText(pane_.fileName()));
    label1_.adjustSize();
}

void TForm1::showPaneButtons() {
    const PaneButtons& buttons = pane_.buttons();
    runButton().setEnabled(buttons.run);
    showButton().setEnabled(buttons.show);
    archiveButton().setEnabled(buttons.archive);
    searchButton().setEnabled(buttons.search);
    deleteButton().setEnabled(buttons.remove);
}

void TForm1::setLabel2(const QString& text) {
    label2_.setText(text);
    label2_.adjustSize();
}

void TForm1::clearFileSection() {
    showFileName();
    showPaneButtons();
    image1_.clear();
    image1_.repaint();
}

void TForm1::TreeView1Change(const QModelIndex& index) {
    // A selection change that reports no node comes only while the tree is emptied.
    if (!index.isValid())
        return;
    TreeNode& node = *model_.node(index);
    const WaitCursor hourglass;
    memo1_.clear();
    setLabel2({});
    node.setImageIndex(0);
    node.setSelectedIndex(1);
    model_.nodeChanged(index);
    statusPanels_[1]->clear();
    if (node.level() == 2) {
        try {
            setMemoLines(memo1_, shownItemLines(catalog().lines(), node.span()));
        } catch (...) {
            // A damaged span: the pane is left with nothing to act on, and the guard reports.
            pane_.failRefresh();
            clearFileSection();
            throw;
        }
        statusPanels_[1]->setText(displayText(lineCountText(displayedLineRanges(memo1_).size())));
    }
    pane_.clearFileSection();
    clearFileSection();

    const std::optional<FileSection> section = findFileSection(displayedLines(memo1_));
    platform::FilePresentation shown;
    if (section)
        shown = platform::presentDownloadedFile(fileProbe_, programIcons_, session_.DownPath(),
                                                section->name);
    const DetailPane pane = pane_.refresh(
        {node.level(), node.hasChildren(), section, shown.file.exists, session_.ArchiverCommand()});
    showFileName();
    if (pane.showIcon)
        image1_.setPixmap(shown.icon);
    if (pane.dateLabel != DateLabel::Empty)
        setLabel2(shown.dateLabel);
    showPaneButtons();
}

// ---- File actions ----

void TForm1::SpeedButton5Click() {
    if (!actsOnFileName(pane_.fileName()))
        return;
    const platform::DownloadedFile file =
        platform::locateDownloadedFile(fileProbe_, session_.DownPath(), pane_.fileName());
    shell_.openWithAssociation(session_.DownPath(), file.name);
}

void TForm1::SpeedButton6Click() {
    if (!actsOnFileName(pane_.fileName()))
        return;
    shell_.showInFileManager(
        platform::locateDownloadedFile(fileProbe_, session_.DownPath(), pane_.fileName()).path);
}

void TForm1::Image1Click() {
    // The same tests whether or not SpeedButton7 is enabled: a missing file is listed all the
    // same, under its path in DownPath.
    const std::optional<ArchiveListing> listing = archiveListing(
        session_.ArchiverCommand(), pane_.fileName(),
        platform::locateDownloadedFile(fileProbe_, session_.DownPath(), pane_.fileName()).path);
    if (listing)
        shell_.startCommand(listing->command, {listing->path});
}

// ---- Re-link ----

void TForm1::SpeedButton8Click() {
    const std::optional<std::string> chosen = openFileDialog_.chooseFile(session_.DownPath());
    if (!chosen)
        return;
    pane_.choose(platform::catalogNameForChosenPath(*chosen));
    showFileName();
    const std::optional<std::vector<std::string>> lines =
        pane_.relink(catalog(), selectedNode(), displayedLines(memo1_));
    if (!lines)
        return;
    replaceLastTwoLines(memo1_, (*lines)[lines->size() - 2], lines->back());

    const platform::FilePresentation shown = platform::presentDownloadedFile(
        fileProbe_, programIcons_, session_.DownPath(), pane_.fileName());
    pane_.relinked(shown.file.exists, session_.ArchiverCommand());
    // A missing file leaves the picture as the last refresh left it.
    if (shown.file.exists) {
        image1_.clear();
        image1_.repaint();
        image1_.setPixmap(shown.icon);
    }
    setLabel2(shown.dateLabel);
    showPaneButtons();
}

} // namespace qbr::ui
