// The main block and the composition root: the application object and its title, the real
// services (settings store, file system, desktop services), the main window (whose creation
// runs FormCreate and makes Form2), the message loop, and the orderly end that runs
// FormDestroy.

#include "catalog/catalog_lock.h"
#include "catalog/error.h"
#include "catalog/file_system.h"
#include "desktop/desktop_shell.h"
#include "desktop/program_icons.h"
#include "desktop/qt_open_file_dialog.h"
#include "posix/executable_path.h"
#include "posix/file_probe.h"
#include "posix/locale_separator.h"
#include "posix/regedit_store.h"
#include "ui/display_text.h"
#include "ui/error_guard.h"
#include "ui/pictures.h"
#include "ui/qbr1.h"
#include "ui/termination_signals.h"
#include "ui/ui_texts.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(qbr::ui::displayText(qbr::ui::text::kTitle));
    QApplication::setWindowIcon(qbr::ui::Pictures::applicationIcon());

    qbr::ui::MessageBoxReporter reporter;
    const std::string executable = qbr::platform::executablePath(argv[0]);
    // One program at a time on a catalog, for the whole run: a second one would save over the
    // first one's finds. It says so and ends without writing anything.
    std::unique_ptr<qbr::FileLock> lock;
    bool refused = false;
    qbr::ui::runGuarded(reporter, [&] {
        refused = true;
        lock = qbr::lockCatalog(qbr::CatalogPaths::fromExecutable(executable),
                                qbr::systemFileSystem());
        refused = false;
    });
    if (refused)
        return 1;
    qbr::platform::RegeditStore store(qbr::platform::RegeditStore::defaultPath());
    qbr::platform::PosixFileProbe fileProbe;
    qbr::platform::DesktopProgramIcons programIcons;
    qbr::platform::FreedesktopShell shell;
    qbr::platform::QtOpenFileDialog openFileDialog;
    const qbr::ui::TForm1::Services services{fileProbe, programIcons, shell, openFileDialog};
    qbr::ui::TForm1 Form1({executable, qbr::systemFileSystem(), store,
                           reporter, qbr::platform::localeDecimalSeparator(), services});
    openFileDialog.setParent(&Form1);
    qbr::ui::TerminationSignals termination(Form1);
    Form1.show();
    const int result = QApplication::exec();
    Form1.shutDown();
    return result;
}
