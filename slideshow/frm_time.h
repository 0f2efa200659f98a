#pragma once
// TfrmTime: the slide interval dialog.

#include <cstdint>

#include "toolkit/form.h"

class TfrmTime : public TForm {
    Q_OBJECT
public:
    TfrmTime();
    void FormCreate();

    std::int32_t position = 1;  // stands in for the track bar until it exists

protected:
    void FormClose() override;
};

extern TfrmTime* frmTime;
