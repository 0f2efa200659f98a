#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <QTextBrowser>
#include <QUrl>

#include "help/help_window.h"
#include "tests/help/help_fixture.h"

namespace {

using HelpWindowTest = HelpFileFixture;

QString Shown(const THelpWindow& window) { return window.State()["topic"].toString(); }

TEST_F(HelpWindowTest, RequestsShowContentsFinderAndContextTopics) {
    THelpWindow window(HelpPath());
    window.Serve({THelpRequest::Contents, 0});
    EXPECT_EQ(Shown(window), "contents");
    EXPECT_EQ(window.windowTitle(), "テスト ヘルプ");
    EXPECT_TRUE(window.topicView->toPlainText().contains("メインウィンドウ"));

    window.Serve({THelpRequest::Context, 3});
    EXPECT_EQ(Shown(window), "timing");
    EXPECT_TRUE(window.topicView->toPlainText().contains("一秒から十秒まで"));

    window.Serve({THelpRequest::Finder, 0});
    EXPECT_EQ(window.State()["view"].toString(), "finder");
    EXPECT_EQ(window.pages->currentIndex(), 1);
    EXPECT_EQ(window.finderResults->count(), 5);
}

TEST_F(HelpWindowTest, FinderTypedQueryOpensTheMatchingTopic) {
    THelpWindow window(HelpPath());
    window.show();
    window.Serve({THelpRequest::Finder, 0});
    QTest::keyClicks(window.finderQuery, "interval");
    ASSERT_EQ(window.finderResults->count(), 1);
    EXPECT_EQ(window.finderResults->item(0)->text(), "スライドショー");
    QTest::keyClick(window.finderQuery, Qt::Key_Return);
    EXPECT_EQ(Shown(window), "slide");

    // Back returns to the finder's last topic chain: from here to nothing
    // earlier, then a link and back again.
    emit window.topicView->anchorClicked(QUrl("topic:timing"));
    EXPECT_EQ(Shown(window), "timing");
    window.backButton->click();
    EXPECT_EQ(Shown(window), "slide");
}

TEST_F(HelpWindowTest, UnknownContextShowsANotFoundPage) {
    THelpWindow window(HelpPath());
    window.Serve({THelpRequest::Context, 42});
    EXPECT_EQ(window.State()["view"].toString(), "message");
    EXPECT_TRUE(window.topicView->toPlainText().contains("42"));
}

TEST_F(HelpWindowTest, MissingOrBrokenFileIsReportedInTheWindow) {
    WriteHelpFile("not a help file\n");
    THelpWindow window(HelpPath());
    window.Serve({THelpRequest::Context, 1});
    EXPECT_EQ(window.State()["view"].toString(), "message");
    EXPECT_TRUE(window.topicView->toPlainText().contains("壊れています"));
    EXPECT_FALSE(window.contentsButton->isEnabled());

    QFile::remove(HelpPath());
    window.Serve({THelpRequest::Contents, 0});
    EXPECT_TRUE(window.topicView->toPlainText().contains("見つかりません"));

    // Fixed while the viewer is open: the next request shows it.
    WriteHelpFile(kSmallHelpFile);
    window.Serve({THelpRequest::Context, 2});
    EXPECT_EQ(Shown(window), "slide");
    EXPECT_TRUE(window.contentsButton->isEnabled());
}

}  // namespace
