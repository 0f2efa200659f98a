#include "slideshow/frm_time.h"

#include <QLabel>
#include <QSlider>

#include "slideshow/frm_slide.h"

TfrmTime* frmTime = nullptr;

TfrmTime::TfrmTime() {
    // A fixed dialog frame with the close box only.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setWindowTitle(QStringLiteral("スライド時間"));
    Position = TPosition::MainFormCenter;
    HelpContext = 3;
    setFixedSize(355, 97);

    tkbSlide = new QSlider(Qt::Horizontal, this);
    tkbSlide->setGeometry(8, 48, 337, 41);
    tkbSlide->setRange(1, 10);
    tkbSlide->setValue(1);
    tkbSlide->setSingleStep(1);
    tkbSlide->setPageStep(2);
    tkbSlide->setTickPosition(QSlider::TicksBelow);
    tkbSlide->setTickInterval(1);
    tkbSlide->setToolTip(QStringLiteral("スライド間隔を秒単位で設定します"));
    tkbSlide->setFocusPolicy(Qt::StrongFocus);

    lblMsg = new QLabel(QStringLiteral("スライド時間の間隔を1秒から10秒まで指定できます。"), this);
    lblMsg->move(16, 24);
    lblMsg->adjustSize();
    lblMsg->setFocusPolicy(Qt::NoFocus);
}

void TfrmTime::FormCreate() { tkbSlide->setValue(frmSlide->intSlideTime); }

void TfrmTime::FormClose() { frmSlide->intSlideTime = tkbSlide->value(); }

void TfrmTime::showEvent(QShowEvent* event) {
    TForm::showEvent(event);
    tkbSlide->setFocus();
}
