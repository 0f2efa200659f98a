// The main window: layout at the design size and after resizes, the splitter,
// menus, toolbar, shortcuts and the minimum size.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScrollArea>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

#include "about/frm_about.h"
#include "browser/frm_main.h"
#include "resources/glyphs.h"
#include "slideshow/frm_slide.h"
#include "tests/support/app_fixture.h"
#include "toolkit/application.h"
#include "toolkit/splitter.h"

namespace {

class MainWindowTest : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        StartProgram();
        frmMain->show();
    }

    static int MenuHeight() { return frmMain->mnuMain->height(); }

    // Sizes the window so that the area below the menu bar is width x height.
    // The window's frame and menu bar make the design client size 392 x 254
    // smaller than the minimum outer size allows here, so the layout tests lift it.
    static void SetClientSize(int width, int height) {
        frmMain->SetMinimumOuterSize(0, 0);
        frmMain->resize(width, height + MenuHeight());
    }

    static QRect Bounds(const QWidget* widget) { return widget->geometry(); }
};

// Presses the left button on the splitter, moves the pointer dx pixels and,
// unless told otherwise, releases it there.
void SendMouse(QWidget* widget, QEvent::Type type, QPoint local, Qt::MouseButtons buttons) {
    QMouseEvent event(type, QPointF(local), QPointF(widget->mapToGlobal(local)),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

void PressSplitter() { SendMouse(frmMain->splMain, QEvent::MouseButtonPress, {2, 10}, Qt::LeftButton); }
void MoveSplitter(int dx) { SendMouse(frmMain->splMain, QEvent::MouseMove, {2 + dx, 10}, Qt::LeftButton); }
void ReleaseSplitter(int dx) { SendMouse(frmMain->splMain, QEvent::MouseButtonRelease, {2 + dx, 10}, Qt::NoButton); }

void DragSplitter(int dx) {
    PressSplitter();
    MoveSplitter(dx);
    ReleaseSplitter(dx);
}

TEST_F(MainWindowTest, ElementsHaveTheirBoundsAtTheDesignSize) {
    SetClientSize(392, 254);
    EXPECT_EQ(Bounds(frmMain->mnuMain), QRect(0, 0, 392, MenuHeight()));
    EXPECT_EQ(Bounds(frmMain->ClientArea), QRect(0, MenuHeight(), 392, 254));
    struct Row {
        const char* name;
        QWidget* element;
        QWidget* parent;
        QRect bounds;
    };
    const Row rows[] = {
        {"tlbMain", frmMain->tlbMain, frmMain->ClientArea, {0, 0, 392, 26}},
        {"pnlTree", frmMain->pnlTree, frmMain->ClientArea, {0, 26, 169, 54}},
        {"pnlDrv", frmMain->pnlDrv, frmMain->pnlTree, {0, 0, 169, 23}},
        {"cboDrv", frmMain->cboDrv, frmMain->pnlDrv, {0, 2, 169, 19}},
        {"trvDir", frmMain->trvDir, frmMain->pnlTree, {0, 23, 169, 31}},
        {"splMain", frmMain->splMain, frmMain->ClientArea, {169, 26, 4, 54}},
        {"pnlList", frmMain->pnlList, frmMain->ClientArea, {173, 26, 219, 54}},
        {"pnlPath", frmMain->pnlPath, frmMain->pnlList, {0, 0, 219, 22}},
        {"txtPath", frmMain->txtPath, frmMain->pnlPath, {0, 1, 219, 21}},
        {"lstFile", frmMain->lstFile, frmMain->pnlList, {0, 22, 219, 32}},
        {"scbGrh", frmMain->scbGrh, frmMain->ClientArea, {0, 80, 392, 152}},
        {"stbMain", frmMain->stbMain, frmMain->ClientArea, {0, 232, 392, 22}},
        {"tlbMainEnd", frmMain->tlbMainEnd, frmMain->tlbMain, {0, 2, 23, 22}},
        {"ToolButton2", frmMain->ToolButton2, frmMain->tlbMain, {23, 2, 8, 22}},
        {"tlbMainOpen", frmMain->tlbMainOpen, frmMain->tlbMain, {31, 2, 23, 22}},
        {"tlbMainClose", frmMain->tlbMainClose, frmMain->tlbMain, {54, 2, 23, 22}},
        {"ToolButton1", frmMain->ToolButton1, frmMain->tlbMain, {77, 2, 8, 22}},
        {"tlbMainSlide", frmMain->tlbMainSlide, frmMain->tlbMain, {85, 2, 23, 22}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.element->parentWidget(), row.parent) << row.name;
        EXPECT_EQ(Bounds(row.element), row.bounds) << row.name;
        EXPECT_TRUE(row.element->isVisible()) << row.name;
    }
}

// Extra height goes to the pane row only, extra width to the file pane only;
// the drive list and the path box always span their panes.
TEST_F(MainWindowTest, ExtraSizeGoesToThePaneRowAndTheFilePane) {
    const QSize sizes[] = {{392, 254}, {800, 254}, {392, 600}, {1000, 700}, {500, 300}, {392, 254}};
    for (const QSize size : sizes) {
        SetClientSize(size.width(), size.height());
        const int dw = size.width() - 392;
        const int dh = size.height() - 254;
        SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height());
        EXPECT_EQ(Bounds(frmMain->tlbMain), QRect(0, 0, size.width(), 26));
        EXPECT_EQ(Bounds(frmMain->pnlTree), QRect(0, 26, 169, 54 + dh));
        EXPECT_EQ(Bounds(frmMain->splMain), QRect(169, 26, 4, 54 + dh));
        EXPECT_EQ(Bounds(frmMain->pnlList), QRect(173, 26, 219 + dw, 54 + dh));
        EXPECT_EQ(Bounds(frmMain->trvDir), QRect(0, 23, 169, 31 + dh));
        EXPECT_EQ(Bounds(frmMain->lstFile), QRect(0, 22, 219 + dw, 32 + dh));
        EXPECT_EQ(Bounds(frmMain->scbGrh), QRect(0, 80 + dh, size.width(), 152));
        EXPECT_EQ(Bounds(frmMain->stbMain), QRect(0, 232 + dh, size.width(), 22));
        EXPECT_EQ(Bounds(frmMain->cboDrv), QRect(0, 2, 169, 19));
        EXPECT_EQ(Bounds(frmMain->txtPath), QRect(0, 1, 219 + dw, 21));
    }
}

TEST_F(MainWindowTest, DesignOuterSizeAndMinimumHoldForProgramAndUser) {
    EXPECT_EQ(frmMain->Width(), 400);
    EXPECT_EQ(frmMain->Height(), 300);
    EXPECT_EQ(frmMain->Left(), 0);
    EXPECT_EQ(frmMain->Top(), 0);
    // Bounds the program sets.
    frmMain->SetBounds(10, 20, 120, 90);
    EXPECT_EQ(frmMain->Width(), 400);
    EXPECT_EQ(frmMain->Height(), 300);
    frmMain->SetWidth(399);
    frmMain->SetHeight(299);
    EXPECT_EQ(frmMain->Width(), 400);
    EXPECT_EQ(frmMain->Height(), 300);
    frmMain->SetBounds(0, 0, 640, 480);
    EXPECT_EQ(frmMain->Width(), 640);
    EXPECT_EQ(frmMain->Height(), 480);
    // Also while hidden, as when the state file is read, and after showing.
    frmMain->hide();
    frmMain->SetBounds(5, 6, 401, 301);
    EXPECT_EQ(QRect(frmMain->Left(), frmMain->Top(), frmMain->Width(), frmMain->Height()), QRect(5, 6, 401, 301));
    frmMain->show();
    EXPECT_EQ(QRect(frmMain->Left(), frmMain->Top(), frmMain->Width(), frmMain->Height()), QRect(5, 6, 401, 301));
    // The user's resizing: the window system is told the limit and keeps to it.
    const QSize frame = frmMain->frameGeometry().size() - frmMain->geometry().size();
    EXPECT_EQ(frmMain->windowHandle()->minimumSize(), QSize(400, 300) - frame);
    frmMain->windowHandle()->resize(50, 40);
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
    EXPECT_GE(frmMain->Width(), 400);
    EXPECT_GE(frmMain->Height(), 300);
    frmMain->resize(1, 1);
    EXPECT_EQ(frmMain->Width(), 400);
    EXPECT_EQ(frmMain->Height(), 300);
    // Even at the minimum, the fixed bands keep their sizes.
    EXPECT_EQ(frmMain->scbGrh->height(), 152);
    EXPECT_EQ(frmMain->stbMain->height(), 22);
    EXPECT_EQ(frmMain->txtPath->width(), frmMain->pnlPath->width());
}

TEST_F(MainWindowTest, SplitterLineFollowsThePointerWhileThePanesWait) {
    SetClientSize(392, 254);
    int moves = 0;
    QObject::connect(frmMain->splMain, &TSplitter::moved, [&] { ++moves; });
    PressSplitter();
    MoveSplitter(40);
    EXPECT_TRUE(frmMain->splMain->Dragging());
    QWidget* line = frmMain->splMain->Line();
    EXPECT_TRUE(line->isVisible());
    EXPECT_EQ(line->geometry(), QRect(209, 26, 4, 54));
    EXPECT_EQ(frmMain->pnlTree->width(), 169);
    EXPECT_EQ(frmMain->pnlList->width(), 219);
    EXPECT_EQ(moves, 0);
    ReleaseSplitter(40);
    EXPECT_FALSE(line->isVisible());
    EXPECT_EQ(frmMain->pnlTree->width(), 209);
    EXPECT_EQ(Bounds(frmMain->splMain), QRect(209, 26, 4, 54));
    EXPECT_EQ(Bounds(frmMain->pnlList), QRect(213, 26, 179, 54));
    EXPECT_EQ(frmMain->cboDrv->width(), 209);
    EXPECT_EQ(frmMain->txtPath->width(), 179);
    EXPECT_EQ(moves, 2);
    // A second drag ending at the same width changes nothing and fires once.
    moves = 0;
    DragSplitter(0);
    EXPECT_EQ(frmMain->pnlTree->width(), 209);
    EXPECT_EQ(moves, 1);
}

TEST_F(MainWindowTest, EscCancelsASplitterDrag) {
    SetClientSize(392, 254);
    int moves = 0;
    QObject::connect(frmMain->splMain, &TSplitter::moved, [&] { ++moves; });
    PressSplitter();
    MoveSplitter(60);
    QTest::keyClick(frmMain->splMain, Qt::Key_Escape);
    EXPECT_FALSE(frmMain->splMain->Dragging());
    EXPECT_FALSE(frmMain->splMain->Line()->isVisible());
    EXPECT_EQ(moves, 1);
    ReleaseSplitter(60);
    EXPECT_EQ(frmMain->pnlTree->width(), 169);
    EXPECT_EQ(moves, 1);
}

// Where each drag leaves the tree pane, from 169 at a client width of 392.
TEST_F(MainWindowTest, SplitterSnapsShutReopensAndKeepsTheFilePane) {
    SetClientSize(392, 254);
    struct Step {
        int dx;
        int width;
    };
    const Step steps[] = {
        {-138, 31},   // 31 stays
        {-1, 0},      // 30 snaps shut
        {31, 31},     // dragged open again from the left edge
        {1000, 358},  // the file pane keeps 30: 392 - 34
        {-400, 0},    // far left snaps shut
        {20, 0},      // 20 is not enough to open it
        {100, 100},
    };
    for (const Step& step : steps) {
        DragSplitter(step.dx);
        SCOPED_TRACE(step.dx);
        EXPECT_EQ(frmMain->pnlTree->width(), step.width);
        EXPECT_EQ(frmMain->splMain->geometry().left(), step.width);
        EXPECT_EQ(frmMain->pnlList->width(), 392 - 4 - step.width);
        EXPECT_GE(frmMain->pnlList->width(), 30);
        EXPECT_EQ(frmMain->cboDrv->width(), frmMain->pnlDrv->width());
        EXPECT_EQ(frmMain->txtPath->width(), frmMain->pnlPath->width());
    }
    // The tree pane keeps its width when the window grows.
    SetClientSize(700, 400);
    EXPECT_EQ(frmMain->pnlTree->width(), 100);
    EXPECT_EQ(frmMain->txtPath->width(), 700 - 104);
}

}  // namespace

namespace {

// What a command visibly did: the windows it opened modally (closed again at
// once), message boxes, help requests, and the state it left behind.
struct Effect {
    QStringList modalWindows;
    QStringList messages;
    int helpRequests = 0;
    bool mainVisible = true;
    int viewCount = 0;
    int thumbCount = 0;
    QStringList visibleWindows;

    bool operator==(const Effect&) const = default;
};

void PrintTo(const Effect& e, std::ostream* os) {
    *os << "modal[" << e.modalWindows.join(',').toStdString() << "] messages[" << e.messages.join(',').toStdString()
        << "] help " << e.helpRequests << " main " << e.mainVisible << " views " << e.viewCount << " thumbs "
        << e.thumbCount << " visible[" << e.visibleWindows.join(',').toStdString() << "]";
}

Effect Observe(const std::function<void()>& command) {
    Effect effect;
    MessageBoxRecorder boxes;
    auto help = QObject::connect(Application, &TApplication::helpRequested, [&] { ++effect.helpRequests; });
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* form = qobject_cast<TForm*>(QApplication::activeModalWidget())) {
            effect.modalWindows << form->objectName();
            form->Close();
        }
    });
    closer.start(5);
    command();
    closer.stop();
    QObject::disconnect(help);
    effect.messages = boxes.texts;
    effect.mainVisible = frmMain->isVisible();
    effect.viewCount = frmMain->intViewCount;
    effect.thumbCount = frmMain->intThumbCount;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible() && qobject_cast<TForm*>(window))
            effect.visibleWindows << window->objectName();
    effect.visibleWindows.sort();
    return effect;
}

}  // namespace

// Each toolbar button, clicked, does exactly what its menu item does, on a
// freshly started program each time.
TEST_F(MainWindowTest, EveryToolbarButtonDoesWhatItsMenuItemDoes) {
    struct Row {
        const char* name;
        QToolButton* TfrmMain::*button;
        QAction* TfrmMain::*item;
    };
    const Row rows[] = {
        {"end", &TfrmMain::tlbMainEnd, &TfrmMain::mnuFileX},
        {"open all", &TfrmMain::tlbMainOpen, &TfrmMain::mnuImgOpen},
        {"close all", &TfrmMain::tlbMainClose, &TfrmMain::mnuImgC},
        {"slide show", &TfrmMain::tlbMainSlide, &TfrmMain::mnuSlideOpen},
    };
    auto restart = [this] {
        StopProgram();
        StartProgram();
        frmMain->show();
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        restart();
        const Effect byMenu = Observe([&] { (frmMain->*row.item)->trigger(); });
        restart();
        const Effect byButton = Observe([&] { QTest::mouseClick(frmMain->*row.button, Qt::LeftButton); });
        EXPECT_EQ(byButton, byMenu);
    }
}

TEST_F(MainWindowTest, ExitClosesTheMainWindowAndAboutOpensModally) {
    Effect about = Observe([] { frmMain->mnuHelpA->trigger(); });
    EXPECT_EQ(about.modalWindows, QStringList{"frmAbout"});
    EXPECT_TRUE(about.mainVisible);
    Effect exit = Observe([] { frmMain->mnuFileX->trigger(); });
    EXPECT_FALSE(exit.mainVisible);
}

TEST_F(MainWindowTest, MenusHaveTheirCaptionsAndShortcuts) {
    const QList<QAction*> menus = frmMain->mnuMain->actions();
    QStringList captions;
    for (QAction* menu : menus)
        captions << menu->text();
    EXPECT_EQ(captions, (QStringList{"ファイル(&F)", "イメージ(&I)", "スライドショー(&S)", "ヘルプ(&H)"}));
    struct Row {
        QAction* item;
        QMenu* menu;
        const char* caption;
        const char* shortcut;
    };
    const Row rows[] = {
        {frmMain->mnuFileX, frmMain->mnuFile, "終了(&X)", ""},
        {frmMain->mnuImgOpen, frmMain->mnuImg, "すべて開く(&O)...", "Ctrl+O"},
        {frmMain->mnuImgC, frmMain->mnuImg, "すべて閉じる(&C)", "Ctrl+Z"},
        {frmMain->mnuSlideOpen, frmMain->mnuSlide, "開く(&O)...", "F5"},
        {frmMain->mnuHelpH, frmMain->mnuHelp, "ヘルプ(&H)...", ""},
        {frmMain->mnuHelpC, frmMain->mnuHelp, "トピックの検索(&C)...", ""},
        {frmMain->mnuHelpA, frmMain->mnuHelp, "バージョン情報(&A)...", ""},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.item->text(), QString::fromUtf8(row.caption));
        EXPECT_EQ(row.item->shortcut().toString(QKeySequence::NativeText), QString::fromUtf8(row.shortcut));
        EXPECT_TRUE(row.menu->actions().contains(row.item)) << row.caption;
    }
    EXPECT_EQ(frmMain->mnuHelp->actions().indexOf(frmMain->mnuHelpBar), 2);
    EXPECT_TRUE(frmMain->mnuHelpBar->isSeparator());
}

TEST_F(MainWindowTest, SettingsHintsAndFocus) {
    EXPECT_EQ(frmMain->windowTitle(), QStringLiteral("クインブリ"));
    EXPECT_EQ(frmMain->HelpContext, 1);
    EXPECT_FALSE(frmMain->windowIcon().isNull());
    EXPECT_EQ(frmMain->stbMain->currentMessage(), QStringLiteral("0 個の画像ファイルを選択"));
    EXPECT_TRUE(frmMain->stbMain->isSizeGripEnabled());
    EXPECT_EQ(frmMain->scbGrh->frameShape(), QFrame::NoFrame);
    EXPECT_EQ(frmMain->scbGrh->widget(), frmMain->scbGrhContent);
    EXPECT_EQ(frmMain->lstFile->selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_FALSE(frmMain->pnlPath->isEnabled());
    EXPECT_FALSE(frmMain->txtPath->isEnabled());
    // The disabled path box keeps the colours of an enabled one.
    const QPalette& pal = frmMain->txtPath->palette();
    EXPECT_EQ(pal.color(QPalette::Disabled, QPalette::Base), pal.color(QPalette::Active, QPalette::Base));
    EXPECT_EQ(pal.color(QPalette::Disabled, QPalette::Text), pal.color(QPalette::Active, QPalette::Text));

    struct Hint {
        QWidget* element;
        const char* text;
    };
    const Hint hints[] = {
        {frmMain->cboDrv, "画像のあるドライブを指定します"},
        {frmMain->trvDir, "画像のあるディレクトリを指定します"},
        {frmMain->txtPath, "現在のフォルダを表示します"},
        {frmMain->lstFile, "選択した画像をサムネイル表示します"},
        {frmMain->scbGrh, "画像をクリックすると、別ウィンドウに大きく表示されます"},
        {frmMain->tlbMainEnd, "終了"},
        {frmMain->tlbMainOpen, "すべて開く"},
        {frmMain->tlbMainClose, "すべて閉じる"},
        {frmMain->tlbMainSlide, "開く"},
        {frmMain, ""},
        {frmMain->pnlTree, ""},
        {frmMain->pnlList, ""},
        {frmMain->stbMain, ""},
        {frmMain->tlbMain, ""},
    };
    for (const Hint& hint : hints)
        EXPECT_EQ(hint.element->toolTip(), QString::fromUtf8(hint.text)) << hint.text;

    for (QToolButton* button : {frmMain->tlbMainEnd, frmMain->tlbMainOpen, frmMain->tlbMainClose, frmMain->tlbMainSlide}) {
        EXPECT_FALSE(button->autoRaise());
        EXPECT_FALSE(button->icon().isNull());
        EXPECT_EQ(button->text(), QString());
    }

    // Tab order: folder list, drive list, file list, around again; the path box never.
    frmMain->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frmMain));
    EXPECT_EQ(QApplication::focusWidget(), frmMain->trvDir);
    QStringList order;
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        order << QApplication::focusWidget()->objectName();
    }
    EXPECT_EQ(order, (QStringList{"cboDrv", "lstFile", "trvDir", "cboDrv"}));
}

// The three shortcuts act in the main window and in every window that shares
// them, while no modal window is open and the main window is enabled.
TEST_F(MainWindowTest, ShortcutsActInSharingWindowsOnly) {
    QList<QAction*> run;
    QObject::connect(frmMain, &TfrmMain::menuCommandRun, [&](QAction* item) { run << item; });
    auto* view = new TForm(frmMain);
    view->setObjectName("view");
    frmMain->ShareShortcutsWith(view);
    auto* stranger = new TForm(frmMain);
    auto press = [](QWidget* window, Qt::Key key, Qt::KeyboardModifiers modifiers) {
        window->show();
        window->activateWindow();
        QApplication::setActiveWindow(window);
        EXPECT_TRUE(QTest::qWaitForWindowActive(window));
        QTest::keyClick(window, key, modifiers);
    };

    press(frmMain, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(run, QList<QAction*>{frmMain->mnuImgC});
    run.clear();
    press(view, Qt::Key_O, Qt::ControlModifier);
    press(view, Qt::Key_Z, Qt::ControlModifier);
    press(view, Qt::Key_F5, Qt::NoModifier);
    EXPECT_EQ(run, (QList<QAction*>{frmMain->mnuImgOpen, frmMain->mnuImgC, frmMain->mnuSlideOpen}));
    run.clear();
    press(stranger, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(run.isEmpty());

    // A modal window holds them back, in the main window and in the picture windows.
    QTimer::singleShot(0, frmAbout, [&] {
        EXPECT_TRUE(frmAbout->IsModalShowing());
        QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(frmMain, Qt::Key_F5);
        QTest::keyClick(frmAbout, Qt::Key_F5);
        frmAbout->Close();
    });
    frmMain->mnuHelpA->trigger();
    EXPECT_EQ(run, (QList<QAction*>{frmMain->mnuHelpA}));
    run.clear();

    // So does a disabled main window.
    frmMain->setEnabled(false);
    press(view, Qt::Key_Z, Qt::ControlModifier);
    frmMain->mnuImgC->trigger();
    EXPECT_TRUE(run.isEmpty());
    frmMain->setEnabled(true);
    view->hide();
    stranger->hide();
}

// The window font resolves to a Japanese Gothic face, and the window renders
// offscreen with its texts drawn; the picture is kept for a person to look at.
TEST_F(MainWindowTest, RendersWithAJapaneseFont) {
    const QFontInfo info(frmMain->font());
    EXPECT_EQ(frmMain->font().family(), QStringLiteral("ＭＳ ゴシック"));
    EXPECT_EQ(info.pixelSize(), 13);
    EXPECT_TRUE(QStringList({"IPAGothic", "IPAゴシック", "Noto Sans Mono CJK JP", "Noto Sans CJK JP", "IPAexGothic",
                             "VL Gothic"})
                    .contains(info.family()))
        << info.family().toStdString();
    EXPECT_EQ(frmMain->stbMain->font(), frmMain->font());

    frmMain->SetBounds(0, 0, 400, 300);
    frmMain->txtPath->setText(QStringLiteral("/home/user/写真"));
    const QImage shot = frmMain->grab().toImage();
    ASSERT_FALSE(shot.isNull());
    QDir().mkpath(QUIMBLY_BIN_DIR "/../screenshots");
    shot.save(QUIMBLY_BIN_DIR "/../screenshots/main_window.png");

    // The status text draws dark pixels on the button face.
    const QRect status = frmMain->stbMain->geometry().translated(frmMain->ClientArea->pos());
    int dark = 0;
    for (int y = status.top(); y <= status.bottom(); ++y)
        for (int x = status.left(); x < status.left() + 150; ++x)
            if (qGray(shot.pixel(x, y)) < 80)
                ++dark;
    EXPECT_GT(dark, 30);
    frmMain->txtPath->clear();
}

// The artwork is compiled in: each glyph 16 x 16 on a transparent background,
// the icon in its two sizes.
TEST(Artwork, GlyphsAndIconAreCompiledIn) {
    for (int set = 0; set < 2; ++set)
        for (int index = 0; index < 4; ++index) {
            SCOPED_TRACE(testing::Message() << set << ":" << index);
            const QIcon icon = set == 0 ? MainGlyph(index) : SlideGlyph(index);
            const QImage glyph = icon.pixmap(16, 16).toImage();
            ASSERT_EQ(glyph.size(), QSize(16, 16));
            ASSERT_TRUE(glyph.hasAlphaChannel());
            int transparent = 0;
            int opaque = 0;
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 16; ++x)
                    (qAlpha(glyph.pixel(x, y)) == 0 ? transparent : opaque) += 1;
            EXPECT_GT(transparent, 0);
            EXPECT_GT(opaque, 20);
        }
    EXPECT_TRUE(MainGlyph(4).isNull());
    EXPECT_TRUE(SlideGlyph(-1).isNull());
    EXPECT_EQ(AppIconPixmap(48).size(), QSize(48, 48));
    EXPECT_EQ(AppIconPixmap(32).size(), QSize(32, 32));
    EXPECT_EQ(AppIcon().availableSizes().size(), 2);
}
