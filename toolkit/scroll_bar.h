#pragma once
// TScrollBar: a scroll bar whose keys move as the desktop's scroll bars do:
// Left/Up and Page Up towards the lower bound, Right/Down and Page Down towards
// the upper bound, Home and End to the bounds. (Qt's own horizontal scroll bar
// turns the arrow keys round.)

#include <QScrollBar>

class TScrollBar : public QScrollBar {
    Q_OBJECT
public:
    explicit TScrollBar(Qt::Orientation orientation, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
