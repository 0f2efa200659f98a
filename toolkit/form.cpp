#include "toolkit/form.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

#include "toolkit/application.h"
#include "toolkit/window_font.h"

TForm::TForm(QWidget* owner) : QWidget(owner, Qt::Window) {
    setAttribute(Qt::WA_DeleteOnClose, false);
    setFont(WindowFont());
}

// Width and height the frame adds around the client area (zero where the
// window system reports no frame, as on the offscreen platform).
QSize TForm::FrameExtra() const {
    const QRect outer = frameGeometry();
    const QRect inner = geometry();
    return {outer.width() - inner.width(), outer.height() - inner.height()};
}

int TForm::Left() const { return frameGeometry().left(); }
int TForm::Top() const { return frameGeometry().top(); }
int TForm::Width() const { return frameGeometry().width(); }
int TForm::Height() const { return frameGeometry().height(); }

void TForm::SetLeft(int left) { move(left, Top()); }
void TForm::SetTop(int top) { move(Left(), top); }

// Until the window system has reported the frame, an outer size is kept and
// applied again once the frame is known, so a window never comes out larger
// than the program asked (and a stored size never grows from run to run).
bool TForm::FrameKnown() const { return isVisible() && !FrameExtra().isNull(); }

void TForm::SetWidth(int width) {
    ApplyMinimumSize();  // the frame may have become known since
    width = std::max(width, minOuterWidth_);
    pendingWidth_ = FrameKnown() ? -1 : width;
    resize(std::max(0, width - FrameExtra().width()), geometry().height());
}

void TForm::SetHeight(int height) {
    ApplyMinimumSize();  // the frame may have become known since
    height = std::max(height, minOuterHeight_);
    pendingHeight_ = FrameKnown() ? -1 : height;
    resize(geometry().width(), std::max(0, height - FrameExtra().height()));
}

void TForm::ApplyPendingSize() {
    if ((pendingWidth_ < 0 && pendingHeight_ < 0) || !FrameKnown() || windowState() != Qt::WindowNoState)
        return;
    const QSize extra = FrameExtra();
    const int width = pendingWidth_ < 0 ? geometry().width() : std::max(0, pendingWidth_ - extra.width());
    const int height = pendingHeight_ < 0 ? geometry().height() : std::max(0, pendingHeight_ - extra.height());
    pendingWidth_ = pendingHeight_ = -1;
    resize(width, height);
}

void TForm::SetBounds(int left, int top, int width, int height) {
    move(left, top);
    SetWidth(width);
    SetHeight(height);
}

void TForm::SetMinimumOuterSize(int width, int height) {
    minOuterWidth_ = width;
    minOuterHeight_ = height;
    outerMinimumSet_ = true;
    ApplyMinimumSize();
}

// The window system limits the client area; the frame is often known only
// after the window has been shown, so the limit is renewed whenever it changes.
void TForm::ApplyMinimumSize() {
    // A window that never set an outer minimum keeps its own (a fixed dialog's).
    if (!outerMinimumSet_)
        return;
    const QSize extra = FrameExtra();
    const QSize minimum(std::max(0, minOuterWidth_ - extra.width()), std::max(0, minOuterHeight_ - extra.height()));
    if (minimumSize() != minimum)
        setMinimumSize(minimum);
}

// A window system that ignores the size hint still does not get the window
// below its minimum: it is grown back right after.
void TForm::KeepMinimumSize() {
    if (!isVisible() || windowState() != Qt::WindowNoState)
        return;
    if (width() >= minimumWidth() && height() >= minimumHeight())
        return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (isVisible() && windowState() == Qt::WindowNoState)
                resize(size().expandedTo(minimumSize()));
        },
        Qt::QueuedConnection);
}

void TForm::FollowFrame(bool painted) {
    ApplyMinimumSize();
    ApplyPendingSize();
    KeepMinimumSize();
    if (placementPending_ && FrameKnown())
        PlaceAtFirstOpening();
    // Painted without a frame: this window has none, and what was set stands.
    if (painted && !FrameKnown()) {
        pendingWidth_ = pendingHeight_ = -1;
        placementPending_ = false;
    }
}

bool TForm::event(QEvent* event) {
    // Before any showEvent runs, so that placement sees the final outer size.
    if (event->type() == QEvent::Show)
        FollowFrame(false);
    const bool result = QWidget::event(event);
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::WindowStateChange:
        FollowFrame(false);
        break;
    case QEvent::Paint:
        // A window manager may frame the window without moving the client
        // area; the first painting after the mapping is the sign.
        if (placementPending_ || pendingWidth_ >= 0 || pendingHeight_ >= 0)
            QMetaObject::invokeMethod(this, [this] { FollowFrame(true); }, Qt::QueuedConnection);
        break;
    default:
        break;
    }
    return result;
}

void TForm::showEvent(QShowEvent* event) {
    if (!opened_) {
        opened_ = true;
        PlaceAtFirstOpening();
    }
    QWidget::showEvent(event);
}

void TForm::PlaceAtFirstOpening() {
    QRect reference;
    if (Position == TPosition::ScreenCenter) {
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            reference = QRect(QPoint(0, 0), screen->geometry().size());
    } else if (Position == TPosition::MainFormCenter) {
        if (Application && Application->MainForm && Application->MainForm != this) {
            const TForm* main = Application->MainForm;
            reference = QRect(main->Left(), main->Top(), main->Width(), main->Height());
        }
    }
    if (reference.isNull())
        return;
    // Centred again once the window system has told the frame's size.
    placementPending_ = FrameExtra().isNull();
    // An outer size still waiting for the frame is the size the window will have.
    const int width = pendingWidth_ >= 0 ? pendingWidth_ : Width();
    const int height = pendingHeight_ >= 0 ? pendingHeight_ : Height();
    const int left = reference.left() + (reference.width() - width) / 2;
    const int top = reference.top() + (reference.height() - height) / 2;
    move(std::max(0, left), std::max(0, top));
}

void TForm::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && DefaultButton && DefaultButton->isVisible() && DefaultButton->isEnabled()) {
        DefaultButton->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TForm::ShowModal() {
    QEventLoop loop;
    modalLoop_ = &loop;
    setWindowModality(Qt::ApplicationModal);
    show();
    raise();
    activateWindow();
    if (isVisible())
        loop.exec(QEventLoop::DialogExec);
    modalLoop_ = nullptr;
    setWindowModality(Qt::NonModal);
}

void TForm::closeEvent(QCloseEvent* event) {
    Guard(this, [this] { FormClose(); });
    event->accept();
    if (Application && Application->MainForm == this)
        QCoreApplication::quit();
}

void TForm::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (modalLoop_ && !isVisible())
        modalLoop_->quit();
}
