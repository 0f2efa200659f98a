#include "browser/frm_main.h"

void TfrmMain::mnuSlideOpenClick(QObject* /*sender*/) {}
