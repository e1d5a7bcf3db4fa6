#include "desktop/fake_desktop_session.h"
#include "desktop/qt_open_file_dialog.h"

#include <QApplication>
#include <QFileDialog>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace qbr::platform {
namespace {

class OpenDialog : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = (test::FakeDesktopSession::get().root() / "choose").string();
        std::filesystem::create_directories(folder);
        std::ofstream(folder + "/README") << "x";
        QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    }
    // Runs `act` on the dialog once it is up.
    static void whenShown(std::function<void(QFileDialog&)> act) {
        QTimer::singleShot(0, [act] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            act(*dialog);
        });
    }
    std::string folder;
};

TEST_F(OpenDialog, StartsInDownPathShowsEveryFileAndGivesTheChosenPath) {
    QString shownDirectory;
    QStringList filters;
    whenShown([&](QFileDialog& dialog) {
        shownDirectory = dialog.directory().absolutePath();
        filters = dialog.nameFilters();
        dialog.selectFile(QStringLiteral("typed name.lzh")); // need not exist
        static_cast<QDialog&>(dialog).accept();              // QFileDialog::accept is protected
    });
    QtOpenFileDialog chooser(nullptr);
    const auto chosen = chooser.chooseFile(folder + "/");
    EXPECT_EQ(shownDirectory.toStdString(), folder);
    EXPECT_EQ(filters, QStringList{QString::fromUtf16(u"\u3059\u3079\u3066 (*)")});
    ASSERT_TRUE(chosen);
    EXPECT_EQ(*chosen, folder + "/typed name.lzh");
}

TEST_F(OpenDialog, CancelGivesNothing) {
    whenShown([](QFileDialog& dialog) { dialog.reject(); });
    QtOpenFileDialog chooser(nullptr);
    EXPECT_FALSE(chooser.chooseFile(folder + "/"));
}

} // namespace
} // namespace qbr::platform
