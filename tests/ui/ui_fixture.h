#pragma once

#include "support/fake_desktop.h"
#include "support/fake_file_probe.h"
#include "support/memory_file_system.h"
#include "support/memory_registry_store.h"
#include "support/sjis.h"
#include "ui/display_text.h"
#include "ui/error_guard.h"
#include "ui/qbr1.h"
#include "ui/qbr3.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QString>
#include <memory>
#include <string>
#include <vector>

namespace qbr::test {

// Takes the place of the error box.
class RecordingReporter final : public ui::ErrorReporter {
  public:
    void report(std::string_view text) override { reports.emplace_back(text); }
    std::vector<std::string> reports;
};

// The real progress window, recording what its bar showed at each step.
class WatchedForm3 final : public ui::Form3Progress {
  public:
    void begin(std::string_view text) override {
        Form3Progress::begin(text);
        texts.emplace_back(text);
        visibleAtBegin = form() != nullptr && form()->isVisible();
    }
    void setPosition(int percent) override {
        Form3Progress::setPosition(percent);
        shown.push_back(form()->ProgressBar1().value());
    }
    std::vector<std::string> texts;
    std::vector<int> shown;
    bool visibleAtBegin = false;
};

inline QString q(std::string_view cp932) {
    return ui::displayText(cp932);
}

// A main window over a log folder and a catalog in memory, with settings in a memory store.
struct Form1Fixture {
    static constexpr const char* kExecutable = "/prog/quenbrill";
    static constexpr const char* kLogs = "/logs/";

    MemoryFileSystem fs;
    platform::MemoryRegistryStore store;
    RecordingReporter reporter;
    WatchedForm3 progress;
    // The desktop services the detail pane and the file actions use.
    FakeFileProbe probe;
    FakeProgramIcons icons;
    FakeDesktopShell shell;
    FakeOpenFileDialog dialog;
    std::unique_ptr<ui::TForm1> form;

    Form1Fixture() {
        fs.makeDirectory("/logs");
        fs.makeDirectory("/prog");
        store.setText("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\EmSoft\\EmNifty]\r\n"
                      "\"LogPath\"=\"/logs\"\r\n\"DownPath\"=\"/down\"\r\n\r\n");
    }

    void addLog(const std::string& name, const std::vector<std::string>& lines, double date) {
        fs.put(kLogs + name, crlf(lines), date);
    }
    // Builds the window (FormCreate runs) without showing it.
    ui::TForm1& create() {
        form = std::make_unique<ui::TForm1>(ui::TForm1::Environment{
            kExecutable, fs, store, reporter, '.', {probe, icons, shell, dialog}, &progress});
        return *form;
    }
    // Builds and shows it: the first scan runs.
    ui::TForm1& start() {
        create();
        form->show();
        QApplication::processEvents();
        return *form;
    }
    // Closes it as the program ends: hidden, then FormDestroy.
    void stop() {
        form->close();
        form->shutDown();
        form.reset();
    }

    template <typename T> T* find(const char* name) const {
        return form->findChild<T*>(QString::fromLatin1(name));
    }
    // Memo1's text lines (the report lines are too short to wrap).
    QStringList memoLines() const {
        const QString text = find<QPlainTextEdit>("Memo1")->toPlainText();
        return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
    }
};

} // namespace qbr::test
