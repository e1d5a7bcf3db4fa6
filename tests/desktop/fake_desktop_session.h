#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace qbr::test {

// A desktop of our own for the real desktop services, set up before GIO or Qt is first used:
// one stub handler (a shell script that writes down its working directory and arguments) is
// the default application for text files and folders, and also sits on PATH as
// "qbr-stub-archiver"; an icon theme "qbrtest" holds the handler's icon (green) and the
// generic program icon (blue); no session bus is reachable. Made by the test program's main.
class FakeDesktopSession {
  public:
    static void create();
    static void destroy();
    static const FakeDesktopSession& get();

    const std::filesystem::path& root() const { return root_; }
    // A folder holding one program with a blank in its name: "stub dir/qbr stub".
    std::filesystem::path spacedProgram() const { return root_ / "stub dir" / "qbr stub"; }

    // What one run of the stub handler wrote, each line without its end: "program=...",
    // "cwd=...", one "arg=..." per argument. Nothing when no run came within ten seconds.
    // Each call expects a run of its own.
    std::optional<std::vector<std::string>> nextRun() const;
    // Makes the next run write to a fresh record.
    void expectRun() const;

  private:
    std::filesystem::path root_;
};

} // namespace qbr::test
