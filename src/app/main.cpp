// The main block: the application object and its title, the main window (whose creation runs
// FormCreate and makes Form2), the message loop, and the orderly end that runs FormDestroy.

#include "catalog/file_system.h"
#include "posix/regedit_store.h"
#include "ui/display_text.h"
#include "ui/error_guard.h"
#include "ui/pictures.h"
#include "ui/qbr1.h"
#include "ui/termination_signals.h"
#include "ui/ui_texts.h"

#include <QApplication>
#include <QLocale>
#include <climits>
#include <string>
#include <unistd.h>

namespace {

// The executable's path as the bytes the file system holds, never decoded.
std::string executablePath(const char* argv0) {
    std::string path(PATH_MAX, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
    if (length <= 0)
        return argv0;
    path.resize(static_cast<std::size_t>(length));
    return path;
}

// The user's decimal separator, for reading a watermark stored under it.
char localeSeparator() {
    const QString separator = QLocale::system().decimalPoint();
    if (separator.size() == 1 && separator.at(0).unicode() < 0x80)
        return static_cast<char>(separator.at(0).unicode());
    return '.';
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(qbr::ui::displayText(qbr::ui::text::kTitle));
    QApplication::setWindowIcon(qbr::ui::Pictures::applicationIcon());

    qbr::ui::MessageBoxReporter reporter;
    qbr::platform::RegeditStore store(qbr::platform::RegeditStore::defaultPath());
    qbr::ui::TForm1 Form1(
        {executablePath(argv[0]), qbr::systemFileSystem(), store, reporter, localeSeparator()});
    qbr::ui::TerminationSignals termination(Form1);
    Form1.show();
    const int result = QApplication::exec();
    Form1.shutDown();
    return result;
}
