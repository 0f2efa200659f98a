#include "app/startup.h"
#include "browser/frm_main.h"
#include "toolkit/application.h"

int main(int argc, char** argv) {
    TGuardedApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    TApplication application;
    StartUp();
    frmMain->show();
    const int status = app.exec();
    ShutDown();
    return status;
}
