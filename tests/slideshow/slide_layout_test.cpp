#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QSlider>
#include <QTest>
#include <QToolButton>

#include "browser/frm_main.h"
#include "slideshow/frm_slide.h"
#include "slideshow/frm_time.h"
#include "tests/slideshow/slide_fixture.h"
#include "toolkit/image.h"

namespace {

// Every element of window that takes keyboard focus.
QList<QWidget*> FocusableElements(QWidget* window) {
    QList<QWidget*> result;
    for (QWidget* child : window->findChildren<QWidget*>())
        if (child->focusPolicy() != Qt::NoFocus && !child->isWindow())
            result << child;
    return result;
}

}  // namespace

using SlideLayoutTest = SlideFixture;

TEST_F(SlideLayoutTest, SlideShowWindowSettingsAndMenu) {
    EXPECT_EQ(frmSlide->Width(), 640);
    EXPECT_EQ(frmSlide->Height(), 480);
    EXPECT_EQ(frmSlide->HelpContext, 2);
    EXPECT_FALSE(frmSlide->windowIcon().isNull());
    EXPECT_EQ(frmSlide->windowIcon().pixmap(48).toImage(), frmMain->windowIcon().pixmap(48).toImage())
        << "the main window's icon";
    const Qt::WindowFlags flags = frmSlide->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_NE(frmSlide->minimumSize(), frmSlide->maximumSize()) << "sizeable";

    const QList<QAction*> menus = frmSlide->mnuSlide->actions();
    ASSERT_EQ(menus.size(), 2);
    EXPECT_EQ(menus[0]->text(), QStringLiteral("ファイル(&F)"));
    EXPECT_EQ(menus[1]->text(), QStringLiteral("表示(&V)"));
    const QList<QAction*> file = frmSlide->mnuFile->actions();
    ASSERT_EQ(file.size(), 4);
    EXPECT_EQ(file[0], frmSlide->mnuFileR);
    EXPECT_EQ(file[1], frmSlide->mnuFileT);
    EXPECT_TRUE(file[2]->isSeparator());
    EXPECT_EQ(file[3], frmSlide->mnuFileC);
    EXPECT_EQ(frmSlide->mnuView->actions(), QList<QAction*>{frmSlide->mnuViewT});

    struct Item {
        QAction* action;
        const char* caption;
        QKeySequence shortcut;
    };
    const Item items[] = {
        {frmSlide->mnuFileR, "スライドショー開始(&R)", QKeySequence(Qt::Key_F5)},
        {frmSlide->mnuFileT, "スライドショー終了(&T)", QKeySequence(Qt::Key_F4)},
        {frmSlide->mnuFileC, "閉じる(&C)", QKeySequence()},
        {frmSlide->mnuViewT, "スライド時間(&T)...", QKeySequence(Qt::CTRL | Qt::Key_T)},
    };
    for (const Item& item : items) {
        EXPECT_EQ(item.action->text(), QString::fromUtf8(item.caption));
        EXPECT_EQ(item.action->shortcut(), item.shortcut) << item.caption;
    }
}

TEST_F(SlideLayoutTest, SlideShowWindowElementsFillTheClientArea) {
    BuildStrip(1);
    WithSlideShow([&] {
        const int menuBottom = frmSlide->mnuSlide->geometry().bottom() + 1;
        auto check = [&] {
            const QRect client = frmSlide->rect();
            EXPECT_EQ(frmSlide->tlbMain->geometry(), QRect(0, menuBottom, client.width(), 26));
            EXPECT_EQ(frmSlide->scbSlide->geometry(), QRect(0, client.height() - 17, client.width(), 17));
            EXPECT_EQ(frmSlide->imgSlide->geometry(),
                      QRect(0, menuBottom + 26, client.width(), client.height() - 17 - menuBottom - 26));
        };
        check();
        frmSlide->SetWidth(500);
        frmSlide->SetHeight(300);
        QApplication::processEvents();
        check();

        EXPECT_TRUE(frmSlide->imgSlide->Center());
        EXPECT_TRUE(frmSlide->imgSlide->Proportional());
        EXPECT_TRUE(frmSlide->imgSlide->Stretch());

        QScrollBar* bar = frmSlide->scbSlide;
        EXPECT_EQ(bar->orientation(), Qt::Horizontal);
        EXPECT_EQ(bar->toolTip(), QStringLiteral("画像を選択します"));
        EXPECT_EQ(bar->singleStep(), 1);
        EXPECT_EQ(bar->pageStep(), 1);
        EXPECT_TRUE(bar->hasTracking());
        EXPECT_EQ(FocusableElements(frmSlide), QList<QWidget*>{bar});
        EXPECT_EQ(QApplication::focusWidget(), bar);
    });
}

TEST_F(SlideLayoutTest, SlideShowToolBarButtons) {
    struct Button {
        QToolButton* button;
        const char* hint;
        int left;
    };
    const Button buttons[] = {
        {frmSlide->tlbMainClose, "閉じる", 0},
        {frmSlide->tlbMainSlide, "スライドショー開始", 31},
        {frmSlide->tlbMainStop, "スライドショー終了", 54},
        {frmSlide->tlbMainTime, "スライド時間", 85},
    };
    for (const Button& b : buttons) {
        EXPECT_EQ(b.button->toolTip(), QString::fromUtf8(b.hint));
        EXPECT_EQ(b.button->geometry().left(), b.left) << b.hint;
        EXPECT_EQ(b.button->width(), 23) << b.hint;
        EXPECT_EQ(b.button->toolButtonStyle(), Qt::ToolButtonIconOnly);
        EXPECT_FALSE(b.button->icon().isNull()) << b.hint;
    }
    EXPECT_EQ(frmSlide->ToolButton1->geometry().left(), 23);
    EXPECT_EQ(frmSlide->ToolButton1->width(), 8);
    EXPECT_EQ(frmSlide->ToolButton2->geometry().left(), 77);
    EXPECT_EQ(frmSlide->ToolButton2->width(), 8);
    EXPECT_EQ(frmSlide->tlbMain->height(), 26);
}

TEST_F(SlideLayoutTest, IntervalDialogSettings) {
    EXPECT_EQ(frmTime->windowTitle(), QStringLiteral("スライド時間"));
    EXPECT_EQ(frmTime->HelpContext, 3);
    EXPECT_EQ(frmTime->size(), QSize(355, 97));
    EXPECT_EQ(frmTime->minimumSize(), QSize(355, 97));
    EXPECT_EQ(frmTime->maximumSize(), QSize(355, 97));
    const Qt::WindowFlags flags = frmTime->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);

    EXPECT_EQ(frmTime->lblMsg->text(), QStringLiteral("スライド時間の間隔を1秒から10秒まで指定できます。"));
    EXPECT_EQ(frmTime->lblMsg->pos(), QPoint(16, 24));

    QSlider* slider = frmTime->tkbSlide;
    EXPECT_EQ(slider->geometry(), QRect(8, 48, 337, 41));
    EXPECT_EQ(slider->orientation(), Qt::Horizontal);
    EXPECT_EQ(slider->minimum(), 1);
    EXPECT_EQ(slider->maximum(), 10);
    EXPECT_EQ(slider->value(), 1);
    EXPECT_EQ(slider->singleStep(), 1);
    EXPECT_EQ(slider->pageStep(), 2);
    EXPECT_EQ(slider->tickPosition(), QSlider::TicksBelow);
    EXPECT_EQ(slider->tickInterval(), 1);
    EXPECT_EQ(slider->toolTip(), QStringLiteral("スライド間隔を秒単位で設定します"));
    EXPECT_EQ(FocusableElements(frmTime), QList<QWidget*>{slider});
}

TEST_F(SlideLayoutTest, IntervalDialogKeepsItsValueInRangeAndIgnoresEnterAndEsc) {
    auto open = [] { frmSlide->mnuViewTClick(frmSlide); };
    WithIntervalDialog(open, [] {
        QSlider* slider = frmTime->tkbSlide;
        EXPECT_EQ(QApplication::focusWidget(), slider);
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            QTest::keyClick(slider, key);
            EXPECT_TRUE(frmTime->isVisible()) << key;
            EXPECT_EQ(slider->value(), 1);
        }
        QTest::keyClick(slider, Qt::Key_Left);
        EXPECT_EQ(slider->value(), 1);
        QTest::keyClick(slider, Qt::Key_Right);
        EXPECT_EQ(slider->value(), 2);
        QTest::keyClick(slider, Qt::Key_PageUp);
        EXPECT_EQ(slider->value(), 4) << "page step 2";
        slider->setValue(0);
        EXPECT_EQ(slider->value(), 1);
        slider->setValue(11);
        EXPECT_EQ(slider->value(), 10);
        QTest::keyClick(slider, Qt::Key_Right);
        EXPECT_EQ(slider->value(), 10);
        slider->setValue(7);
    });
    EXPECT_EQ(frmSlide->intSlideTime, 7) << "every closing writes the value back";
    WithIntervalDialog(open, [] { EXPECT_EQ(frmTime->tkbSlide->value(), 7); });
    EXPECT_EQ(frmSlide->intSlideTime, 7);
}
