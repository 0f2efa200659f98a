#include "browser/picture_window.h"

#include <QEvent>
#include <QPalette>

#include "toolkit/image.h"

TPictureWindow::TPictureWindow(QWidget* owner, const TImage& thumbnail) : TForm(owner) {
    HelpContext = 1;
    // The margins beside the picture show the window colour.
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);

    box_ = new TImage(this);
    box_->SetCenter(true);
    box_->SetAlign(TImage::TAlign::Client);
    box_->SetStretch(true);
    box_->SetProportional(true);
    box_->SetPicture(thumbnail.Picture());

    setWindowTitle(thumbnail.Hint());
    if (owner)
        owner->installEventFilter(this);
}

bool TPictureWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::WindowStateChange) {
        if (parentWidget()->isMinimized()) {
            // A window hidden by its close box stays hidden.
            if (isVisible()) {
                hiddenWithOwner_ = true;
                hide();
            }
        } else if (hiddenWithOwner_) {
            hiddenWithOwner_ = false;
            show();
        }
    }
    return TForm::eventFilter(watched, event);
}
