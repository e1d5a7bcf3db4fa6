#include "ui/error_guard.h"

#include "catalog/error.h"
#include "ui/display_text.h"
#include "ui/ui_texts.h"

#include <QMessageBox>
#include <exception>
#include <new>

namespace qbr::ui {

void MessageBoxReporter::report(std::string_view text) {
    QMessageBox box(QMessageBox::Critical, displayText(text::kTitle), displayText(text),
                    QMessageBox::Ok, owner_);
    // Closing the box must never count as closing the last window: an error at start-up is
    // shown before the main window, and the run goes on after it.
    box.setAttribute(Qt::WA_QuitOnClose, false);
    box.exec();
}

void reportCurrentException(ErrorReporter& reporter) {
    std::string text;
    try {
        throw;
    } catch (const Error& error) {
        text = error.text();
    } catch (const std::bad_alloc&) {
        text = "Out of memory";
    } catch (const std::exception& error) {
        text = error.what();
    } catch (...) {
        text = "Unknown error";
    }
    reporter.report(withFullStop(text));
}

} // namespace qbr::ui
