// The detail pane in the main window: what selecting each kind of node shows, the file actions
// and the re-link, with the desktop services replaced by recording fakes.
#include "catalog/messages.h"
#include "desktop/date_time_text.h"
#include "support/catalog_fixture.h"
#include "ui/memo_lines.h"
#include "ui_fixture.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTest>
#include <QTextCursor>
#include <QToolButton>
#include <QTreeView>
#include <gtest/gtest.h>

namespace qbr::test {
namespace {

const std::string kDown = "/down/";
const std::string kRelinked = kFileName + "$";
// "ファイルはありません。"
const QString kNoFile = QString::fromUtf16(u"ファイルはありません。");
// A registry whose LZH association names an archive tool.
const std::string kLzhAssociation = "[HKEY_CLASSES_ROOT\\.LZH]\r\n@=\"LzhFile\"\r\n\r\n"
                                    "[HKEY_CLASSES_ROOT\\LzhFile\\shell\\open\\command]\r\n"
                                    "@=\"\\\"C:\\\\tools\\\\lhmelt.exe\\\" %1\"\r\n\r\n";
const std::string kArchiver = "\"C:\\tools\\lhmelt.exe\"";

std::vector<std::string> withFile(std::vector<std::string> listing, const std::string& marker,
                                  const std::string& name) {
    listing.push_back(marker);
    listing.push_back(name);
    return listing;
}

// The main window, shown, over a catalog of our making.
struct Pane : Form1Fixture {
    explicit Pane(bool archiver = true) {
        if (archiver)
            store.setText(store.text() + kLzhAssociation);
        start();
    }

    TreeNode* forum(const std::string& name) {
        TreeNode* found = form->catalog().FindForum(name);
        return found != nullptr ? found : form->catalog().AddForum(name);
    }
    // Adds an item; the view learns of it at once.
    TreeNode* item(const std::string& forumName, const std::string& title,
                   const std::vector<std::string>& lines) {
        form->model().beginReplace();
        TreeNode* added = form->catalog().AddItem(*forum(forumName), title, lines);
        form->model().endReplace();
        return added;
    }
    void select(const TreeNode* node) {
        tree().setCurrentIndex(form->model().indexOf(node));
        QApplication::processEvents();
    }

    QTreeView& tree() { return *find<QTreeView>("TreeView1"); }
    QPlainTextEdit& memo() { return *find<QPlainTextEdit>("Memo1"); }
    QString label(const char* name) { return find<QLabel>(name)->text(); }
    QString status() { return find<QLabel>("StatusPanel1")->text(); }
    bool iconShown() {
        const QPixmap picture = find<QLabel>("Image1")->pixmap();
        return !picture.isNull();
    }
    QToolButton& button(int number) {
        return *find<QToolButton>(
            QStringLiteral("SpeedButton%1").arg(number).toLatin1().constData());
    }
    // The numbers of the enabled buttons among 5 to 9, as "5 6 7".
    std::string enabled() {
        std::string numbers;
        for (int number = 5; number <= 9; ++number)
            if (button(number).isEnabled())
                numbers += (numbers.empty() ? "" : " ") + std::to_string(number);
        return numbers;
    }
    std::vector<std::string> shown() { return ui::displayedLines(memo()); }
    std::vector<std::string> stored(const TreeNode* node) {
        std::vector<std::string> lines;
        for (std::string_view line : form->catalog().ItemText(*node))
            lines.emplace_back(line);
        return lines;
    }
};

QString lines(int count) {
    return QString::number(count) + QString::fromUtf16(u" 行");
}

// ---- What selecting shows ----

TEST(DetailPane, ShowsWhatTheNodeKindCalls) {
    for (const bool archiver : {true, false}) {
        Pane p(archiver);
        EXPECT_EQ(p.form->session().DownPath(), kDown);
        const std::vector<std::string> listing{"  1 BIN   title", "a listing line"};
        p.probe.addFile(kDown + "A.LZH", 44000.5);
        p.probe.addFile(kDown + "b.lzh", 44001.0);
        p.probe.addFile(kDown + "D.EXE", 44002.0);
        p.probe.addFile(kDown + "E.TXT", 44003.0);
        p.probe.addFile(kDown + "F.ZIP", 44004.0);
        TreeNode* plain = p.item("FA", "plain", {"one", "two", "three", "four"});
        TreeNode* present = p.item("FA", "present", withFile(listing, kFileName, "A.LZH"));
        TreeNode* relinked = p.item("FA", "relinked", withFile(listing, kRelinked, "b.lzh"));
        TreeNode* missing = p.item("FA", "missing", withFile(listing, kFileName, "C.ZIP"));
        TreeNode* exe = p.item("FA", "exe", withFile(listing, kFileName, "D.EXE"));
        TreeNode* text = p.item("FA", "text", withFile(listing, kFileName, "E.TXT"));
        TreeNode* zip = p.item("FA", "zip", withFile(listing, kFileName, "F.ZIP"));
        TreeNode* empty = p.forum("FE");
        p.form->model().beginReplace();
        p.form->model().endReplace();
        const std::string withArchive = archiver ? " 7" : "";
        const std::string catalogBefore = describe(p.form->catalog());
        const QString present0 = platform::downloadDateLabel(44000.5);

        const struct {
            const char* what;
            const TreeNode* node;
            QString label1, label2, status;
            bool icon;
            std::string enabled;
        } cases[] = {
            {"root", p.form->catalog().root(), "", "", "", false, ""},
            {"forum with items", p.forum("FA"), "", "", "", false, ""},
            {"forum without items", empty, "", "", "", false, "9"},
            {"item without marker", plain, "", "", lines(4), false, ""},
            {"marker, file present", present, "A.LZH", present0, lines(4), true,
             "5 6" + withArchive},
            {"re-linked, file present", relinked, "b.lzh", platform::downloadDateLabel(44001.0),
             lines(4), true, "5 6" + withArchive + " 8 9"},
            {"marker, file missing", missing, "C.ZIP", kNoFile, lines(4), false, "8 9"},
            {".EXE", exe, "D.EXE", platform::downloadDateLabel(44002.0), lines(4), true,
             "5 6" + withArchive},
            {"no archive extension", text, "E.TXT", platform::downloadDateLabel(44003.0), lines(4),
             true, "5 6"},
            {".ZIP", zip, "F.ZIP", platform::downloadDateLabel(44004.0), lines(4), true,
             "5 6" + withArchive},
        };
        for (const auto& c : cases) {
            // Each case follows a node whose pane shows everything, so what is reset shows.
            p.select(present);
            p.select(c.node);
            SCOPED_TRACE(std::string(c.what) + (archiver ? ", archive tool" : ", no tool"));
            EXPECT_EQ(p.label("Label1"), c.label1);
            EXPECT_EQ(p.form->fileName(), c.label1.toStdString());
            EXPECT_EQ(p.label("Label2"), c.label2);
            EXPECT_EQ(p.status(), c.status);
            EXPECT_EQ(p.iconShown(), c.icon);
            EXPECT_EQ(p.enabled(), c.enabled);
            EXPECT_EQ(p.shown().empty(), c.node->level() != 2);
            // The selected node is drawn with picture 1, every node with picture 0 otherwise.
            EXPECT_EQ(c.node->imageIndex(), 0);
            EXPECT_EQ(c.node->selectedIndex(), 1);
        }
        // The icon is that of the file as it lies on the disk.
        EXPECT_EQ(p.icons.asked().back(), kDown + "F.ZIP");
        EXPECT_TRUE(p.reporter.reports.empty());
        // The refresh never writes the catalog.
        EXPECT_EQ(describe(p.form->catalog()), catalogBefore);
    }
}

TEST(DetailPane, ShownLinesFollowTheCapTheStarRuleAndTheMarkerTest) {
    Pane p;
    p.probe.addFile(kDown + "N.LZH");
    std::vector<std::string> long302(300, "listing");
    std::vector<std::string> long303(301, "listing");
    const struct {
        const char* what;
        std::vector<std::string> stored;
        std::vector<std::string> shown;
        QString label1;
        std::string enabled;
    } cases[] = {
        {"Count 0", {}, {}, "", ""},
        {"star rule",
         {"ab*", "a*", "*", "ab**", kFileName, "N.LZH"},
         {"ab ", "a*", "*", "ab* ", kFileName, "N.LZH"},
         "N.LZH",
         "5 6 7"},
        {"exactly three lines", {"x", kFileName, "N.LZH"}, {"x", kFileName, "N.LZH"}, "", ""},
        {"marker with a trailing blank",
         {"x", "y", kFileName + " ", "N.LZH"},
         {"x", "y", kFileName + " ", "N.LZH"},
         "",
         ""},
        {"empty name line", {"x", "y", kFileName, ""}, {"x", "y", kFileName, ""}, "", "8 9"},
        {"302 lines", withFile(long302, kFileName, "N.LZH"), withFile(long302, kFileName, "N.LZH"),
         "N.LZH", "5 6 7"},
        {"303 lines", withFile(long303, kFileName, "N.LZH"),
         [&] {
             std::vector<std::string> cut = long303;
             cut.push_back(kFileName);
             return cut;
         }(),
         "", ""},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TreeNode* node = p.item("F", "T" + std::to_string(n++), c.stored);
        p.select(node);
        EXPECT_EQ(p.shown(), c.shown);
        EXPECT_EQ(p.status(), lines(static_cast<int>(c.shown.size())));
        EXPECT_EQ(p.label("Label1"), c.label1);
        EXPECT_EQ(p.enabled(), c.enabled);
        // The refresh never writes the catalog.
        EXPECT_EQ(p.stored(node), c.stored);
    }
    EXPECT_EQ(p.label("Label2"), QString()); // 303 lines: no file section
}

TEST(DetailPane, WrappedLinesAreCountedAndReadAsDisplayed) {
    Pane p;
    p.probe.addFile(kDown + "N.LZH");
    const std::string wide(400, 'w');
    TreeNode* wrapped = p.item("F", "wide listing", {wide, "y", kFileName, "N.LZH"});
    p.select(wrapped);
    const std::vector<std::string> shown = p.shown();
    ASSERT_GT(shown.size(), 4u);
    EXPECT_EQ(p.status(), lines(static_cast<int>(shown.size())));
    std::string joined;
    for (std::size_t i = 0; i + 3 < shown.size(); ++i)
        joined += shown[i];
    EXPECT_EQ(joined, wide);
    EXPECT_EQ(p.label("Label1"), QStringLiteral("N.LZH"));

    // A name line that wraps: the second-to-last displayed line is the name's start.
    TreeNode* longName = p.item("F", "wide name", {"x", "y", kFileName, wide + ".LZH"});
    p.probe.addFile(kDown + wide + ".LZH");
    p.select(longName);
    EXPECT_GT(p.shown().size(), 4u);
    EXPECT_EQ(p.label("Label1"), QString());
    EXPECT_EQ(p.enabled(), "");
}

TEST(DetailPane, ADamagedSpanIsReportedAndLeavesThePaneAndCursorSound) {
    Pane p;
    p.probe.addFile(kDown + "A.LZH");
    TreeNode* sound = p.item("F", "sound", {"x", "y", kFileName, "A.LZH"});
    TreeNode* damaged = p.item("F", "damaged", {"a", "b"});
    const auto lineCount = static_cast<std::int32_t>(p.form->catalog().lines().size());
    damaged->setSpan({lineCount - 1, 3});
    p.select(sound);
    p.select(damaged);
    ASSERT_EQ(p.reporter.reports.size(), 1u);
    EXPECT_EQ(p.reporter.reports[0], ui::withFullStop(msg::listIndexMessage(lineCount)));
    EXPECT_TRUE(p.memo().toPlainText().isEmpty());
    EXPECT_EQ(p.label("Label1"), QString());
    EXPECT_EQ(p.form->fileName(), "");
    EXPECT_EQ(p.label("Label2"), QString());
    EXPECT_EQ(p.status(), QString());
    EXPECT_FALSE(p.iconShown());
    EXPECT_EQ(p.enabled(), "");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    // Nothing is left to act on.
    p.form->SpeedButton5Click();
    p.form->Image1Click();
    EXPECT_TRUE(p.shell.calls().empty());
}

// Records whether the hourglass showed while the file was looked for.
class CursorWatchingProbe final : public FakeFileProbe {
  public:
    bool isRegularFile(const std::string& path) override {
        const QCursor* cursor = QApplication::overrideCursor();
        hourglass.push_back(cursor != nullptr && cursor->shape() == Qt::WaitCursor);
        return FakeFileProbe::isRegularFile(path);
    }
    std::vector<bool> hourglass;
};

TEST(DetailPane, TheHourglassShowsDuringTheRefreshOnly) {
    Form1Fixture f;
    CursorWatchingProbe probe;
    f.store.setText(f.store.text() + kLzhAssociation);
    const ui::TForm1::Services services{probe, f.icons, f.shell, f.dialog};
    f.form = std::make_unique<ui::TForm1>(ui::TForm1::Environment{
        f.kExecutable, f.fs, f.store, f.reporter, '.', services, &f.progress});
    f.form->show();
    f.form->model().beginReplace();
    TreeNode* item = f.form->catalog().AddItem(*f.form->catalog().AddForum("F"), "T",
                                               {"x", "y", kFileName, "A.LZH"});
    f.form->model().endReplace();
    f.find<QTreeView>("TreeView1")->setCurrentIndex(f.form->model().indexOf(item));
    EXPECT_EQ(probe.hourglass, std::vector<bool>{true});
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    // The re-link leaves the cursor alone.
    f.dialog.answer("/down/B.LZH");
    f.find<QToolButton>("SpeedButton8")->click();
    EXPECT_EQ(probe.hourglass, (std::vector<bool>{true, false}));
}

// ---- File actions ----

TEST(FileActions, StartTheShellWithTheFileAsItLies) {
    Pane p;
    p.probe.addFile(kDown + "A B.LZH");
    // "テスト.lzh" in the catalog, under its UTF-8 name on the disk.
    const std::string sjisName = "\x83\x65\x83\x58\x83\x67.lzh";
    const std::string diskName = "\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88.lzh";
    p.probe.addFile(kDown + diskName);
    TreeNode* blanks = p.item("F", "blanks", {"x", "y", kFileName, "A B.LZH"});
    TreeNode* converted = p.item("F", "converted", {"x", "y", kFileName, sjisName});
    TreeNode* missing = p.item("F", "missing", {"x", "y", kFileName, "M.ZIP"});
    TreeNode* text = p.item("F", "text", {"x", "y", kFileName, "T.TXT"});
    using K = ShellCall::Kind;
    const struct {
        const char* what;
        const TreeNode* node;
        std::vector<ShellCall> calls; // after 5, 6, 7 and a click on Image1
    } cases[] = {
        {"blanks in the name",
         blanks,
         {{K::Open, kDown, "A B.LZH", {}},
          {K::Show, kDown + "A B.LZH", {}, {}},
          {K::Command, kArchiver, {}, {kDown + "A B.LZH"}},
          {K::Command, kArchiver, {}, {kDown + "A B.LZH"}}}},
        {"a Shift-JIS name found under its UTF-8 form",
         converted,
         {{K::Open, kDown, diskName, {}},
          {K::Show, kDown + diskName, {}, {}},
          {K::Command, kArchiver, {}, {kDown + diskName}},
          {K::Command, kArchiver, {}, {kDown + diskName}}}},
        // 5, 6 and 7 are disabled; the picture still lists the absent archive.
        {"file missing", missing, {{K::Command, kArchiver, {}, {kDown + "M.ZIP"}}}},
        {"no archive extension",
         text,
         {{K::Open, kDown, "T.TXT", {}}, {K::Show, kDown + "T.TXT", {}, {}}}},
        {"root: no file name", p.form->catalog().root(), {}},
    };
    p.probe.addFile(kDown + "T.TXT");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        p.select(c.node);
        const std::size_t before = p.shell.calls().size();
        for (int number : {5, 6, 7})
            p.button(number).click();
        QTest::mouseClick(p.find<QLabel>("Image1"), Qt::LeftButton);
        const std::vector<ShellCall> made(p.shell.calls().begin() + static_cast<long>(before),
                                          p.shell.calls().end());
        EXPECT_EQ(made, c.calls);
    }
    // A one-byte name does nothing (the handlers test it themselves).
    p.dialog.answer("/x/A");
    p.form->SpeedButton8Click();
    const std::size_t before = p.shell.calls().size();
    p.form->SpeedButton5Click();
    p.form->SpeedButton6Click();
    EXPECT_EQ(p.shell.calls().size(), before);
}

// ---- Re-link ----

TEST(Relink, StoresTheBoxWithItsEditsAndShowsTheNewFile) {
    Pane p;
    p.probe.addFile(kDown + "NEW.LZH", 44100.25);
    TreeNode* node = p.item("F", "T", {"first", "second", kFileName, "OLD.LZH"});
    p.select(node);
    EXPECT_EQ(p.enabled(), "8 9");
    // The user edits the first line.
    QTextCursor cursor(p.memo().document());
    cursor.movePosition(QTextCursor::EndOfBlock);
    cursor.insertText(QStringLiteral(" edited*"));
    p.dialog.answer("/elsewhere/NEW.LZH");
    p.button(8).click();

    EXPECT_EQ(p.dialog.initialDirectories(), std::vector<std::string>{kDown});
    const std::vector<std::string> expected{"first edited*", "second", kRelinked, "NEW.LZH"};
    EXPECT_EQ(p.stored(node), expected);
    EXPECT_EQ(p.shown(), expected);
    EXPECT_TRUE(p.form->catalog().Modified());
    EXPECT_EQ(p.label("Label1"), QStringLiteral("NEW.LZH"));
    EXPECT_EQ(p.label("Label2"), platform::downloadDateLabel(44100.25));
    EXPECT_TRUE(p.iconShown());
    EXPECT_EQ(p.enabled(), "5 6 7 8 9");
    EXPECT_EQ(p.status(), lines(4)); // the status panel is the refresh's

    // Selected again: the stored text, with its "*" shown as a blank.
    p.select(p.form->catalog().root());
    p.select(node);
    EXPECT_EQ(p.shown(),
              (std::vector<std::string>{"first edited ", "second", kRelinked, "NEW.LZH"}));
    EXPECT_EQ(p.enabled(), "5 6 7 8 9");
    EXPECT_TRUE(p.reporter.reports.empty());
}

TEST(Relink, SetsLabel1FirstAndTouchesNothingWithoutMarkerLines) {
    Pane p;
    TreeNode* node = p.item("F", "T", {"a", "b", "c", "d"});
    p.select(node);
    const std::string before = describe(p.form->catalog());
    p.dialog.answer(std::nullopt); // cancelled
    p.button(8).setEnabled(true);
    p.button(8).click();
    EXPECT_EQ(p.label("Label1"), QString());

    p.dialog.answer("/x/CHOSEN.LZH");
    p.button(8).click();
    EXPECT_EQ(p.label("Label1"), QStringLiteral("CHOSEN.LZH"));
    EXPECT_EQ(p.shown(), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(describe(p.form->catalog()), before);
    EXPECT_EQ(p.label("Label2"), QString());
}

TEST(Relink, AfterAScanOnlyLabel1Changes) {
    Pane p;
    p.probe.addFile(kDown + "A.LZH");
    TreeNode* node = p.item("F", "T", {"x", "y", kRelinked, "A.LZH"});
    p.select(node);
    // A scan writes its report into the box; the rest of the pane keeps the last refresh.
    p.addLog("B.LOG", {"FORUM>GO FB"}, 300);
    p.button(2).click();
    EXPECT_EQ(p.shown().size(), 1u);
    EXPECT_EQ(p.form->fileName(), "A.LZH");
    EXPECT_EQ(p.enabled(), "5 6 7 8 9");
    p.button(5).click();
    EXPECT_EQ(p.shell.calls(),
              (std::vector<ShellCall>{{ShellCall::Kind::Open, kDown, "A.LZH", {}}}));

    const std::string before = describe(p.form->catalog());
    p.dialog.answer("/x/B.LZH");
    p.button(8).click();
    EXPECT_EQ(p.form->fileName(), "B.LZH");
    EXPECT_EQ(describe(p.form->catalog()), before);
    EXPECT_EQ(p.shown().size(), 1u);
}

TEST(Relink, ToAMissingNameKeepsTheFileActionsAndPicture) {
    Pane p;
    p.probe.addFile(kDown + "A.LZH");
    TreeNode* node = p.item("F", "T", {"x", "y", kRelinked, "A.LZH"});
    p.select(node);
    EXPECT_EQ(p.enabled(), "5 6 7 8 9");
    // "ソ.TXT" chosen on the disk in UTF-8; its second byte 5C is no separator.
    p.dialog.answer("/x/\xE3\x82\xBD.TXT");
    p.button(8).click();
    EXPECT_EQ(p.form->fileName(), "\x83\x5C.TXT");
    EXPECT_EQ(p.stored(node).back(), "\x83\x5C.TXT");
    EXPECT_EQ(p.label("Label2"), kNoFile);
    EXPECT_TRUE(p.iconShown());
    EXPECT_EQ(p.enabled(), "5 6 8 9"); // no archive extension now
}

TEST(Relink, TwiceThenCompactionKeepsTheLastText) {
    Pane p;
    TreeNode* node = p.item("F", "T", {"x", "y", kFileName, "A.LZH"});
    p.select(node);
    const std::size_t start = p.form->catalog().lines().size();
    p.dialog.answer("/x/B.LZH");
    p.button(8).click();
    p.dialog.answer("/x/C.LZH");
    p.button(8).click();
    EXPECT_EQ(p.form->catalog().lines().size(), start + 8);
    EXPECT_EQ(node->span(), (TItemSpan{static_cast<std::int32_t>(start + 4), 4}));
    p.form->catalog().Collect();
    EXPECT_EQ(p.form->catalog().lines().size(), 4u);
    EXPECT_EQ(node->span(), (TItemSpan{0, 4}));
    EXPECT_EQ(p.stored(node), (std::vector<std::string>{"x", "y", kRelinked, "C.LZH"}));
}

TEST(Relink, SurvivesARestart) {
    Form1Fixture f;
    f.addLog("A.LOG",
             {"FORUM>GO FA", "LIB>DOW 1", "0123456789T1", "listing", kPrompt, kYes, "p", "r", "d",
              "  OLD.LZH"},
             100);
    ui::TForm1& form = f.start();
    const QModelIndex item =
        form.model().index(0, 0, form.model().index(0, 0, form.model().index(0, 0)));
    ASSERT_TRUE(item.isValid());
    f.find<QTreeView>("TreeView1")->setCurrentIndex(item);
    ASSERT_EQ(form.fileName(), "OLD.LZH");
    f.probe.addFile(kDown + "NEW.LZH");
    f.dialog.answer("/x/NEW.LZH");
    f.find<QToolButton>("SpeedButton8")->click();
    f.stop();

    ui::TForm1& again = f.start();
    const QModelIndex reloaded =
        again.model().index(0, 0, again.model().index(0, 0, again.model().index(0, 0)));
    f.find<QTreeView>("TreeView1")->setCurrentIndex(reloaded);
    const std::vector<std::string> shown = ui::displayedLines(*f.find<QPlainTextEdit>("Memo1"));
    ASSERT_GE(shown.size(), 2u);
    EXPECT_EQ(shown[shown.size() - 2], kRelinked);
    EXPECT_EQ(shown.back(), "NEW.LZH");
    EXPECT_EQ(again.fileName(), "NEW.LZH");
    EXPECT_TRUE(f.find<QToolButton>("SpeedButton8")->isEnabled());
    EXPECT_TRUE(f.reporter.reports.empty());
}

TEST(Relink, AnyBytesSurviveARefreshAndARelink) {
    Pane p;
    std::vector<std::string> text;
    std::string line;
    for (int byte = 1; byte < 256; ++byte) {
        if (byte == '\r' || byte == '\n')
            continue;
        line += static_cast<char>(byte);
        // Short lines, so that none wraps; none ends in "*".
        if ((line.size() >= 12 && line.back() != '*') || byte == 255) {
            text.push_back(line);
            line.clear();
        }
    }
    TreeNode* node = p.item("F", "T", withFile(text, kFileName, "A.LZH"));
    p.select(node);
    ASSERT_EQ(p.shown().size(), text.size() + 2);
    p.dialog.answer("/x/B.LZH");
    p.button(8).click();
    EXPECT_EQ(p.stored(node), withFile(text, kRelinked, "B.LZH"));
}

TEST(DetailPane, DeletingTheLastItemOffersTheForumForDeletion) {
    Pane p;
    TreeNode* item = p.item("F", "T", {"a"});
    p.select(item);
    p.form->SpeedButton9Click();
    EXPECT_EQ(p.tree().currentIndex(), p.form->model().indexOf(p.forum("F")));
    EXPECT_EQ(p.enabled(), "9");
    EXPECT_TRUE(p.reporter.reports.empty());
}

} // namespace
} // namespace qbr::test
