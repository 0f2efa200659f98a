#include "app/startup.h"

#include <QApplication>

#include "about/frm_about.h"
#include "browser/frm_main.h"
#include "picture/jpeg_decoder.h"
#include "resources/glyphs.h"
#include "slideshow/frm_slide.h"
#include "slideshow/frm_time.h"
#include "toolkit/application.h"
#include "toolkit/create_form.h"

void StartUp() {
    ReadJPEGPixelFormatFromScreen();
    Application->Title = QStringLiteral("クインブリ");
    Application->HelpFile = QStringLiteral("Quimbly.hlp");
    QApplication::setWindowIcon(AppIcon());
    CreateForm(frmMain);
    CreateForm(frmAbout);
    CreateForm(frmSlide);
    CreateForm(frmTime);
}

template <class T>
static void DestroyForm(T*& reference) {
    delete reference;
    reference = nullptr;
}

void ShutDown() {
    for (QWidget* window : QApplication::topLevelWidgets())
        window->hide();
    DestroyForm(frmTime);
    DestroyForm(frmSlide);
    DestroyForm(frmAbout);
    DestroyForm(frmMain);
    if (Application) {
        Application->MainForm = nullptr;
        Application->OnException = nullptr;
    }
}
