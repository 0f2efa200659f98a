#pragma once
// TfrmTime: the slide interval dialog. Its track bar chooses how many whole
// seconds each picture of the slide show stays on screen, 1 to 10.

#include "toolkit/form.h"

class QLabel;
class QSlider;

class TfrmTime : public TForm {
    Q_OBJECT
public:
    TfrmTime();
    void FormCreate();

    QSlider* tkbSlide;
    QLabel* lblMsg;

protected:
    void FormClose() override;
    void showEvent(QShowEvent* event) override;
};

extern TfrmTime* frmTime;
