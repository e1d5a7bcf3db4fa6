#pragma once

#include <QString>
#include <string_view>

class QWidget;

namespace qbr::ui {

// Where a handler's error goes: the platform's standard error report, or a recorder in tests.
class ErrorReporter {
  public:
    virtual ~ErrorReporter() = default;
    // The text is CP932 bytes, the full stop already applied.
    virtual void report(std::string_view text) = 0;
};

// A critical message box with the application's title as caption and an OK button.
class MessageBoxReporter final : public ErrorReporter {
  public:
    explicit MessageBoxReporter(QWidget* owner = nullptr) : owner_(owner) {}
    void report(std::string_view text) override;

  private:
    QWidget* owner_;
};

// Runs one handler. An error ends the handler where it happened and is reported; the program
// then goes on with the next event, as with an error that nobody caught.
template <typename Handler> void runGuarded(ErrorReporter& reporter, Handler&& handler);

void reportCurrentException(ErrorReporter& reporter);

template <typename Handler> void runGuarded(ErrorReporter& reporter, Handler&& handler) {
    try {
        handler();
    } catch (...) {
        reportCurrentException(reporter);
    }
}

} // namespace qbr::ui
