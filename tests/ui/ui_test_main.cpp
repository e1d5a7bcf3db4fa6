// The widget tests' main: one QApplication on the offscreen platform for the whole program,
// so that no display is needed and no desktop theme changes what the tests see.
#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qunsetenv("QT_QPA_PLATFORMTHEME");
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quenbrill"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
