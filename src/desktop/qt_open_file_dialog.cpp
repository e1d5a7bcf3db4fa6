#include "desktop/qt_open_file_dialog.h"

#include <QFile>
#include <QFileDialog>

namespace qbr::platform {

QString QtOpenFileDialog::filter() {
    return QString::fromUtf16(u"\u3059\u3079\u3066 (*)");
}

std::optional<std::string> QtOpenFileDialog::chooseFile(const std::string& initialDirectory) {
    QFileDialog dialog(parent_);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(filter());
    if (!initialDirectory.empty())
        dialog.setDirectory(QFile::decodeName(initialDirectory.c_str()));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return QFile::encodeName(dialog.selectedFiles().constFirst()).toStdString();
}

} // namespace qbr::platform
