#include "toolkit/image.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "picture/box_paint.h"
#include "toolkit/application.h"

TImage::TImage(QWidget* holder) : QWidget(holder), picture_(std::make_unique<TPicture>()) {
    // No background of its own: the holder paints beneath the box, and the box
    // paints nothing but its picture.
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    setAttribute(Qt::WA_NoSystemBackground, false);
    setAutoFillBackground(false);
    setGeometry(0, 0, 105, 105);
    picture_->OnChange = [this] { PictureChanged(); };
}

TImage::~TImage() {
    picture_->OnChange = nullptr;
    WatchHolder(nullptr);
}

void TImage::SetFlag(bool& flag, bool on) {
    if (flag == on)
        return;
    flag = on;
    update();
}

void TImage::SetCenter(bool on) { SetFlag(center_, on); }
void TImage::SetProportional(bool on) { SetFlag(proportional_, on); }
void TImage::SetStretch(bool on) { SetFlag(stretch_, on); }

void TImage::SetAlign(TAlign align) {
    if (align_ == align)
        return;
    align_ = align;
    WatchHolder(align_ == TAlign::Client ? parentWidget() : nullptr);
    FollowHolder();
}

QRect TImage::PlacementRect() const {
    return ::PlacementRect(picture_->Width(), picture_->Height(), width(), height(), Flags());
}

void TImage::PictureChanged() { update(); }

void TImage::WatchHolder(QWidget* holder) {
    if (watchedHolder_ == holder)
        return;
    if (watchedHolder_)
        watchedHolder_->removeEventFilter(this);
    watchedHolder_ = holder;
    if (watchedHolder_)
        watchedHolder_->installEventFilter(this);
}

void TImage::FollowHolder() {
    if (align_ == TAlign::Client && parentWidget())
        setGeometry(parentWidget()->rect());
}

bool TImage::event(QEvent* event) {
    if (event->type() == QEvent::ParentChange) {
        WatchHolder(align_ == TAlign::Client ? parentWidget() : nullptr);
        FollowHolder();
    }
    return QWidget::event(event);
}

bool TImage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == watchedHolder_ && event->type() == QEvent::Resize)
        FollowHolder();
    return QWidget::eventFilter(watched, event);
}

// A decoding error at a JPEG image's first drawing goes to the error routine;
// this box then shows nothing in this paint, and later paints show what the
// decoding left without raising again.
void TImage::paintEvent(QPaintEvent* event) {
    Guard(this, [&] {
        QPainter painter(this);
        PaintPictureBox(painter, *picture_, size(), Flags(), event->region());
    });
}

void TImage::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    pressed_ = true;
    event->accept();  // keeps the release coming to this box
}

// The second press of a double click starts no click of its own.
void TImage::mouseDoubleClickEvent(QMouseEvent* event) { event->accept(); }

void TImage::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return QWidget::mouseReleaseEvent(event);
    const bool clicked = pressed_ && rect().contains(event->position().toPoint());
    pressed_ = false;
    if (!clicked || !OnClick)
        return;
    // The handler may free this box (a rebuilt strip): run a copy of it.
    const auto handler = OnClick;
    Guard(this, [&] { handler(this); });
}
