#pragma once
// TImage: the picture box. A child element without a native window of its own
// that paints its picture on its holder, placed by the fitting rule.

#include <QCursor>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>

#include "picture/picture.h"
#include "picture/placement.h"

class TImage : public QWidget {
    Q_OBJECT
public:
    enum class TAlign { None, Client };

    explicit TImage(QWidget* holder = nullptr);  // 105 x 105 at 0, 0
    ~TImage() override;

    // Owned by the box; loading or assigning it repaints the box.
    TPicture* Picture() const { return picture_.get(); }
    void SetPicture(const TPicture* source) { picture_->Assign(source); }

    bool Center() const { return center_; }
    bool Proportional() const { return proportional_; }
    bool Stretch() const { return stretch_; }
    // Setting the current value does nothing; a change repaints the box.
    void SetCenter(bool on);
    void SetProportional(bool on);
    void SetStretch(bool on);

    // alClient: the box always covers its holder's whole client area.
    void SetAlign(TAlign align);
    TAlign Align() const { return align_; }

    QString Hint() const { return toolTip(); }
    void SetHint(const QString& hint) { setToolTip(hint); }

    QCursor Cursor() const { return cursor(); }
    void SetCursor(const QCursor& shape) { setCursor(shape); }

    // Press and release of the left button over the same box. A double click
    // clicks once.
    std::function<void(TImage* sender)> OnClick;

    // The placement rectangle in box coordinates for the current picture, size and flags.
    QRect PlacementRect() const;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TPlacementFlags Flags() const { return {center_, proportional_, stretch_}; }
    void SetFlag(bool& flag, bool on);
    void PictureChanged();
    void WatchHolder(QWidget* holder);
    void FollowHolder();

    std::unique_ptr<TPicture> picture_;
    bool center_ = false;
    bool proportional_ = false;
    bool stretch_ = false;
    bool pressed_ = false;
    TAlign align_ = TAlign::None;
    QWidget* watchedHolder_ = nullptr;
};
