#include "slideshow/frm_slide.h"

TfrmSlide* frmSlide = nullptr;

TfrmSlide::TfrmSlide() { HelpContext = 2; }

void TfrmSlide::FormCreate() {
    intSlideNext = 1;
    SetWidth(640);
    SetHeight(480);
}
