#pragma once
// A small help file in a temporary folder, for the viewer's tests.

#include <gtest/gtest.h>

#include <QFile>
#include <QString>
#include <QTemporaryDir>

inline const char* kSmallHelpFile =
    "QUIMBLY-HELP 1\n"
    "@file テスト ヘルプ\n"
    "@topic contents\n"
    "@title 目次\n"
    "- [[window]]\n"
    "- [[slide]]\n"
    "@topic window\n"
    "@title メインウィンドウ\n"
    "@context 1\n"
    "フォルダを選びます。 [[slide|スライドへ]]\n"
    "@topic slide\n"
    "@title スライドショー\n"
    "@context 2\n"
    "画像を順に表示します。Interval は [[timing]] で。\n"
    "@topic timing\n"
    "@title 間隔\n"
    "@context 3\n"
    "一秒から十秒まで。\n"
    "@topic none\n"
    "@title ヘルプなし\n"
    "@context 0\n"
    "専用のトピックはありません。\n";

class HelpFileFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        WriteHelpFile(kSmallHelpFile);
    }

    QString HelpPath() const { return dir_.filePath(QStringLiteral("ヘルプ フォルダ.hlp")); }

    void WriteHelpFile(const QByteArray& contents) const {
        QFile file(HelpPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(contents);
    }

    QTemporaryDir dir_;
};
