#include "desktop/fake_desktop_session.h"

#include <QColor>
#include <QCoreApplication>
#include <QImage>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sys/stat.h>

namespace qbr::test {

namespace {

std::unique_ptr<FakeDesktopSession> session;

void writeFile(const std::filesystem::path& path, const std::string& text) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

void writeIcon(const std::filesystem::path& path, QColor colour) {
    std::filesystem::create_directories(path.parent_path());
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(colour);
    image.save(QString::fromStdString(path.string()), "PNG");
}

const char* kStub = R"sh(#!/bin/sh
log="$QBR_STUB_LOG"
{
    printf 'program=%s\n' "$0"
    printf 'cwd=%s\n' "$(pwd -P)"
    for a in "$@"; do printf 'arg=%s\n' "$a"; done
} > "$log.part" && mv "$log.part" "$log"
)sh";

int runs = 0;

std::filesystem::path logPath(const std::filesystem::path& root) {
    return root / ("run-" + std::to_string(runs) + ".log");
}

} // namespace

void FakeDesktopSession::create() {
    session = std::make_unique<FakeDesktopSession>();
    std::string pattern = (std::filesystem::temp_directory_path() / "qbr-desktop-XXXXXX").string();
    session->root_ = std::filesystem::canonical(::mkdtemp(pattern.data()));
    const std::filesystem::path& root = session->root_;

    const std::filesystem::path stub = root / "bin" / "qbr-stub-archiver";
    writeFile(stub, kStub);
    ::chmod(stub.c_str(), 0755);
    writeFile(session->spacedProgram(), kStub);
    ::chmod(session->spacedProgram().c_str(), 0755);

    writeFile(root / "data" / "applications" / "qbr-stub.desktop",
              "[Desktop Entry]\nType=Application\nName=Stub\nIcon=qbr-stub-program\n"
              "Exec=" +
                  stub.string() + " %f\nMimeType=text/plain;inode/directory;\n");
    writeFile(root / "config" / "mimeapps.list",
              "[Default Applications]\ntext/plain=qbr-stub.desktop\n"
              "inode/directory=qbr-stub.desktop\n");
    // A MIME database of one type, and none of the system's applications.
    writeFile(root / "share" / "mime" / "globs2", "50:text/plain:*.txt\n");

    const std::string theme = "[Icon Theme]\nName=T\nDirectories=apps/32\n\n"
                              "[apps/32]\nSize=32\nType=Fixed\n";
    writeFile(root / "icons" / "qbrtest" / "index.theme", theme);
    writeIcon(root / "icons" / "qbrtest" / "apps" / "32" / "qbr-stub-program.png", Qt::green);
    writeIcon(root / "icons" / "qbrtest" / "apps" / "32" / "application-x-executable.png",
              Qt::blue);
    writeFile(root / "icons" / "qbrbare" / "index.theme", theme);

    ::setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
    ::setenv("XDG_DATA_DIRS", (root / "share").c_str(), 1);
    ::setenv("XDG_CURRENT_DESKTOP", "qbrtest", 1);
    ::setenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + (root / "no-bus").string()).c_str(), 1);
    const char* path = std::getenv("PATH");
    ::setenv("PATH", ((root / "bin").string() + ":" + (path ? path : "/usr/bin:/bin")).c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::unsetenv("QT_QPA_PLATFORMTHEME");
    session->expectRun();
}

void FakeDesktopSession::destroy() {
    std::error_code ignored;
    std::filesystem::remove_all(session->root_, ignored);
    session.reset();
}

const FakeDesktopSession& FakeDesktopSession::get() {
    return *session;
}

void FakeDesktopSession::expectRun() const {
    ++runs;
    ::setenv("QBR_STUB_LOG", logPath(root_).c_str(), 1);
}

std::optional<std::vector<std::string>> FakeDesktopSession::nextRun() const {
    const std::filesystem::path log = logPath(root_);
    // The programs are started detached, so their record comes when it comes; some are
    // started from an answer that the event loop delivers.
    for (int i = 0; i < 200 && !std::filesystem::exists(log); ++i) {
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (!std::filesystem::exists(log))
        return std::nullopt;
    std::vector<std::string> lines;
    std::ifstream in(log, std::ios::binary);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    expectRun();
    return lines;
}

} // namespace qbr::test
