#pragma once

#include "desktop/desktop_shell.h"
#include "desktop/open_file_dialog.h"
#include "desktop/program_icons.h"

#include <QColor>
#include <optional>
#include <string>
#include <vector>

// Recording stand-ins for the desktop services, for tests of the pane and the actions.
namespace qbr::test {

// Gives every file the same picture (a 32x32 square of one colour) and records the paths.
class FakeProgramIcons : public platform::ProgramIcons {
  public:
    explicit FakeProgramIcons(QColor colour = Qt::red) : colour_(colour) {}
    QPixmap programIcon(const std::string& path) override {
        asked_.push_back(path);
        QPixmap picture(32, 32);
        picture.fill(colour_);
        return picture;
    }
    const std::vector<std::string>& asked() const { return asked_; }

  private:
    QColor colour_;
    std::vector<std::string> asked_;
};

// One call to the shell, as it was made.
struct ShellCall {
    enum class Kind { Open, Show, Command };
    Kind kind;
    std::string first;              // Open: directory; Show: path; Command: command line
    std::string second;             // Open: name
    std::vector<std::string> extra; // Command: arguments passed as they stand
    friend bool operator==(const ShellCall&, const ShellCall&) = default;
};

class FakeDesktopShell : public platform::DesktopShell {
  public:
    void openWithAssociation(const std::string& directory, const std::string& name) override {
        calls_.push_back({ShellCall::Kind::Open, directory, name, {}});
    }
    void showInFileManager(const std::string& path) override {
        calls_.push_back({ShellCall::Kind::Show, path, {}, {}});
    }
    void startCommand(std::string_view commandLine,
                      const std::vector<std::string>& arguments) override {
        calls_.push_back({ShellCall::Kind::Command, std::string(commandLine), {}, arguments});
    }
    const std::vector<ShellCall>& calls() const { return calls_; }

  private:
    std::vector<ShellCall> calls_;
};

// Answers with a preset path (or a cancel) and records the initial directories.
class FakeOpenFileDialog : public platform::OpenFileDialog {
  public:
    void answer(std::optional<std::string> path) { answer_ = std::move(path); }
    std::optional<std::string> chooseFile(const std::string& initialDirectory) override {
        initialDirectories_.push_back(initialDirectory);
        return answer_;
    }
    const std::vector<std::string>& initialDirectories() const { return initialDirectories_; }

  private:
    std::optional<std::string> answer_;
    std::vector<std::string> initialDirectories_;
};

} // namespace qbr::test
