// The main window as designed: its components, their places, texts and starting states.
#include "ui/catalog_model.h"
#include "ui/pictures.h"
#include "ui/ui_texts.h"
#include "ui_fixture.h"

#include <QFontInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTest>
#include <QToolButton>
#include <QTreeView>
#include <gtest/gtest.h>

namespace qbr::test {
namespace {

struct Placed {
    const char* name;
    const char* parent;
};

TEST(Form1Layout, EveryComponentSitsInItsParent) {
    Form1Fixture f;
    f.create();
    const Placed tree[] = {
        {"Panel4", "Form1"},    {"SpeedButton1", "Panel4"}, {"SpeedButton9", "Panel4"},
        {"Label3", "Panel4"},   {"StatusBar1", "Form1"},    {"TreeView1", "Splitter1"},
        {"Splitter1", "Form1"}, {"Panel1", "Splitter1"},    {"Panel3", "Panel1"},
        {"Panel2", "Panel3"},   {"Image1", "Panel2"},       {"Label1", "Panel3"},
        {"Label2", "Panel3"},   {"Memo1", "Panel1"},
    };
    for (const Placed& placed : tree) {
        const QWidget* widget = f.find<QWidget>(placed.name);
        ASSERT_NE(widget, nullptr) << placed.name;
        EXPECT_EQ(widget->parentWidget()->objectName().toStdString(), placed.parent) << placed.name;
    }
    EXPECT_EQ(f.form->windowTitle(), QStringLiteral("Quenbrill"));
    EXPECT_FALSE(f.form->windowIcon().isNull());
}

TEST(Form1Layout, ToolButtonsAreFlatAndPlacedWithTheirTextsAndStates) {
    Form1Fixture f;
    f.create();
    struct Expected {
        int left, width;
        bool enabled;
    };
    const Expected expected[9] = {{8, 57, true},    {64, 57, true},   {120, 65, true},
                                  {184, 57, true},  {240, 56, false}, {296, 57, false},
                                  {352, 81, false}, {432, 57, false}, {488, 57, false}};
    for (int i = 0; i < 9; ++i) {
        const auto* button =
            f.find<QToolButton>(QStringLiteral("SpeedButton%1").arg(i + 1).toLatin1().constData());
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->geometry(), QRect(expected[i].left, 4, expected[i].width, 25)) << i;
        EXPECT_EQ(button->isEnabled(), expected[i].enabled) << i;
        EXPECT_EQ(button->text(), q(ui::text::kButtons[static_cast<std::size_t>(i)].caption));
        EXPECT_EQ(button->toolTip(), q(ui::text::kButtons[static_cast<std::size_t>(i)].hint));
        EXPECT_TRUE(button->autoRaise());
        EXPECT_FALSE(button->isCheckable());
        EXPECT_EQ(button->focusPolicy(), Qt::NoFocus);
        EXPECT_FALSE(button->icon().isNull());
    }
    const auto* label3 = f.find<QLabel>("Label3");
    EXPECT_EQ(label3->text(), QStringLiteral(" ver.1.11 "));
    EXPECT_EQ(label3->pos(), QPoint(552, 10));
    EXPECT_LE(label3->width(), 47); // whole in a window of the designed 600 pixels
    EXPECT_TRUE(label3->autoFillBackground());
}

TEST(Form1Layout, ButtonsKeepTheirPlacesWhenTheWindowResizes) {
    Form1Fixture f;
    ui::TForm1& form = f.start();
    form.setWindowState(Qt::WindowNoState);
    for (const QSize size : {QSize(300, 200), QSize(900, 600)}) {
        form.resize(size);
        QApplication::processEvents();
        EXPECT_EQ(f.find<QWidget>("SpeedButton9")->geometry(), QRect(488, 4, 57, 25));
        EXPECT_EQ(f.find<QWidget>("Label3")->pos(), QPoint(552, 10));
        EXPECT_EQ(f.find<QWidget>("Panel4")->height(), 33);
        EXPECT_EQ(f.find<QWidget>("StatusBar1")->height(), 19);
        // The last status panel reaches the right end, whatever the width.
        const QWidget* last = f.find<QWidget>("StatusPanel2");
        const QWidget* bar = f.find<QWidget>("StatusBar1");
        EXPECT_GT(last->geometry().right(), bar->width() - 30);
    }
}

TEST(Form1Layout, TreeMemoAndStatusBarStartAsDesigned) {
    Form1Fixture f;
    f.create();
    const auto* tree = f.find<QTreeView>("TreeView1");
    EXPECT_EQ(tree->indentation(), 19);
    EXPECT_TRUE(tree->isHeaderHidden());
    EXPECT_TRUE(tree->rootIsDecorated());
    EXPECT_FALSE(tree->isSortingEnabled());
    EXPECT_EQ(tree->editTriggers(), QAbstractItemView::NoEditTriggers);
    // The classic look: lines between the items and plus/minus boxes.
    EXPECT_EQ(tree->style()->name(), QStringLiteral("windows"));

    const auto* memo = f.find<QPlainTextEdit>("Memo1");
    EXPECT_TRUE(memo->toPlainText().isEmpty());
    EXPECT_FALSE(memo->isReadOnly());
    EXPECT_EQ(memo->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    EXPECT_EQ(memo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_TRUE(memo->tabChangesFocus());
    // A fixed-pitch Japanese Gothic, 12 pixels.
    const QFontInfo memoFont(memo->font());
    EXPECT_TRUE(memoFont.family() == q(ui::text::kMemoFace) ||
                memoFont.family() == QStringLiteral("IPAGothic"))
        << memoFont.family().toStdString();
    EXPECT_EQ(memoFont.pixelSize(), 12);
    const QFontInfo windowFont(f.form->font());
    EXPECT_TRUE(windowFont.family() == q(ui::text::kWindowFace) ||
                windowFont.family() == QStringLiteral("IPAPGothic"))
        << windowFont.family().toStdString();

    for (const char* empty : {"Label1", "Label2", "StatusPanel0", "StatusPanel1"})
        EXPECT_TRUE(f.find<QLabel>(empty)->text().isEmpty()) << empty;
    EXPECT_EQ(f.find<QLabel>("StatusPanel0")->width(), 100);
    EXPECT_EQ(f.find<QLabel>("StatusPanel1")->width(), 100);
    EXPECT_TRUE(f.find<QStatusBar>("StatusBar1")->isSizeGripEnabled());
    EXPECT_EQ(f.find<QWidget>("Panel2")->geometry(), QRect(7, 4, 32, 32));
    EXPECT_EQ(f.find<QWidget>("Image1")->geometry(), QRect(0, 0, 32, 32));
    EXPECT_EQ(f.find<QWidget>("Label1")->pos(), QPoint(56, 7));
    EXPECT_EQ(f.find<QWidget>("Label2")->pos(), QPoint(56, 23));
    EXPECT_EQ(f.find<QWidget>("Panel3")->height(), 41);
    EXPECT_EQ(f.find<QSplitter>("Splitter1")->handleWidth(), 7);
}

TEST(Form1Layout, TabMovesBetweenTheTreeAndTheTextBoxOnly) {
    Form1Fixture f;
    ui::TForm1& form = f.start();
    QWidget* tree = f.find<QWidget>("TreeView1");
    QWidget* memo = f.find<QWidget>("Memo1");
    // Walk the focus chain from the tree: the only other widget that takes Tab is the memo.
    QList<QWidget*> takers;
    for (QWidget* w = tree->nextInFocusChain(); w != tree; w = w->nextInFocusChain())
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(&form) && w->isEnabled())
            takers.append(w);
    EXPECT_EQ(takers, QList<QWidget*>{memo});
}

TEST(Form1Layout, SplitterKeepsThirtyPixelsOnEachSide) {
    Form1Fixture f;
    ui::TForm1& form = f.start();
    form.setWindowState(Qt::WindowNoState);
    form.resize(600, 348);
    QApplication::processEvents();
    form.setTreeWidth(5);
    QApplication::processEvents();
    EXPECT_GE(form.treeWidth(), 30);
    form.setTreeWidth(590);
    QApplication::processEvents();
    EXPECT_GE(f.find<QWidget>("Panel1")->width(), 30);
    form.setTreeWidth(200);
    QApplication::processEvents();
    EXPECT_EQ(form.treeWidth(), 200);
    // A wider window gives the room to the detail area; the tree keeps its width.
    form.resize(800, 348);
    QApplication::processEvents();
    EXPECT_EQ(form.treeWidth(), 200);
}

TEST(Form1Layout, SplitterDragAppliesOnReleaseAndEscapeCancelsIt) {
    Form1Fixture f;
    ui::TForm1& form = f.start();
    form.setWindowState(Qt::WindowNoState);
    form.resize(600, 348);
    form.setTreeWidth(150);
    QApplication::processEvents();
    QSplitterHandle* handle = f.find<QSplitter>("Splitter1")->handle(1);
    QWidget* tree = f.find<QWidget>("TreeView1");
    const QPoint grip(3, 50);

    // Dragged 40 pixels to the right: nothing moves until the button is released.
    QTest::mousePress(handle, Qt::LeftButton, Qt::NoModifier, grip);
    QTest::mouseMove(handle, grip + QPoint(40, 0));
    EXPECT_EQ(form.treeWidth(), 150);
    QTest::mouseRelease(handle, Qt::LeftButton, Qt::NoModifier, grip + QPoint(40, 0));
    EXPECT_EQ(form.treeWidth(), 190);

    // Escape during the drag: the release that follows changes nothing.
    QTest::mousePress(handle, Qt::LeftButton, Qt::NoModifier, grip);
    QTest::mouseMove(handle, grip + QPoint(-60, 0));
    QTest::keyClick(tree, Qt::Key_Escape);
    QTest::mouseRelease(handle, Qt::LeftButton, Qt::NoModifier, grip + QPoint(-60, 0));
    EXPECT_EQ(form.treeWidth(), 190);
}

TEST(Pictures, DisabledGlyphIsTheOutlineEngraved) {
    for (int button = 0; button < 9; ++button) {
        const QImage normal = ui::Pictures::glyphImage(button);
        ASSERT_EQ(normal.size(), QSize(16, 16));
        const QImage disabled = ui::Pictures::engraved(normal);
        int grey = 0, white = 0, coloured = 0;
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                const QColor c = disabled.pixelColor(x, y);
                if (c.alpha() == 0)
                    continue;
                if (c == QColor(0x80, 0x80, 0x80))
                    ++grey;
                else if (c == QColor(Qt::white))
                    ++white;
                else
                    ++coloured;
                // Every white pixel is the shadow of a dark one above and to the left of it.
                if (c == QColor(Qt::white)) {
                    EXPECT_GT(normal.pixelColor(x - 1, y - 1).alpha(), 0) << button;
                }
            }
        }
        EXPECT_GT(grey, 0) << button;
        EXPECT_GT(white, 0) << button;
        EXPECT_EQ(coloured, 0) << button;
        // Light surfaces (the yellow-and-white checkerboards) leave nothing behind.
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                if (normal.pixelColor(x, y) == QColor(Qt::yellow)) {
                    EXPECT_NE(disabled.pixelColor(x, y), QColor(0x80, 0x80, 0x80)) << button;
                }
            }
        }
        // Transparent outside the drawing: the lower left corner shows through.
        EXPECT_EQ(normal.pixelColor(0, 15).alpha(), 0) << button;
    }
    const auto tree = ui::Pictures::treePictures();
    for (const QPixmap& picture : tree) {
        EXPECT_EQ(picture.size(), QSize(16, 16));
        EXPECT_TRUE(picture.hasAlphaChannel());
    }
    EXPECT_EQ(ui::Pictures::applicationIcon().pixmap(32, 32).size(), QSize(32, 32));
}

} // namespace
} // namespace qbr::test
