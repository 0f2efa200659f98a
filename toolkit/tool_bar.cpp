#include "toolkit/tool_bar.h"

#include <QPainter>
#include <QToolButton>

TToolBar::TToolBar(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Button);
}

QToolButton* TToolBar::AddButton(const QString& name, const QIcon& glyph, const QString& hint) {
    auto* button = new QToolButton(this);
    button->setObjectName(name);
    button->setAutoRaise(false);
    button->setFocusPolicy(Qt::NoFocus);
    button->setIcon(glyph);
    button->setIconSize(QSize(16, 16));
    button->setToolTip(hint);
    button->setGeometry(nextLeft_, ButtonTop, ButtonWidth, ButtonHeight);
    nextLeft_ += ButtonWidth;
    return button;
}

QWidget* TToolBar::AddSeparator(const QString& name, int width) {
    auto* separator = new QWidget(this);
    separator->setObjectName(name);
    separator->setGeometry(nextLeft_, ButtonTop, width, ButtonHeight);
    nextLeft_ += width;
    return separator;
}

void TToolBar::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(0, 0, width() - 1, 0);
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(0, 1, width() - 1, 1);
}
