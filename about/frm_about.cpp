#include "about/frm_about.h"

TfrmAbout* frmAbout = nullptr;

TfrmAbout::TfrmAbout() { setWindowTitle(QStringLiteral("クインブリ のバージョン情報")); }
