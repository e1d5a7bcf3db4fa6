#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <memory>

class QWidget;

namespace qbr::ui {

// SIGTERM and SIGINT close the main window the orderly way, as its close box does, so that a
// logout or Ctrl+C still saves the catalog and the settings. The signal handler only writes a
// byte into a pipe; the window is closed from the event loop.
class TerminationSignals final : public QObject {
    Q_OBJECT

  public:
    explicit TerminationSignals(QWidget& window);
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

  private:
    void readSignal();

    QWidget& window_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

} // namespace qbr::ui
