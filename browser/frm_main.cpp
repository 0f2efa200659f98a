#include "browser/frm_main.h"

#include <QCoreApplication>

#include "app/help_linkage.h"
#include "app/state_file.h"
#include "toolkit/application.h"

TfrmMain* frmMain = nullptr;

TfrmMain::TfrmMain() {
    setWindowTitle(QStringLiteral("クインブリ"));
    HelpContext = 1;
}

TfrmMain::~TfrmMain() {
    Guard(this, [this] { FormDestroy(); });
}

void TfrmMain::FormCreate() {
    Application->OnException = [this](QObject* sender, const Exception& error) { IgnoreException(sender, error); };
    intThumbCount = 0;
    intViewCount = 0;
    strAppDir = ProgramFolderOverride.isEmpty() ? QCoreApplication::applicationDirPath() : ProgramFolderOverride;
    if (!strAppDir.endsWith(u'/'))
        strAppDir += u'/';
    CompleteHelpFilePath(strAppDir);
    RestoreState(*this);
}

void TfrmMain::FormDestroy() { SaveState(*this); }

void TfrmMain::mnuFileXClick(QObject* /*sender*/) { Close(); }

void TfrmMain::mnuHelpAClick(QObject* /*sender*/) {}

void TfrmMain::IgnoreException(QObject* /*sender*/, const Exception& /*error*/) {}
