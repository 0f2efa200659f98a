// The viewer started for real, as the program starts it, with requests that
// must all end up in one window.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QThread>
#include <functional>

#include "help/help_protocol.h"
#include "tests/help/help_fixture.h"
#include "toolkit/application.h"
#include "toolkit/help_bridge.h"

namespace {

class HelpViewerProcessTest : public HelpFileFixture {
protected:
    void SetUp() override {
        HelpFileFixture::SetUp();
        SetHelpViewerProgram(QStringLiteral(QUIMBLY_BIN_DIR "/quimbly-help"));
    }

    void TearDown() override {
        AskHelpViewer(HelpPath(), "quit", 2000);
        SetHelpViewerProgram(QString());
    }

    // Polls the running viewer's state until it satisfies done.
    QJsonObject WaitForState(const std::function<bool(const QJsonObject&)>& done) const {
        QElapsedTimer clock;
        clock.start();
        QJsonObject state;
        while (clock.elapsed() < 15000) {
            if (const auto answer = AskHelpViewer(HelpPath(), "state", 2000)) {
                state = QJsonDocument::fromJson(answer->toUtf8()).object();
                if (done(state))
                    return state;
            }
            QThread::msleep(50);
        }
        ADD_FAILURE() << "viewer state never matched; last: " << QJsonDocument(state).toJson().toStdString();
        return state;
    }

    static std::function<bool(const QJsonObject&)> Showing(const QString& view, const QString& topic) {
        return [=](const QJsonObject& s) { return s["view"] == view && s["topic"] == topic && s["visible"] == true; };
    }
};

TEST_F(HelpViewerProcessTest, OneWindowServesContentsFinderAndContextRequests) {
    SendHelpRequest(HelpPath(), HELP_CONTENTS, 0);
    const QJsonObject contents = WaitForState(Showing("topic", "contents"));
    EXPECT_EQ(contents["title"].toString(), "目次");
    EXPECT_EQ(contents["windowTitle"].toString(), "テスト ヘルプ");
    const qint64 pid = contents["pid"].toInteger();
    ASSERT_GT(pid, 0);

    SendHelpRequest(HelpPath(), HELP_FINDER, 0);
    const QJsonObject finder = WaitForState([](const QJsonObject& s) { return s["view"] == "finder"; });
    EXPECT_EQ(finder["pid"].toInteger(), pid);
    EXPECT_EQ(finder["results"].toArray().size(), 5);

    SendHelpRequest(HelpPath(), HELP_CONTEXT, 2);
    const QJsonObject slide = WaitForState(Showing("topic", "slide"));
    EXPECT_EQ(slide["title"].toString(), "スライドショー");
    EXPECT_EQ(slide["pid"].toInteger(), pid);

    SendHelpRequest(HelpPath(), HELP_CONTEXT, 0);
    EXPECT_EQ(WaitForState(Showing("topic", "none"))["pid"].toInteger(), pid);
}

// Viewers started for this help file, found by their command line.
int ViewersFor(const QString& helpFile) {
    int count = 0;
    for (const QString& pid : QDir("/proc").entryList(QDir::Dirs)) {
        QFile cmdline("/proc/" + pid + "/cmdline");
        if (!cmdline.open(QIODevice::ReadOnly))
            continue;
        const QList<QByteArray> words = cmdline.readAll().split('\0');
        if (words.size() > 1 && words[0].endsWith("quimbly-help") && words[1] == helpFile.toUtf8())
            ++count;
    }
    return count;
}

TEST_F(HelpViewerProcessTest, RequestsInQuickSuccessionEndInOneWindow) {
    for (int context : {1, 2, 3})
        SendHelpRequest(HelpPath(), HELP_CONTEXT, context);
    const QJsonObject state = WaitForState([](const QJsonObject& s) { return s["view"] == "topic"; });
    QElapsedTimer clock;
    clock.start();
    while (ViewersFor(HelpPath()) > 1 && clock.elapsed() < 10000)
        QThread::msleep(50);
    EXPECT_EQ(ViewersFor(HelpPath()), 1);
    EXPECT_EQ(WaitForState([](const QJsonObject&) { return true; })["pid"], state["pid"]);
}

TEST_F(HelpViewerProcessTest, MissingHelpFileIsReportedInsideTheViewer) {
    QFile::remove(HelpPath());
    SendHelpRequest(HelpPath(), HELP_CONTEXT, 1);
    const QJsonObject state = WaitForState([](const QJsonObject& s) { return s["view"] == "message"; });
    EXPECT_TRUE(state["error"].toString().contains("見つかりません"));
    EXPECT_TRUE(state["error"].toString().contains(HelpPath()));
}

TEST(HelpBridge, AMissingViewerIsSilent) {
    SetHelpViewerProgram(QStringLiteral("/nonexistent/quimbly-help"));
    SendHelpRequest(QStringLiteral("/nonexistent/Quimbly.hlp"), HELP_CONTENTS, 0);
    SetHelpViewerProgram(QString());
    SUCCEED();
}

}  // namespace
