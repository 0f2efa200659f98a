#include "slideshow/frm_time.h"

#include "slideshow/frm_slide.h"

TfrmTime* frmTime = nullptr;

TfrmTime::TfrmTime() {
    setWindowTitle(QStringLiteral("スライド時間"));
    HelpContext = 3;
}

void TfrmTime::FormCreate() { position = frmSlide->intSlideTime; }

void TfrmTime::FormClose() { frmSlide->intSlideTime = position; }
