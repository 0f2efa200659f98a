#pragma once
// TfrmAbout: the version window.

#include "toolkit/form.h"
#include "toolkit/panel.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

class TfrmAbout : public TForm {
    Q_OBJECT
public:
    TfrmAbout();
    void FormCreate() {}

    void cmdOKClick(QObject* sender);

    TPanel* pnlMain = nullptr;
    QLabel* imgIcon = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
    TPanel* pnlLine = nullptr;
    QPlainTextEdit* memWarning = nullptr;
    QPushButton* cmdOK = nullptr;
};

extern TfrmAbout* frmAbout;
