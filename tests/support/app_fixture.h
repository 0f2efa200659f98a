#pragma once
// Fixtures shared by the GUI tests.

#include <gtest/gtest.h>

#include <QDialog>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>

// The whole program started as main() starts it, with its program folder in a
// temporary folder so that no two tests share a state file.
class AppFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the program (the four windows); call after preparing programDir.
    void StartProgram();
    void StopProgram();

    QString ProgramDir() const { return programDir_.path() + "/"; }

    QTemporaryDir programDir_;
    bool started_ = false;
};

// Records every message box shown while it lives and dismisses each one from
// the box's own modal loop, as a user pressing Enter would.
class MessageBoxRecorder {
public:
    MessageBoxRecorder();
    ~MessageBoxRecorder();
    QStringList texts;
    QStringList captions;

private:
    QMetaObject::Connection connection_;
};
