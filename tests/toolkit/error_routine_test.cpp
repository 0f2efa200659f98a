#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <stdexcept>

#include "tests/support/app_fixture.h"
#include "toolkit/application.h"

namespace {

struct HookScope {
    explicit HookScope(TApplication::ExceptionHook hook) { Application->OnException = std::move(hook); }
    ~HookScope() { Application->OnException = nullptr; }
};

}  // namespace

TEST(ErrorRoutine, AbortIsDroppedEvenWithoutHook) {
    MessageBoxRecorder boxes;
    Guard(nullptr, [] { throw EAbort(); });
    EXPECT_TRUE(boxes.texts.isEmpty());
}

TEST(ErrorRoutine, HookReceivesSenderAndErrorAndNothingIsShown) {
    MessageBoxRecorder boxes;
    QObject sender;
    QObject* seenSender = nullptr;
    QString seenMessage;
    HookScope hook([&](QObject* s, const Exception& e) {
        seenSender = s;
        seenMessage = e.Message();
    });
    Guard(&sender, [] { throw EJPEG(QStringLiteral("JPEG エラー #42")); });
    EXPECT_EQ(seenSender, &sender);
    EXPECT_EQ(seenMessage, QStringLiteral("JPEG エラー #42"));
    EXPECT_TRUE(boxes.texts.isEmpty());
}

TEST(ErrorRoutine, WithoutHookTheMessageIsShownInAnErrorBox) {
    MessageBoxRecorder boxes;
    Guard(nullptr, [] { throw EReadError(QStringLiteral("ストリームからの読み込みエラー")); });
    ASSERT_EQ(boxes.texts.size(), 1);
    EXPECT_EQ(boxes.texts[0], QStringLiteral("ストリームからの読み込みエラー"));
}

TEST(ErrorRoutine, ForeignErrorsGetTheGenericBoxEvenWithAHook) {
    MessageBoxRecorder boxes;
    int hookCalls = 0;
    HookScope hook([&](QObject*, const Exception&) { ++hookCalls; });
    Guard(nullptr, [] { throw std::runtime_error("boom"); });
    EXPECT_EQ(hookCalls, 0);
    ASSERT_EQ(boxes.texts.size(), 1);
    EXPECT_EQ(boxes.texts[0], QStringLiteral("boom"));
}

TEST(ErrorRoutine, FailingSignalHandlerStopsAtTheFailingStep) {
    HookScope hook([](QObject*, const Exception&) {});
    QPushButton button;
    QStringList steps;
    On(&button, &QPushButton::clicked, &button, [&] {
        steps << "before";
        throw EInvalidGraphic(QStringLiteral("x"));
        steps << "after";
    });
    button.click();
    button.click();
    EXPECT_EQ(steps, (QStringList{"before", "before"}));
}

TEST(MessageBox, CaptionTitleSingleOkButtonEnterAndEscDismiss) {
    Application->Title = QStringLiteral("クインブリ");
    for (int key : {Qt::Key_Return, Qt::Key_Escape}) {
        QString caption;
        QStringList buttons;
        bool dismissed = false;
        auto connection = QObject::connect(Application, &TApplication::messageBoxShown,
                                           [&](QDialog* box, const QString& c, const QString&) {
                                               caption = c;
                                               for (auto* b : box->findChildren<QPushButton*>())
                                                   buttons << b->text();
                                               QTimer::singleShot(0, box, [box, key] {
                                                   QTest::keyClick(box, Qt::Key(key));
                                               });
                                           });
        Application->MessageBox(QStringLiteral("表示できる画像は300枚までです。"));
        dismissed = true;
        QObject::disconnect(connection);
        EXPECT_TRUE(dismissed);
        EXPECT_EQ(caption, QStringLiteral("クインブリ"));
        EXPECT_EQ(buttons, QStringList{"OK"});
    }
}
