#include "toolkit/align_layout.h"

#include <QWidget>
#include <algorithm>

TAlignLayout::TAlignLayout(QWidget* parent) : QLayout(parent) {
    setContentsMargins(0, 0, 0, 0);
    setSpacing(0);
    // The parent's size limits are the window's business, never the layout's.
    setSizeConstraint(QLayout::SetNoConstraint);
}

TAlignLayout::~TAlignLayout() {
    while (QLayoutItem* item = takeAt(0))
        delete item;
}

void TAlignLayout::Add(QWidget* widget, TAlign align, int extent) {
    addChildWidget(widget);
    entries_.append({new QWidgetItem(widget), align, std::max(0, extent)});
    invalidate();
    Realign();
}

const TAlignLayout::Entry* TAlignLayout::Find(const QWidget* widget) const {
    for (const Entry& entry : entries_)
        if (entry.item->widget() == widget)
            return &entry;
    return nullptr;
}

void TAlignLayout::SetExtent(QWidget* widget, int extent) {
    for (Entry& entry : entries_) {
        if (entry.item->widget() == widget) {
            entry.extent = std::max(0, extent);
            Realign();
            return;
        }
    }
}

int TAlignLayout::Extent(const QWidget* widget) const {
    const Entry* entry = Find(widget);
    return entry ? entry->extent : 0;
}

TAlign TAlignLayout::AlignOf(const QWidget* widget) const {
    const Entry* entry = Find(widget);
    return entry ? entry->align : TAlign::Client;
}

bool TAlignLayout::Holds(const QWidget* widget) const { return Find(widget) != nullptr; }

QList<QWidget*> TAlignLayout::Widgets() const {
    QList<QWidget*> widgets;
    for (const Entry& entry : entries_)
        widgets.append(entry.item->widget());
    return widgets;
}

void TAlignLayout::Realign() {
    if (QWidget* parent = parentWidget())
        setGeometry(parent->rect());
}

void TAlignLayout::addItem(QLayoutItem* item) { entries_.append({item, TAlign::Client, 0}); }

QLayoutItem* TAlignLayout::itemAt(int index) const {
    return index >= 0 && index < entries_.size() ? entries_[index].item : nullptr;
}

QLayoutItem* TAlignLayout::takeAt(int index) {
    if (index < 0 || index >= entries_.size())
        return nullptr;
    return entries_.takeAt(index).item;
}

int TAlignLayout::count() const { return int(entries_.size()); }

QSize TAlignLayout::sizeHint() const { return {0, 0}; }

QSize TAlignLayout::minimumSize() const { return {0, 0}; }

// Sets one element's bounds; a nested alignment layout follows at once so that
// the whole tree is laid out even before the window is shown.
void TAlignLayout::Place(const Entry& entry, const QRect& bounds) const {
    QWidget* widget = entry.item->widget();
    if (!widget)
        return;
    const QRect clamped(bounds.left(), bounds.top(), std::max(0, bounds.width()), std::max(0, bounds.height()));
    widget->setGeometry(clamped);
    if (auto* nested = dynamic_cast<TAlignLayout*>(widget->layout()))
        nested->setGeometry(widget->rect());
}

void TAlignLayout::setGeometry(const QRect& rect) {
    QLayout::setGeometry(rect);
    int left = rect.left();
    int top = rect.top();
    int right = rect.left() + rect.width();
    int bottom = rect.top() + rect.height();
    auto shown = [](const Entry& entry) { return entry.item->widget() && !entry.item->widget()->isHidden(); };

    for (const Entry& entry : entries_)
        if (entry.align == TAlign::Top && shown(entry)) {
            Place(entry, QRect(left, top, right - left, entry.extent));
            top += entry.extent;
        }
    for (const Entry& entry : entries_)
        if (entry.align == TAlign::Bottom && shown(entry)) {
            bottom -= entry.extent;
            Place(entry, QRect(left, bottom, right - left, entry.extent));
        }
    for (const Entry& entry : entries_)
        if (entry.align == TAlign::Left && shown(entry)) {
            Place(entry, QRect(left, top, entry.extent, bottom - top));
            left += entry.extent;
        }
    for (const Entry& entry : entries_)
        if (entry.align == TAlign::Right && shown(entry)) {
            right -= entry.extent;
            Place(entry, QRect(right, top, entry.extent, bottom - top));
        }
    for (const Entry& entry : entries_)
        if (entry.align == TAlign::Client && shown(entry))
            Place(entry, QRect(left, top, right - left, bottom - top));
}
