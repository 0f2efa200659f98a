#include "toolkit/splitter.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "toolkit/align_layout.h"

namespace {

// The drag line: a 4-pixel band that inverts every other pixel beneath it, so
// it shows on any background and leaves the panes untouched.
class TSplitLine : public QWidget {
public:
    explicit TSplitLine(QWidget* parent) : QWidget(parent) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        hide();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        painter.setBrushOrigin(0, 0);
        painter.fillRect(rect(), QBrush(Qt::white, Qt::Dense4Pattern));
    }
};

}  // namespace

TSplitter::TSplitter(QWidget* parent, TAlignLayout* layout, int width)
    : QWidget(parent), layout_(layout), line_(new TSplitLine(parent)) {
    setCursor(Qt::SplitHCursor);
    setFocusPolicy(Qt::NoFocus);
    layout_->Add(this, TAlign::Left, width);
}

// The visible, enabled element docked on the left whose right edge touches the
// splitter; a zero-width element counts as touching when it lies at the same left.
QWidget* TSplitter::FindControl() const {
    for (QWidget* widget : layout_->Widgets()) {
        if (widget == this || layout_->AlignOf(widget) != TAlign::Left)
            continue;
        if (widget->isHidden() || !widget->isEnabled())
            continue;
        if (widget->geometry().left() + widget->width() == geometry().left())
            return widget;
    }
    return nullptr;
}

// Client width - 30 - all left and right docked widths + the element's own width.
int TSplitter::MaxSize() const {
    int docked = 0;
    for (QWidget* widget : layout_->Widgets()) {
        const TAlign align = layout_->AlignOf(widget);
        if ((align == TAlign::Left || align == TAlign::Right) && !widget->isHidden())
            docked += layout_->Extent(widget);
    }
    return parentWidget()->width() - MinSize - docked + layout_->Extent(control_);
}

int TSplitter::CalcNewSize(int globalX) const {
    const int size = std::max(MinSize, std::min(startSize_ + (globalX - downX_), maxSize_));
    return size <= MinSize ? 0 : size;
}

void TSplitter::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || control_)
        return;
    control_ = FindControl();
    if (!control_)
        return;
    downX_ = int(event->globalPosition().x());
    startSize_ = layout_->Extent(control_);
    maxSize_ = MaxSize();
    newSize_ = startSize_;
    grabKeyboard();
    ShowLine();
}

void TSplitter::mouseMoveEvent(QMouseEvent* event) {
    if (!control_)
        return;
    newSize_ = CalcNewSize(int(event->globalPosition().x()));
    ShowLine();
}

void TSplitter::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !control_)
        return;
    newSize_ = CalcNewSize(int(event->globalPosition().x()));
    if (newSize_ != oldSize_) {
        layout_->SetExtent(control_, newSize_);
        oldSize_ = newSize_;
        emit moved();
    }
    StopSizing();
    emit moved();
}

void TSplitter::keyPressEvent(QKeyEvent* event) {
    if (control_ && event->key() == Qt::Key_Escape) {
        StopSizing();
        emit moved();
        return;
    }
    QWidget::keyPressEvent(event);
}

// The line stands where the splitter would land: right of the element's new width.
void TSplitter::ShowLine() {
    const int x = control_->geometry().left() + newSize_;
    line_->setGeometry(x, geometry().top(), width(), height());
    line_->raise();
    line_->show();
    line_->update();
}

void TSplitter::StopSizing() {
    control_ = nullptr;
    line_->hide();
    releaseKeyboard();
}
