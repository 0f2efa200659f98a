#pragma once
// Painting shared by the drawn rows of the drive, folder and file lists.

class QPainter;
class QStyleOptionViewItem;

// Fills the row with the highlight colour when selected, else the base colour.
void PaintRowBackground(QPainter* painter, const QStyleOptionViewItem& option, bool selected);
// The dotted frame of the row that has the keyboard focus.
void PaintFocusFrame(QPainter* painter, const QStyleOptionViewItem& option);
