// F1 and the Help menu: which request reaches the help viewer, with the help
// file's full path next to the program.
#include <gtest/gtest.h>

#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include "about/frm_about.h"
#include "app/startup.h"
#include "browser/frm_main.h"
#include "browser/picture_window.h"
#include "tests/support/app_fixture.h"
#include "toolkit/application.h"
#include "toolkit/help_bridge.h"
#include "toolkit/help_context.h"
#include "toolkit/image.h"

namespace {

struct HelpRequest {
    QString file;
    int command;
    int data;
    bool operator==(const HelpRequest&) const = default;
};

std::ostream& operator<<(std::ostream& out, const HelpRequest& r) {
    return out << r.file.toStdString() << " " << r.command << " " << r.data;
}

class HelpKeyTest : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        // No viewer is started from these tests: only the requests count.
        SetHelpViewerProgram(QStringLiteral("/nonexistent/quimbly-help"));
        // A program folder with a blank and Japanese characters in its name.
        folder_ = programDir_.path() + QStringLiteral("/プログラム フォルダ/");
        ASSERT_TRUE(QDir().mkpath(folder_));
        TfrmMain::ProgramFolderOverride = folder_;
        StartUp();
        started_ = true;
        connection_ = QObject::connect(Application, &TApplication::helpRequested,
                                       [this](const QString& file, int command, int data) {
                                           requests_.push_back({file, command, data});
                                       });
    }

    void TearDown() override {
        QObject::disconnect(connection_);
        SetHelpViewerProgram(QString());
        AppFixture::TearDown();
    }

    QString HelpPath() const { return folder_ + QStringLiteral("Quimbly.hlp"); }
    HelpRequest Context(int n) const { return {HelpPath(), HELP_CONTEXT, n}; }

    // A window like the program's, with one focusable element.
    template <class Element>
    std::unique_ptr<TForm> FormWith(int context, Element*& element, QWidget* owner = nullptr) {
        auto form = std::make_unique<TForm>(owner);
        form->HelpContext = context;
        auto* layout = new QVBoxLayout(form.get());
        element = new Element(form.get());
        element->setFocusPolicy(Qt::StrongFocus);
        layout->addWidget(element);
        form->show();
        form->activateWindow();
        element->setFocus();
        return form;
    }

    void PressF1(QWidget* receiver) { QTest::keyClick(receiver, Qt::Key_F1); }

    QString folder_;
    std::vector<HelpRequest> requests_;
    QMetaObject::Connection connection_;
};

TEST_F(HelpKeyTest, HelpFileIsCompletedToTheProgramFolder) {
    EXPECT_EQ(Application->HelpFile, HelpPath());
}

TEST_F(HelpKeyTest, HelpMenuAsksForContentsAndFinder) {
    frmMain->mnuHelpHClick(frmMain);
    frmMain->mnuHelpCClick(frmMain);
    EXPECT_EQ(requests_, (std::vector<HelpRequest>{{HelpPath(), HELP_CONTENTS, 0}, {HelpPath(), HELP_FINDER, 0}}));
}

TEST_F(HelpKeyTest, MainWindowAsksForContext1) {
    frmMain->show();
    frmMain->activateWindow();
    frmMain->setFocus();
    PressF1(frmMain);
    EXPECT_EQ(requests_, std::vector<HelpRequest>{Context(1)});
}

TEST_F(HelpKeyTest, EveryElementOfTheRealWindowsTakesItsWindowsContext) {
    frmMain->show();
    frmMain->activateWindow();
    for (QWidget* element : {static_cast<QWidget*>(frmMain->trvDir), static_cast<QWidget*>(frmMain->lstFile),
                             static_cast<QWidget*>(frmMain->cboDrv)}) {
        requests_.clear();
        element->setFocus();
        PressF1(element);
        EXPECT_EQ(requests_, std::vector<HelpRequest>{Context(1)}) << element->objectName().toStdString();
    }

    TImage thumbnail;
    TPictureWindow view(frmMain, thumbnail);
    view.show();
    requests_.clear();
    PressF1(view.Box());
    EXPECT_EQ(requests_, std::vector<HelpRequest>{Context(1)}) << "picture window";

    requests_.clear();
    QTimer::singleShot(0, frmAbout, [] {
        frmAbout->cmdOK->setFocus();
        QTest::keyClick(frmAbout->cmdOK, Qt::Key_F1);
        QTest::keyClick(frmAbout, Qt::Key_F1);
        frmAbout->Close();
    });
    frmAbout->ShowModal();
    EXPECT_TRUE(requests_.empty()) << "the about box asks for nothing";
}

TEST_F(HelpKeyTest, FocusedElementWalksUpToItsWindow) {
    struct Case {
        const char* name;
        int context;
        int expected;
    };
    // Main window element, picture window, slide show scroll bar, interval track bar.
    for (const Case c : {Case{"main", 1, 1}, Case{"slide", 2, 2}, Case{"interval", 3, 3}}) {
        requests_.clear();
        QLineEdit* element = nullptr;
        auto form = FormWith(c.context, element);
        PressF1(element);
        EXPECT_EQ(requests_, std::vector<HelpRequest>{Context(c.expected)}) << c.name;
    }
    requests_.clear();
    QScrollBar* bar = nullptr;
    auto slide = FormWith(2, bar);
    PressF1(bar);
    EXPECT_EQ(requests_, std::vector<HelpRequest>{Context(2)});
}

TEST_F(HelpKeyTest, PictureWindowOwnedByTheMainWindowAsksForItsOwnContext) {
    QLineEdit* element = nullptr;
    auto view = FormWith(1, element, frmMain);
    frmMain->HelpContext = 7;  // the owner's number must not be the one taken
    PressF1(element);
    frmMain->HelpContext = 1;
    EXPECT_EQ(requests_, std::vector<HelpRequest>{Context(1)});
}

TEST_F(HelpKeyTest, ElementContextComesBeforeItsWindows) {
    QLineEdit* element = nullptr;
    auto form = FormWith(2, element);
    SetHelpContext(element, 9);
    PressF1(element);
    EXPECT_EQ(requests_, std::vector<HelpRequest>{Context(9)});
}

TEST_F(HelpKeyTest, AboutBoxAsksForNothing) {
    QPushButton* ok = nullptr;
    auto about = FormWith(0, ok);
    PressF1(ok);
    frmAbout->show();
    frmAbout->activateWindow();
    PressF1(frmAbout);
    frmAbout->Close();
    EXPECT_TRUE(requests_.empty());
}

TEST_F(HelpKeyTest, IntervalDialogOverTheSlideShowAsksFor3) {
    QScrollBar* bar = nullptr;
    auto slide = FormWith(2, bar);
    QSlider* track = nullptr;
    auto interval = FormWith(3, track);
    interval->hide();
    QTimer::singleShot(0, interval.get(), [&] {
        track->setFocus();
        PressF1(track);
        interval->Close();
    });
    interval->ShowModal();
    EXPECT_EQ(requests_, std::vector<HelpRequest>{Context(3)});
}

// The slide show's menus: ファイル with items of context 0, 表示 with
// スライド時間 of context 3.
class SlideMenus {
public:
    explicit SlideMenus(TForm& form) {
        bar = new QMenuBar(&form);
        form.layout()->setMenuBar(bar);
        file = bar->addMenu(QStringLiteral("ファイル(&F)"));
        start = file->addAction(QStringLiteral("スライドショー開始(&R)"));
        file->addSeparator();
        close = file->addAction(QStringLiteral("閉じる(&C)"));
        view = bar->addMenu(QStringLiteral("表示(&V)"));
        time = view->addAction(QStringLiteral("スライド時間(&T)..."));
        SetHelpContext(time, 3);
    }
    QMenuBar* bar;
    QMenu* file;
    QAction* start;
    QAction* close;
    QMenu* view;
    QAction* time;
};

TEST_F(HelpKeyTest, OpenMenuAsksForTheHighlightedItemEvenWhenItIs0) {
    QScrollBar* scroll = nullptr;
    auto slide = FormWith(2, scroll);
    SlideMenus menus(*slide);

    struct Case {
        QMenu* menu;
        QAction* highlighted;
        int expected;
    };
    for (const Case c : {Case{menus.view, menus.time, 3}, Case{menus.file, menus.close, 0},
                         Case{menus.file, nullptr, 0}}) {
        requests_.clear();
        c.menu->popup(slide->mapToGlobal(QPoint(0, 0)));
        ASSERT_EQ(QApplication::activePopupWidget(), c.menu);
        if (c.highlighted)
            c.menu->setActiveAction(c.highlighted);
        PressF1(c.menu);
        EXPECT_EQ(requests_, std::vector<HelpRequest>{Context(c.expected)});
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr);  // the menu made way for the help window
    }
}

TEST_F(HelpKeyTest, MenuItemTakesItsParentItemsContext) {
    QScrollBar* scroll = nullptr;
    auto slide = FormWith(2, scroll);
    SlideMenus menus(*slide);
    QMenu* sub = menus.view->addMenu(QStringLiteral("その他(&O)"));
    QAction* inner = sub->addAction(QStringLiteral("項目"));
    SetHelpContext(sub->menuAction(), 5);
    EXPECT_EQ(MenuItemHelpContext(inner), 5);
    EXPECT_EQ(MenuItemHelpContext(menus.close), 0);
    SetHelpContext(menus.view->menuAction(), 4);
    EXPECT_EQ(MenuItemHelpContext(menus.close), 0);
    EXPECT_EQ(MenuItemHelpContext(menus.time), 3);

    menus.view->popup(slide->mapToGlobal(QPoint(0, 0)));
    sub->popup(slide->mapToGlobal(QPoint(10, 10)));
    sub->setActiveAction(inner);
    PressF1(sub);
    EXPECT_EQ(requests_, std::vector<HelpRequest>{Context(5)});
}

TEST_F(HelpKeyTest, OtherKeysAndModifiedF1AskNothing) {
    QLineEdit* element = nullptr;
    auto form = FormWith(1, element);
    QTest::keyClick(element, Qt::Key_F1, Qt::ShiftModifier);
    QTest::keyClick(element, Qt::Key_F2);
    EXPECT_TRUE(requests_.empty());
}

}  // namespace
