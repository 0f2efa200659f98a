#include "toolkit/list_rows.h"

#include <QPainter>
#include <QStyleOptionViewItem>

void PaintRowBackground(QPainter* painter, const QStyleOptionViewItem& option, bool selected) {
    painter->fillRect(option.rect, option.palette.brush(selected ? QPalette::Highlight : QPalette::Base));
}

void PaintFocusFrame(QPainter* painter, const QStyleOptionViewItem& option) {
    if (!(option.state & QStyle::State_HasFocus))
        return;
    QPen pen(option.palette.color(QPalette::Text), 1, Qt::DotLine);
    painter->save();
    painter->setPen(pen);
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
    painter->restore();
}
