// The main window at work: the first scan, the import buttons, expand, delete, the orderly end
// with its saves, the error guard, the progress windows and the stored geometry.
#include "catalog/messages.h"
#include "ui/display_text.h"
#include "ui/termination_signals.h"
#include "ui_fixture.h"

#include <QSplitter>
#include <QToolButton>
#include <QTreeView>
#include <csignal>
#include <gtest/gtest.h>

namespace qbr::test {
namespace {

std::string header(const std::string& title) {
    return "0123456789" + title;
}

// One forum "FA" with the items T1 and T2.
std::vector<std::string> twoItemLog() {
    std::vector<std::string> lines{"FORUM>GO FA"};
    for (const char* title : {"T1", "T2"}) {
        const auto one = download(header(title), {"listing"}, std::string(title) + ".LZH");
        lines.insert(lines.end(), one.begin(), one.end());
    }
    return lines;
}

QString found(const std::string& title) {
    return q(header(title) + kFound);
}
QString searched(const std::string& name) {
    return q(Form1Fixture::kLogs + name + kSearching);
}

void click(Form1Fixture& f, const char* button) {
    f.find<QToolButton>(button)->click();
}

QTreeView& tree(Form1Fixture& f) {
    return *f.find<QTreeView>("TreeView1");
}

TEST(Form1Run, FirstShowScansAndReportsInMemo) {
    Form1Fixture f;
    f.addLog("A.LOG", twoItemLog(), 100);
    ui::TForm1& form = f.start();
    EXPECT_EQ(f.memoLines(), (QStringList{searched("A.LOG"), found("T1"), found("T2")}));
    EXPECT_FALSE(form.Form2().isVisible());
    EXPECT_EQ(form.Form2().Label1().text(), QStringLiteral("A.LOG"));
    EXPECT_EQ(form.Form2().Label2().text(), QStringLiteral("FA"));
    const QModelIndex forum = form.model().index(0, 0, form.model().index(0, 0));
    EXPECT_EQ(form.model().data(forum).toString(), QStringLiteral("FA"));
    EXPECT_EQ(form.model().rowCount(forum), 2);
    EXPECT_TRUE(f.reporter.reports.empty());
}

TEST(Form1Run, ImportTakesNewerLogsAndReImportTakesAllAgain) {
    Form1Fixture f;
    f.addLog("A.LOG", twoItemLog(), 100);
    ui::TForm1& form = f.start();
    click(f, "SpeedButton2");
    EXPECT_TRUE(f.memoLines().isEmpty()); // nothing newer: the pane is cleared only

    f.addLog("B.LOG", {"FORUM>GO FB", "LIB>DOW", header("T3"), kPrompt, kYes, "", "", "", "  x"},
             200);
    click(f, "SpeedButton2");
    EXPECT_EQ(f.memoLines(), (QStringList{searched("B.LOG"), found("T3")}));
    EXPECT_EQ(form.session().watermark().PreDateTime, 200);

    click(f, "SpeedButton3");
    EXPECT_EQ(f.memoLines(), (QStringList{searched("A.LOG"), found("T1"), found("T2"),
                                          searched("B.LOG"), found("T3")}));
    // Reported again, filed once.
    const QModelIndex root = form.model().index(0, 0);
    EXPECT_EQ(form.model().rowCount(root), 2);
    EXPECT_EQ(form.model().rowCount(form.model().index(0, 0, root)), 2);
    EXPECT_EQ(form.session().watermark().PreDateTime, 200);
}

TEST(Form1Run, ExpandShowsEveryNodeAndKeepsTheSelection) {
    Form1Fixture f;
    f.addLog("A.LOG", twoItemLog(), 100);
    ui::TForm1& form = f.start();
    const QModelIndex root = form.model().index(0, 0);
    tree(f).setCurrentIndex(root);
    click(f, "SpeedButton4");
    EXPECT_TRUE(tree(f).isExpanded(root));
    EXPECT_TRUE(tree(f).isExpanded(form.model().index(0, 0, root)));
    EXPECT_EQ(tree(f).currentIndex(), root);
}

TEST(Form1Run, DeleteRemovesItemsAndEmptyForumsAndPassesTheSelectionOn) {
    Form1Fixture f;
    f.addLog("A.LOG", twoItemLog(), 100);
    ui::TForm1& form = f.start();
    ui::CatalogModel& model = form.model();
    const QModelIndex root = model.index(0, 0);
    const QPersistentModelIndex forum = model.index(0, 0, root);

    click(f, "SpeedButton9"); // nothing selected: nothing happens
    EXPECT_EQ(model.rowCount(forum), 2);

    // SpeedButton9 is enabled by the detail pane; the handler does not rely on it.
    tree(f).setCurrentIndex(forum);
    form.SpeedButton9Click(); // a forum with items stays
    EXPECT_EQ(model.rowCount(root), 1);

    tree(f).setCurrentIndex(model.index(0, 0, forum));
    form.SpeedButton9Click(); // T1 goes; the selection passes to T2, the next one
    ASSERT_EQ(model.rowCount(forum), 1);
    EXPECT_EQ(tree(f).selectionModel()->selectedIndexes().value(0), model.index(0, 0, forum));
    EXPECT_EQ(model.data(model.index(0, 0, forum)).toString(), QStringLiteral("T2"));

    form.SpeedButton9Click(); // T2 goes; no sibling left, so the forum is selected
    EXPECT_EQ(model.rowCount(forum), 0);
    EXPECT_EQ(tree(f).selectionModel()->selectedIndexes().value(0), QModelIndex(forum));

    form.SpeedButton9Click(); // the emptied forum goes; the root is selected
    EXPECT_EQ(model.rowCount(root), 0);
    EXPECT_EQ(tree(f).selectionModel()->selectedIndexes().value(0), root);
    form.SpeedButton9Click(); // the root stays
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_TRUE(f.reporter.reports.empty());
}

TEST(Form1Run, CloseSavesTheCatalogWithProgressAndTheSettings) {
    Form1Fixture f;
    f.addLog("A.LOG", twoItemLog(), 100);
    f.start();
    click(f, "SpeedButton1");
    EXPECT_FALSE(f.form->isVisible());
    f.form->shutDown();
    f.form.reset();
    EXPECT_TRUE(f.fs.exists("/prog/quenbrill.dat"));
    EXPECT_TRUE(f.fs.exists("/prog/quenbrill.trr"));
    EXPECT_TRUE(f.fs.exists("/prog/quenbrill.nod"));
    // Root, one forum, two items: the bar shows 50 and then 75.
    EXPECT_EQ(f.progress.shown, (std::vector<int>{50, 75}));
    EXPECT_TRUE(f.progress.visibleAtBegin);
    EXPECT_EQ(f.progress.form(), nullptr);
    EXPECT_NE(f.store.text().find("\"PreDateTimeF\"=\"100\""), std::string::npos);

    // The next start loads it, with the same progress.
    f.progress.shown.clear();
    ui::TForm1& again = f.create();
    EXPECT_EQ(f.progress.shown, (std::vector<int>{50, 75}));
    ASSERT_EQ(f.progress.texts.size(), 2u);
    EXPECT_EQ(q(f.progress.texts[0]), QStringLiteral(u"データを保存中..."));
    EXPECT_EQ(q(f.progress.texts[1]), QStringLiteral(u"データを読込中..."));
    const QModelIndex forum = again.model().index(0, 0, again.model().index(0, 0));
    EXPECT_EQ(again.model().rowCount(forum), 2);
    EXPECT_TRUE(f.reporter.reports.empty());
}

TEST(Form1Run, AnUnmodifiedRunWritesSettingsButNoCatalog) {
    Form1Fixture f;
    f.start();
    f.stop();
    EXPECT_FALSE(f.fs.exists("/prog/quenbrill.dat"));
    EXPECT_NE(f.store.text().find("\"Maximized\"=\"1\""), std::string::npos);
}

TEST(Form1Run, AFailingScanIsReportedAndTheProgramGoesOn) {
    Form1Fixture f;
    f.addLog("A.LOG", twoItemLog(), 100);
    f.addLog("B.LOG", {"FORUM>GO FB"}, 200);
    f.fs.find("/logs/B.LOG")->openError = 13; // EACCES
    ui::TForm1& form = f.start();
    ASSERT_EQ(f.reporter.reports.size(), 1u);
    EXPECT_EQ(f.reporter.reports[0], std::string(msg::kAccessDenied) + "\n/logs/B.LOG.");
    EXPECT_FALSE(form.Form2().isVisible());
    // What was found before the error is in the tree.
    const QModelIndex root = form.model().index(0, 0);
    EXPECT_EQ(form.model().rowCount(form.model().index(0, 0, root)), 2);

    f.fs.find("/logs/B.LOG")->openError = 0;
    click(f, "SpeedButton2");
    EXPECT_EQ(f.reporter.reports.size(), 1u);
    EXPECT_EQ(f.memoLines().value(0), searched("A.LOG"));
}

TEST(Form1Run, AFailedLoadIsReportedAndNeverWrittenOver) {
    Form1Fixture f;
    const std::string dat = crlf({"a1"});
    const std::string trr = crlf({"Niftyserve-Library", "\t\tJUMP"});
    f.fs.put("/prog/quenbrill.dat", dat);
    f.fs.put("/prog/quenbrill.trr", trr);
    f.fs.put("/prog/quenbrill.nod", std::string(8, '\0'));
    f.addLog("A.LOG", twoItemLog(), 100);
    f.start();
    ASSERT_EQ(f.reporter.reports.size(), 1u);
    // The load's message, then the command that salvages the catalog.
    EXPECT_EQ(f.reporter.reports[0],
              "\xB1\xB2\xC3\xD1 \"JUMP\" \x82\xCC\x8A\x4B\x91\x77\x82\xAA\x95\x73\x90\xB3\x82\xC5"
              "\x82\xB7\n" +
                  std::string(msg::kSalvageHint) + ".");
    EXPECT_EQ(f.progress.form(), nullptr); // the progress window is gone
    EXPECT_TRUE(f.form->isVisible());
    // The scan's finds do not replace the catalog that could not be read.
    f.stop();
    EXPECT_EQ(f.reporter.reports.size(), 2u);
    EXPECT_EQ(f.fs.bytes("/prog/quenbrill.dat"), dat);
    EXPECT_EQ(f.fs.bytes("/prog/quenbrill.trr"), trr);
    EXPECT_EQ(f.store.text().find("PreDateTimeF"), std::string::npos);
}

TEST(Form1Run, StartUpErrorIsReportedAndTheWindowStillRuns) {
    Form1Fixture f;
    f.store.setText(f.store.text() + "[HKEY_CURRENT_USER\\Software\\Ostrane\\QBR\\Settings]\r\n"
                                     "\"PreDateTimeF\"=\"noon\"\r\n\r\n");
    f.addLog("A.LOG", twoItemLog(), 100);
    f.start();
    ASSERT_EQ(f.reporter.reports.size(), 1u);
    EXPECT_NE(f.reporter.reports[0].find("noon"), std::string::npos);
    // The first scan still runs, from watermark 0.
    EXPECT_EQ(f.memoLines().value(0), searched("A.LOG"));
}

TEST(Form1Run, FirstAndSecondStartGeometryThroughTheStore) {
    Form1Fixture f;
    ui::TForm1& first = f.start();
    EXPECT_TRUE(first.isMaximized());
    EXPECT_EQ(first.treeWidth(), 150);
    f.stop();
    EXPECT_NE(f.store.text().find("\"Maximized\"=\"1\""), std::string::npos);
    EXPECT_EQ(f.store.text().find("\"Top\""), std::string::npos);

    ui::TForm1& second = f.start();
    second.setWindowState(Qt::WindowNoState);
    second.move(30, 20);
    second.resize(500, 300);
    second.setTreeWidth(120);
    QApplication::processEvents();
    f.stop();
    for (const char* value : {"\"Maximized\"=\"0\"", "\"Top\"=\"20\"", "\"Left\"=\"30\"",
                              "\"Height\"=\"300\"", "\"Width\"=\"500\"", "\"Splitter\"=\"120\""})
        EXPECT_NE(f.store.text().find(value), std::string::npos) << value;

    ui::TForm1& third = f.start();
    EXPECT_FALSE(third.isMaximized());
    EXPECT_EQ(third.pos(), QPoint(30, 20));
    EXPECT_EQ(third.size(), QSize(500, 300));
    EXPECT_EQ(third.treeWidth(), 120);
}

TEST(Form1Run, TerminationSignalClosesTheWindowTheOrderlyWay) {
    Form1Fixture f;
    f.addLog("A.LOG", twoItemLog(), 100);
    ui::TForm1& form = f.start();
    {
        ui::TerminationSignals signals_(form);
        ASSERT_EQ(::raise(SIGTERM), 0);
        for (int i = 0; i < 100 && form.isVisible(); ++i)
            QApplication::processEvents(QEventLoop::AllEvents, 10);
        EXPECT_FALSE(form.isVisible());
    }
    form.shutDown();
    EXPECT_TRUE(f.fs.exists("/prog/quenbrill.dat"));
}

TEST(ErrorText, FullStopFollowsTheLastCharacter) {
    const struct {
        std::string in, out;
    } cases[] = {
        {"abc", "abc."},
        {"I/O \xB4\xD7\xB0 (32)", "I/O \xB4\xD7\xB0 (32)"}, // ends in ")"
        {"done.", "done."},
        {"1", "1."},
        {"\x8C\xA9", "\x8C\xA9."}, // a double-byte character
        {"\x83\x2E", "\x83\x2E."}, // its trail byte is no full stop
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ui::withFullStop(c.in), c.out) << c.in;
}

} // namespace
} // namespace qbr::test
