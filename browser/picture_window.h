#pragma once
// A picture window: a plain top-level window owned by the main window, with one
// picture box filling its client area that shows a copy of a thumbnail's picture.

#include "toolkit/form.h"

class TImage;

class TPictureWindow : public TForm {
    Q_OBJECT
public:
    // Built hidden: caption = the thumbnail's hint, help context 1, the window
    // colour behind the picture. The picture is shared, not read again.
    TPictureWindow(QWidget* owner, const TImage& thumbnail);

    TImage* Box() const { return box_; }

protected:
    // Follows the owner: hidden while it is minimised, shown again when it is restored.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TImage* box_ = nullptr;
    bool hiddenWithOwner_ = false;
};
