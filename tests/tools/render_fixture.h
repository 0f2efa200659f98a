#pragma once
// Runs quimbly-render on files in a temporary folder of its own.
#include <gtest/gtest.h>

#include <QStringList>
#include <QTemporaryDir>

#include "tests/support/jpeg_fixtures.h"

class RenderFixture : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
    QString Path(const char* name) const { return dir_.filePath(QString::fromUtf8(name)); }
    static TestProcessResult Run(const QStringList& arguments) {
        return RunTestProcess(QStringLiteral(QUIMBLY_BIN_DIR "/quimbly-render"), arguments);
    }
    QTemporaryDir dir_;
};
