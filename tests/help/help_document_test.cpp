#include <gtest/gtest.h>

#include "help/help_document.h"
#include "tests/help/help_fixture.h"

namespace {

QList<QString> Ids(const QList<const THelpTopic*>& topics) {
    QList<QString> ids;
    for (const THelpTopic* topic : topics)
        ids << topic->id;
    return ids;
}

TEST(HelpDocument, ReadsTopicsContextsAndLinks) {
    THelpDocument document;
    ASSERT_TRUE(document.Parse(kSmallHelpFile)) << document.Error().toStdString();
    EXPECT_EQ(document.FileTitle(), "テスト ヘルプ");
    ASSERT_NE(document.Contents(), nullptr);
    EXPECT_EQ(document.Contents()->title, "目次");
    for (auto [context, id] : {std::pair{0, "none"}, {1, "window"}, {2, "slide"}, {3, "timing"}}) {
        ASSERT_NE(document.TopicOfContext(context), nullptr) << context;
        EXPECT_EQ(document.TopicOfContext(context)->id, id);
    }
    EXPECT_EQ(document.TopicOfContext(4), nullptr);
    EXPECT_EQ(document.PlainText(*document.Topic("window")), "フォルダを選びます。 スライドへ");
    const QString html = document.Html(*document.Contents());
    EXPECT_TRUE(html.contains("<a href=\"topic:window\">メインウィンドウ</a>")) << html.toStdString();
}

TEST(HelpDocument, FinderSearchesTitlesThenTextIgnoringCase) {
    THelpDocument document;
    ASSERT_TRUE(document.Parse(kSmallHelpFile));
    // Title first, then topics whose link text holds it.
    EXPECT_EQ(Ids(document.Search("スライド")), (QList<QString>{"slide", "contents", "window"}));
    EXPECT_EQ(Ids(document.Search("interval")), QList<QString>{"slide"});
    EXPECT_EQ(Ids(document.Search("画像 順に")), QList<QString>{"slide"});
    EXPECT_EQ(Ids(document.Search("画像 ありません")), QList<QString>{});
    EXPECT_EQ(document.Search("").size(), document.Topics().size());
}

TEST(HelpDocument, BrokenFilesSayWhereAndWhy) {
    const struct {
        QByteArray text;
        const char* expected;
    } cases[] = {
        {"", "1 行目"},
        {"HELP\n@topic contents\n@title x\n", "1 行目"},
        {"QUIMBLY-HELP 1\ntext outside\n", "2 行目"},
        {"QUIMBLY-HELP 1\n@topic contents\n@title a\n@bogus\n", "「@bogus」"},
        {"QUIMBLY-HELP 1\n@topic bad id\n", "bad id"},
        {"QUIMBLY-HELP 1\n@topic contents\n@title a\n@topic contents\n@title b\n", "二つ"},
        {"QUIMBLY-HELP 1\n@topic contents\n", "@title"},
        {"QUIMBLY-HELP 1\n@topic contents\n@title a\n@title b\n", "4 行目"},
        {"QUIMBLY-HELP 1\n@topic contents\n@title a\n@context -1\n", "-1"},
        {"QUIMBLY-HELP 1\n@topic contents\n@title a\n@context 99999999999\n", "99999999999"},
        {"QUIMBLY-HELP 1\n@topic contents\n@title a\n@context 1\n@topic b\n@title b\n@context 1\n", "二つのトピック"},
        {"QUIMBLY-HELP 1\n@topic contents\n@title a\n[[nowhere]]\n", "nowhere"},
        {"QUIMBLY-HELP 1\n@topic other\n@title a\n", "contents"},
        {"QUIMBLY-HELP 1\n@topic contents\n@title \xff\xfe\n", "UTF-8"},
        {"QUIMBLY-HELP 1\n" + QByteArray(THelpDocument::MaxFileBytes, '\n'), "大きすぎ"},
    };
    for (const auto& c : cases) {
        THelpDocument document;
        EXPECT_FALSE(document.Parse(c.text)) << c.text.left(80).toStdString();
        EXPECT_TRUE(document.Error().contains(QString::fromUtf8(c.expected)))
            << document.Error().toStdString() << " / expected " << c.expected;
        EXPECT_TRUE(document.Topics().isEmpty());
    }
}

TEST(HelpDocument, AcceptsByteOrderMarkCrLfCommentsAndEscapedAt) {
    THelpDocument document;
    ASSERT_TRUE(document.Parse("\xef\xbb\xbfQUIMBLY-HELP 1\r\n@# note\r\n@topic contents\r\n@title 目次\r\n@@home\r\n"))
        << document.Error().toStdString();
    EXPECT_EQ(document.Contents()->body, QStringList{"@home"});
}

TEST(HelpDocument, MissingFileIsReportedByName) {
    THelpDocument document;
    EXPECT_FALSE(document.Load("/nonexistent/Quimbly.hlp"));
    EXPECT_TRUE(document.Error().contains("/nonexistent/Quimbly.hlp"));
    EXPECT_TRUE(document.Error().contains("見つかりません"));
}

TEST(HelpDocument, ShippedHelpFileHasContentsAndEveryContext) {
    THelpDocument document;
    ASSERT_TRUE(document.Load(QStringLiteral(QUIMBLY_BIN_DIR "/Quimbly.hlp"))) << document.Error().toStdString();
    for (int context : {0, 1, 2, 3})
        EXPECT_NE(document.TopicOfContext(context), nullptr) << context;
    EXPECT_EQ(document.TopicOfContext(1)->title, "メインウィンドウ");
    EXPECT_EQ(document.TopicOfContext(2)->title, "スライドショー");
    EXPECT_EQ(document.TopicOfContext(3)->title, "スライド時間の設定");
}

}  // namespace
