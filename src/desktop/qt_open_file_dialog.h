#pragma once

#include "desktop/open_file_dialog.h"

#include <QString>

class QWidget;

namespace qbr::platform {

// QFileDialog behind the seam; the only use of Qt Widgets in this library.
class QtOpenFileDialog : public OpenFileDialog {
  public:
    explicit QtOpenFileDialog(QWidget* parent = nullptr) : parent_(parent) {}
    std::optional<std::string> chooseFile(const std::string& initialDirectory) override;
    // The window the dialog is modal over (made after the dialog, which it is given to).
    void setParent(QWidget* parent) noexcept { parent_ = parent; }

    // "すべて (*)": on POSIX "*.*" would hide names without a dot.
    static QString filter();

  private:
    QWidget* parent_;
};

} // namespace qbr::platform
