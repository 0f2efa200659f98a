#include "browser/frm_main.h"
#include "slideshow/frm_slide.h"
#include "toolkit/image.h"

#include <QScrollBar>

void TfrmMain::mnuSlideOpenClick(QObject* /*sender*/) {
    if (intThumbCount < 1)
        return;
    frmSlide->imgSlide->SetPicture(imgThumb[0]->Picture());
    frmSlide->SetCaption(imgThumb[0]->Hint());
    frmSlide->scbSlide->setMinimum(1);
    frmSlide->scbSlide->setMaximum(intThumbCount);
    frmSlide->scbSlide->setValue(1);
    frmSlide->ShowModal();
}
