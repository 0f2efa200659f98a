#include "tests/support/app_fixture.h"

#include <QApplication>
#include <QTimer>

#include "app/startup.h"
#include "browser/frm_main.h"
#include "toolkit/application.h"

void AppFixture::SetUp() { ASSERT_TRUE(programDir_.isValid()); }

void AppFixture::TearDown() { StopProgram(); }

void AppFixture::StartProgram() {
    TfrmMain::ProgramFolderOverride = ProgramDir();
    StartUp();
    started_ = true;
}

void AppFixture::StopProgram() {
    if (!started_)
        return;
    ShutDown();
    TfrmMain::ProgramFolderOverride.clear();
    started_ = false;
}

MessageBoxRecorder::MessageBoxRecorder() {
    connection_ = QObject::connect(Application, &TApplication::messageBoxShown,
                                   [this](QDialog* box, const QString& caption, const QString& text) {
                                       captions << caption;
                                       texts << text;
                                       QTimer::singleShot(0, box, &QDialog::accept);
                                   });
}

MessageBoxRecorder::~MessageBoxRecorder() { QObject::disconnect(connection_); }
