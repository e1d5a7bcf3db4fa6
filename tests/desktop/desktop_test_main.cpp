#include "desktop/fake_desktop_session.h"

#include <QApplication>
#include <gtest/gtest.h>

// The desktop services need a Qt application (with widgets, for the file dialog), and GIO must see
// the fake desktop from its very first use, so both are set up here before any test runs.
int main(int argc, char** argv) {
    qbr::test::FakeDesktopSession::create();
    int status = 0;
    {
        QApplication app(argc, argv);
        ::testing::InitGoogleTest(&argc, argv);
        status = RUN_ALL_TESTS();
    }
    qbr::test::FakeDesktopSession::destroy();
    return status;
}
