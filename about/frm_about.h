#pragma once
// TfrmAbout: the version window.

#include "toolkit/form.h"

class TfrmAbout : public TForm {
    Q_OBJECT
public:
    TfrmAbout();
    void FormCreate() {}
};

extern TfrmAbout* frmAbout;
