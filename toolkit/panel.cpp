#include "toolkit/panel.h"

#include <QPainter>
#include <QPalette>

TPanel::TPanel(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Button);
}

void TPanel::SetBevelOuter(TBevel bevel) {
    bevel_ = bevel;
    update();
}

void TPanel::SetSingleBorder(bool on) {
    singleBorder_ = on;
    update();
}

namespace {

// One pixel frame: topLeft colour on the top and left edges, bottomRight on the others.
void DrawFrame(QPainter& painter, QRect& box, const QColor& topLeft, const QColor& bottomRight) {
    if (box.width() <= 0 || box.height() <= 0)
        return;
    painter.setPen(topLeft);
    painter.drawLine(box.left(), box.bottom(), box.left(), box.top());
    painter.drawLine(box.left(), box.top(), box.right(), box.top());
    painter.setPen(bottomRight);
    painter.drawLine(box.right(), box.top(), box.right(), box.bottom());
    painter.drawLine(box.right(), box.bottom(), box.left(), box.bottom());
    box.adjust(1, 1, -1, -1);
}

}  // namespace

void TPanel::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const QPalette& pal = palette();
    QRect box = rect();
    if (singleBorder_) {
        DrawFrame(painter, box, pal.color(QPalette::Mid), pal.color(QPalette::Light));
        DrawFrame(painter, box, pal.color(QPalette::Dark), pal.color(QPalette::Midlight));
    }
    if (bevel_ == TBevel::Raised)
        DrawFrame(painter, box, pal.color(QPalette::Light), pal.color(QPalette::Mid));
    else if (bevel_ == TBevel::Lowered)
        DrawFrame(painter, box, pal.color(QPalette::Mid), pal.color(QPalette::Light));
}

void KeepEnabledLook(QWidget* widget) {
    QPalette pal = widget->palette();
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
        const auto colorRole = QPalette::ColorRole(role);
        if (colorRole == QPalette::NoRole)
            continue;
        pal.setBrush(QPalette::Disabled, colorRole, pal.brush(QPalette::Active, colorRole));
    }
    widget->setPalette(pal);
}
