#include "browser/frm_main.h"

void TfrmMain::ShowThumbnails() {}
