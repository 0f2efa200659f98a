#include "browser/frm_main.h"
#include "toolkit/application.h"

void TfrmMain::mnuHelpHClick(QObject* /*sender*/) { Application->HelpCommand(HELP_CONTENTS, 0); }

void TfrmMain::mnuHelpCClick(QObject* /*sender*/) { Application->HelpCommand(HELP_FINDER, 0); }
