#include "browser/frm_main.h"

void TfrmMain::NewImgClick(TImage* /*sender*/) {}

void TfrmMain::mnuImgOpenClick(QObject* /*sender*/) {}

void TfrmMain::mnuImgCClick(QObject* /*sender*/) {}
