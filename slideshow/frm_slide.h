#pragma once
// TfrmSlide: the slide show window.

#include <cstdint>

#include "toolkit/form.h"

class TfrmSlide : public TForm {
    Q_OBJECT
public:
    TfrmSlide();
    void FormCreate();

    std::int32_t intSlideNext = 0;
    std::int32_t intSlideTime = 1;
};

extern TfrmSlide* frmSlide;
