#include "toolkit/form.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>

#include "toolkit/application.h"

TForm::TForm(QWidget* owner) : QWidget(owner, Qt::Window) {
    setAttribute(Qt::WA_DeleteOnClose, false);
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

void TForm::SetWidth(int width) {
    width = std::max(width, minOuterWidth_);
    resize(std::max(0, width - FrameExtra().width()), geometry().height());
}

void TForm::SetHeight(int height) {
    height = std::max(height, minOuterHeight_);
    resize(geometry().width(), std::max(0, height - FrameExtra().height()));
}

void TForm::SetBounds(int left, int top, int width, int height) {
    move(left, top);
    SetWidth(width);
    SetHeight(height);
}

void TForm::SetMinimumOuterSize(int width, int height) {
    minOuterWidth_ = width;
    minOuterHeight_ = height;
    const QSize extra = FrameExtra();
    setMinimumSize(std::max(0, width - extra.width()), std::max(0, height - extra.height()));
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
