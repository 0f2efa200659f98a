// The about box: settings, element bounds, placement and keys.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFontInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "about/frm_about.h"
#include "browser/frm_main.h"
#include "tests/support/app_fixture.h"
#include "toolkit/application.h"

namespace {

class AboutBoxTest : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        StartProgram();
        frmMain->show();
    }

    // Opens the box from the Help menu as the user does; inside runs in its
    // modal loop. A box still open after five seconds is closed and fails the test.
    static void OpenFromMenu(const std::function<void()>& inside) {
        bool ran = false;
        QTimer::singleShot(0, frmAbout, [&] {
            ran = true;
            inside();
        });
        QTimer failsafe;
        failsafe.setSingleShot(true);
        QObject::connect(&failsafe, &QTimer::timeout, [] {
            ADD_FAILURE() << "the about box stayed open";
            frmAbout->Close();
        });
        failsafe.start(5000);
        frmMain->mnuHelpA->trigger();
        EXPECT_TRUE(ran);
        EXPECT_FALSE(frmAbout->isVisible());
    }
};

TEST_F(AboutBoxTest, SettingsAndElements) {
    EXPECT_EQ(frmAbout->windowTitle(), QStringLiteral("クインブリ のバージョン情報"));
    EXPECT_EQ(frmAbout->size(), QSize(433, 209));
    EXPECT_EQ(frmAbout->minimumSize(), QSize(433, 209));
    EXPECT_EQ(frmAbout->maximumSize(), QSize(433, 209));
    const Qt::WindowFlags flags = frmAbout->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(frmAbout->HelpContext, 0);
    EXPECT_FALSE(frmAbout->isVisible());

    struct Row {
        const char* name;
        QWidget* element;
        QWidget* parent;
        QRect bounds;
    };
    const Row rows[] = {
        {"pnlMain", frmAbout->pnlMain, frmAbout, {8, 8, 417, 169}},
        {"imgIcon", frmAbout->imgIcon, frmAbout->pnlMain, {16, 16, 32, 32}},
        {"pnlLine", frmAbout->pnlLine, frmAbout->pnlMain, {0, 88, 417, 2}},
        {"memWarning", frmAbout->memWarning, frmAbout->pnlMain, {16, 108, 385, 45}},
        {"cmdOK", frmAbout->cmdOK, frmAbout, {328, 184, 97, 20}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.element->parentWidget(), row.parent) << row.name;
        EXPECT_EQ(row.element->geometry(), row.bounds) << row.name;
    }
    // Labels are sized to their texts.
    EXPECT_EQ(frmAbout->lblTitle->text(), QStringLiteral("クインブリ"));
    EXPECT_EQ(frmAbout->lblTitle->pos(), QPoint(72, 16));
    EXPECT_EQ(frmAbout->lblTitle->height(), 27);
    EXPECT_EQ(frmAbout->lblTitle->font().pixelSize(), 27);
    EXPECT_GE(frmAbout->lblTitle->width(), frmAbout->lblTitle->sizeHint().width());
    EXPECT_EQ(frmAbout->lblVersion->text(), QStringLiteral("Version 1.1.0"));
    EXPECT_EQ(frmAbout->lblVersion->pos(), QPoint(160, 56));
    EXPECT_EQ(frmAbout->lblVersion->size(), frmAbout->lblVersion->sizeHint());
    EXPECT_EQ(frmAbout->lblVersion->font().pixelSize(), 13);
    EXPECT_FALSE(frmAbout->imgIcon->pixmap().isNull());
    EXPECT_EQ(frmAbout->imgIcon->pixmap().size(), QSize(32, 32));

    const QStringList lines = frmAbout->memWarning->toPlainText().split('\n');
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], QStringLiteral("警告："));
    EXPECT_TRUE(frmAbout->memWarning->isReadOnly());
    EXPECT_EQ(frmAbout->memWarning->frameShape(), QFrame::NoFrame);
    // The panel is disabled, so nothing in it takes focus or input.
    EXPECT_FALSE(frmAbout->pnlMain->isEnabled());
    EXPECT_FALSE(frmAbout->memWarning->isEnabled());
    EXPECT_EQ(frmAbout->cmdOK->text(), QStringLiteral("OK"));
    EXPECT_TRUE(frmAbout->cmdOK->isDefault());
}

// The first opening centres the box on the screen; the second finds it where
// the first left it. Enter closes it, Esc does not.
TEST_F(AboutBoxTest, FirstOpeningCentredLaterOpeningsKeepThePlace) {
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    OpenFromMenu([&] {
        EXPECT_TRUE(frmAbout->IsModalShowing());
        EXPECT_EQ(QApplication::activeModalWidget(), frmAbout);
        EXPECT_EQ(frmAbout->Left(), std::max(0, (screen.width() - frmAbout->Width()) / 2));
        EXPECT_EQ(frmAbout->Top(), std::max(0, (screen.height() - frmAbout->Height()) / 2));
        QTest::keyClick(frmAbout, Qt::Key_Escape);
        EXPECT_TRUE(frmAbout->isVisible());
        QTest::keyClick(frmAbout, Qt::Key_F1);
        EXPECT_TRUE(frmAbout->isVisible());
        frmAbout->SetLeft(37);
        frmAbout->SetTop(45);
        QTest::keyClick(frmAbout, Qt::Key_Return);
        EXPECT_FALSE(frmAbout->isVisible());
    });
    OpenFromMenu([] {
        EXPECT_EQ(frmAbout->Left(), 37);
        EXPECT_EQ(frmAbout->Top(), 45);
        EXPECT_EQ(frmAbout->size(), QSize(433, 209));
        // Enter wherever the focus is, and the OK button itself.
        QTest::keyClick(frmAbout->cmdOK, Qt::Key_Enter);
        EXPECT_FALSE(frmAbout->isVisible());
    });
    OpenFromMenu([] { QTest::mouseClick(frmAbout->cmdOK, Qt::LeftButton); });
    OpenFromMenu([] { frmAbout->close(); });  // the close box
}

TEST_F(AboutBoxTest, CentringNeverGoesNegative) {
    // A box wider than the reference would start left of it: it is raised to 0.
    TForm wide;
    wide.Position = TPosition::MainFormCenter;
    frmMain->SetBounds(0, 0, 400, 300);
    wide.resize(900, 700);
    wide.show();
    EXPECT_EQ(wide.Left(), 0);
    EXPECT_EQ(wide.Top(), 0);
    wide.hide();
    TForm narrow;
    narrow.Position = TPosition::MainFormCenter;
    frmMain->SetBounds(100, 50, 501, 401);
    narrow.resize(100, 100);
    narrow.show();
    EXPECT_EQ(narrow.Left(), 100 + (frmMain->Width() - narrow.Width()) / 2);
    EXPECT_EQ(narrow.Top(), 50 + (frmMain->Height() - narrow.Height()) / 2);
    narrow.hide();
}

}  // namespace

namespace {

TEST_F(AboutBoxTest, RendersOffscreen) {
    frmAbout->show();
    const QImage shot = frmAbout->grab().toImage();
    frmAbout->Close();
    ASSERT_EQ(shot.size(), QSize(433, 209));
    QDir().mkpath(QUIMBLY_BIN_DIR "/../screenshots");
    shot.save(QUIMBLY_BIN_DIR "/../screenshots/about_box.png");
    // The title draws dark, not greyed, although its panel is disabled.
    const QRect title = frmAbout->lblTitle->geometry().translated(frmAbout->pnlMain->pos());
    int dark = 0;
    for (int y = title.top(); y <= title.bottom(); ++y)
        for (int x = title.left(); x <= title.right(); ++x)
            if (qGray(shot.pixel(x, y)) < 60)
                ++dark;
    EXPECT_GT(dark, 50);
    // So does the icon, in colour: the close-up shows the green tree.
    const QPoint icon = frmAbout->imgIcon->geometry().translated(frmAbout->pnlMain->pos()).topLeft();
    int green = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const QColor c = shot.pixelColor(icon + QPoint(x, y));
            if (c.green() > c.red() + 30)
                ++green;
        }
    EXPECT_GT(green, 40);
}

}  // namespace
