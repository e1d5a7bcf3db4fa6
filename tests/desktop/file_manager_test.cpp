#include "desktop/fake_desktop_session.h"
#include "desktop/file_manager.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QDeadlineTimer>
#include <QProcess>
#include <QStandardPaths>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>

namespace qbr::platform {
namespace {

using test::FakeDesktopSession;

// A file manager that records what it is asked to show and answers at once.
class RecordingFileManager : public QDBusVirtualObject {
  public:
    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        calls.push_back(message);
        connection.send(message.createReply());
        return true;
    }
    std::vector<QDBusMessage> calls;
};

// Lets the call's watcher hear the answer and delete itself.
void settle(QDBusPendingCall& pending) {
    pending.waitForFinished();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// A private session bus of our own, so that no real file manager is asked.
class FileManagerBus : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty())
            return;
        daemon = std::make_unique<QProcess>();
        daemon->start(QStringLiteral("dbus-daemon"),
                      {QStringLiteral("--session"), QStringLiteral("--nofork"),
                       QStringLiteral("--print-address=1")});
        if (daemon->waitForReadyRead(10000))
            address = QString::fromLocal8Bit(daemon->readLine()).trimmed();
    }
    static void TearDownTestSuite() {
        if (daemon) {
            daemon->terminate();
            daemon->waitForFinished(5000);
        }
        daemon.reset();
    }
    void SetUp() override {
        if (address.isEmpty())
            GTEST_SKIP() << "no dbus-daemon";
        folder = (FakeDesktopSession::get().root() / "fm").string();
        std::filesystem::create_directories(folder);
    }

    static inline std::unique_ptr<QProcess> daemon;
    static inline QString address;
    std::string folder;
};

TEST_F(FileManagerBus, ShowItemsGetsTheFileUri) {
    QDBusConnection service = QDBusConnection::connectToBus(address, QStringLiteral("fm-service"));
    ASSERT_TRUE(service.registerService(QStringLiteral("org.freedesktop.FileManager1")));
    RecordingFileManager manager;
    ASSERT_TRUE(
        service.registerVirtualObject(QStringLiteral("/org/freedesktop/FileManager1"), &manager));
    QDBusConnection client = QDBusConnection::connectToBus(address, QStringLiteral("fm-client"));

    QDBusPendingCall pending = showItemsOrOpenFolder(client, folder + "/a b\x95\x5C.lzh");
    const QDeadlineTimer deadline(10000);
    while (manager.calls.empty() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    settle(pending);
    EXPECT_FALSE(pending.isError()) << "the file manager answered: no folder opened";

    ASSERT_EQ(manager.calls.size(), 1u);
    const QDBusMessage& call = manager.calls.front();
    EXPECT_EQ(call.interface(), QStringLiteral("org.freedesktop.FileManager1"));
    EXPECT_EQ(call.member(), QStringLiteral("ShowItems"));
    ASSERT_EQ(call.arguments().size(), 2);
    EXPECT_EQ(call.arguments()[0].toStringList(),
              QStringList{QString::fromStdString("file://" + folder + "/a%20b%95%5C.lzh")});
    EXPECT_EQ(call.arguments()[1].toString(), QString());

    service.unregisterObject(QStringLiteral("/org/freedesktop/FileManager1"));
    QDBusConnection::disconnectFromBus(QStringLiteral("fm-client"));
    QDBusConnection::disconnectFromBus(QStringLiteral("fm-service"));
}

TEST_F(FileManagerBus, NoFileManagerOnTheBusOpensTheFolder) {
    QDBusConnection client = QDBusConnection::connectToBus(address, QStringLiteral("fm-alone"));
    ASSERT_TRUE(client.isConnected());
    QDBusPendingCall pending = showItemsOrOpenFolder(client, folder + "/report.txt");
    const auto run = FakeDesktopSession::get().nextRun();
    settle(pending);
    ASSERT_TRUE(run) << "the folder was not opened";
    EXPECT_EQ(run->back(), "arg=" + folder);
    QDBusConnection::disconnectFromBus(QStringLiteral("fm-alone"));
}

} // namespace
} // namespace qbr::platform
