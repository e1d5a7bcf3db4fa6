#pragma once

#include "catalog/date_time.h"
#include "catalog/silent_progress.h"
#include "posix/regedit_store.h"
#include "session/app_session.h"
#include "settings/emnifty_settings.h"
#include "support/sjis.h"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>

namespace qbr::test {

// The POSIX file system, with file creation failing on request (a full or read-only disk).
class FailingFileSystem final : public FileSystem {
  public:
    bool failCreates = false;

    std::vector<DirEntry> listDirectory(const std::string& directory) override {
        return real().listDirectory(directory);
    }
    bool isRegularFile(const std::string& path) override { return real().isRegularFile(path); }
    std::unique_ptr<InputFile> openRead(const std::string& path, int& error) override {
        return real().openRead(path, error);
    }
    std::unique_ptr<OutputFile> create(const std::string& path, int& error) override {
        if (failCreates) {
            error = ENOSPC;
            return nullptr;
        }
        return real().create(path, error);
    }
    std::unique_ptr<OutputFile> createLike(const std::string& path, const std::string& model,
                                           int& error) override {
        if (failCreates) {
            error = ENOSPC;
            return nullptr;
        }
        return real().createLike(path, model, error);
    }
    std::unique_ptr<OutputFile> createExclusive(const std::string& path, int& error) override {
        return real().createExclusive(path, error);
    }
    std::string resolveLink(const std::string& path) override { return real().resolveLink(path); }
    std::unique_ptr<FileLock> tryLock(const std::string& path, int& error) override {
        return real().tryLock(path, error);
    }
    std::unique_ptr<OutputFile> createTemporaryBeside(const std::string& path,
                                                      std::string& temporaryPath,
                                                      int& error) override {
        if (failCreates) {
            error = ENOSPC;
            return nullptr;
        }
        return real().createTemporaryBeside(path, temporaryPath, error);
    }
    int rename(const std::string& from, const std::string& to) override {
        return real().rename(from, to);
    }
    int remove(const std::string& path) override { return real().remove(path); }
    int syncDirectory(const std::string& directory) override {
        return real().syncDirectory(directory);
    }

  private:
    static FileSystem& real() { return systemFileSystem(); }
};

// 1 January 1999, 00:00 UTC, as a file time.
constexpr long long k19990101 = 915148800;

// A folder with the program ("quenbrill", whose catalog files lie beside it), a log folder and
// the settings store, removed at the end.
class SessionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "qbr-session-XXXXXX").string();
        dir_ = ::mkdtemp(pattern.data());
        std::filesystem::create_directories(dir_ + "/logs");
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string exe() const { return dir_ + "/quenbrill"; }
    std::string storePath() const { return dir_ + "/config/Quenbrill/registry.reg"; }
    std::string catalogFile(const char* extension) const { return dir_ + "/quenbrill" + extension; }

    std::string storeText() const { return read(storePath()); }
    void setStoreText(const std::string& text) const {
        std::filesystem::create_directories(dir_ + "/config/Quenbrill");
        std::ofstream(storePath(), std::ios::binary) << text;
    }
    // Points the settings at the log folder, as the set-up command does.
    void setUpFolders() {
        platform::RegeditStore store(storePath());
        writeEmNiftyFolders(store, {std::nullopt, dir_ + "/logs", dir_ + "/down"});
    }

    // A log with one download per title, in forum "FTEST", dated at `seconds` after 1999-01-01.
    double addLog(const std::string& name, const std::vector<std::string>& titles,
                  long long seconds) const {
        std::vector<std::string> lines{"FORUM>GO FTEST"};
        for (const std::string& title : titles) {
            for (const std::string& line : download("0000000001" + title, {"desc"}, title + ".LZH"))
                lines.push_back(line);
        }
        const std::string path = dir_ + "/logs/" + name;
        std::ofstream(path, std::ios::binary) << crlf(lines);
        const long long when = k19990101 + seconds;
        const struct timespec times[2] = {{when, 0}, {when, 0}};
        ::utimensat(AT_FDCWD, path.c_str(), times, 0);
        return fileDateTime(static_cast<std::time_t>(when));
    }

    static std::vector<std::string> titles(const Catalog& catalog) {
        std::vector<std::string> out;
        forEachPreOrder(catalog.top(), [&](const TreeNode& node) {
            if (node.level() == 2)
                out.push_back(node.text());
        });
        return out;
    }

    // One run with the window closed at once: start-up, one scan, shut-down.
    struct Run {
        StartupReads reads;
        std::vector<std::string> titles;
        std::optional<Error> exitError;
        Watermark watermark;
        Catalog::LoadState loadState = Catalog::LoadState::NotLoaded;
    };
    Run run(FileSystem& fs, const std::optional<WindowGeometry>& window = WindowGeometry{},
            char separator = '.') {
        platform::RegeditStore store(storePath());
        AppSession session(store, fs, exe(), separator);
        Run result;
        result.reads = session.FormCreate(progress_);
        result.loadState = session.catalog().loadState();
        try {
            session.scan(progress_, progress_);
        } catch (const Error&) {
        }
        try {
            session.FormDestroy(window, progress_);
        } catch (const Error& error) {
            result.exitError = error;
        }
        result.titles = titles(session.catalog());
        result.watermark = session.watermark();
        return result;
    }
    Run run(const std::optional<WindowGeometry>& window = WindowGeometry{}, char separator = '.') {
        return run(systemFileSystem(), window, separator);
    }

    // A value of the program's own section as the store file holds it.
    std::optional<std::string> stored(const char* name) const {
        platform::RegeditStore store(storePath());
        const auto value =
            store.load().value("HKEY_CURRENT_USER\\Software\\Ostrane\\QBR\\Settings", name);
        return value ? std::optional<std::string>(value->data) : std::nullopt;
    }

    static std::string read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    static ino_t inode(const std::string& path) {
        struct stat st {};
        return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
    }

    std::string dir_;
    SilentProgress progress_;
};

} // namespace qbr::test
