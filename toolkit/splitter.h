#pragma once
// Splitter between a left-docked element and the rest of an alignment layout.
// A drag with the left button shows a hatched line that follows the pointer
// while the panes stay as they are; the release resizes the element on the
// splitter's left. Widths of 30 or less snap the element shut to 0, and the
// element on the right always keeps at least 30 pixels. Esc cancels a drag.

#include <QWidget>

class TAlignLayout;

class TSplitter : public QWidget {
    Q_OBJECT
public:
    static constexpr int MinSize = 30;

    // Docks itself to the left in layout, width pixels wide, after whatever
    // was added before it.
    TSplitter(QWidget* parent, TAlignLayout* layout, int width = 4);

    bool Dragging() const { return control_ != nullptr; }
    // The width the element would get if the button were released now.
    int NewSize() const { return newSize_; }
    // The hatched line shown during a drag (hidden otherwise).
    QWidget* Line() const { return line_; }

signals:
    // After a drag: once when the element's width changed, and once more when the drag ends.
    void moved();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QWidget* FindControl() const;
    int MaxSize() const;
    int CalcNewSize(int globalX) const;
    void ShowLine();
    void StopSizing();

    TAlignLayout* layout_;
    QWidget* line_;
    QWidget* control_ = nullptr;  // the element being resized, during a drag only
    int downX_ = 0;
    int startSize_ = 0;
    int maxSize_ = 0;
    int newSize_ = 0;
    int oldSize_ = -1;  // the width the last completed drag gave the element
};
