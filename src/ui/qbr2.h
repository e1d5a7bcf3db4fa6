#pragma once

#include "catalog/log_scanner.h"

#include <QLabel>
#include <QWidget>

namespace qbr::ui {

// The scan progress window: the log being read and the current forum. Modeless, fixed size,
// no border icons, centred on the screen; repainted at once after each change, since the
// scan holds the user-interface thread.
class TForm2 final : public QWidget, public ScanProgressSink {
    Q_OBJECT

  public:
    explicit TForm2(QWidget* owner = nullptr);

    void showLogName(std::string_view name) override;
    void showForumName(std::string_view name) override;

    // Shows the window centred on the screen and paints it.
    void showCentred();

    const QLabel& Label1() const { return label1_; }
    const QLabel& Label2() const { return label2_; }

  private:
    void setLabel(QLabel& label, std::string_view text);

    QLabel label1_{this};
    QLabel label2_{this};
};

} // namespace qbr::ui
