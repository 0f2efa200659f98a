// Picture windows opened from the thumbnail strip, and the commands that open
// and free them all.
#include "browser/frm_main.h"
#include "browser/picture_window.h"
#include "toolkit/application.h"
#include "toolkit/image.h"

namespace {

const QString kViewLimitMessage = QStringLiteral("表示できる画像は300枚までです。");

}  // namespace

void TfrmMain::NewImgClick(TImage* sender) {
    // Hidden windows still count: they are freed only by close-all or a rebuild.
    if (intViewCount > MaxPictures - 1) {
        Application->MessageBox(kViewLimitMessage);
        return;
    }
    auto* window = new TPictureWindow(this, *sender);
    // Stored and counted at once, so that close-all frees it whatever happens next.
    frmView[intViewCount] = window;
    ++intViewCount;
    ShareShortcutsWith(window);
    window->show();
    window->raise();
    window->activateWindow();
    // The desktop chose the place; only the size is ours.
    window->SetWidth(640);
    window->SetHeight(480);
}

void TfrmMain::mnuImgOpenClick(QObject* /*sender*/) {
    const std::int32_t count = intThumbCount;
    for (std::int32_t i = 0; i < count; ++i) {
        if (intViewCount > MaxPictures - 1) {
            Application->MessageBox(kViewLimitMessage);
            return;
        }
        NewImgClick(imgThumb[i]);
    }
}

void TfrmMain::mnuImgCClick(QObject* /*sender*/) {
    for (std::int32_t i = 0; i < intViewCount && i < MaxPictures; ++i) {
        delete frmView[i];
        frmView[i] = nullptr;
    }
    intViewCount = 0;
}
