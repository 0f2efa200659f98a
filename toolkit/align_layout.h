#pragma once
// Alignment layout: elements docked to the top, bottom, left or right edge keep
// their own height or width in pixels; one client element takes what is left.
// Edges are filled in a fixed order (all top, then bottom, then left, then
// right elements, each group in the order added, then the client), so every
// bound is exact and nothing depends on size hints.

#include <QLayout>
#include <QList>

enum class TAlign { Top, Bottom, Left, Right, Client };

class TAlignLayout : public QLayout {
public:
    explicit TAlignLayout(QWidget* parent);
    ~TAlignLayout() override;

    // Docks widget (a child of the parent) to an edge. extent is its height for
    // Top and Bottom, its width for Left and Right, unused for Client.
    void Add(QWidget* widget, TAlign align, int extent = 0);
    // Changes a docked element's own width or height and lays the parent out again.
    void SetExtent(QWidget* widget, int extent);
    int Extent(const QWidget* widget) const;
    TAlign AlignOf(const QWidget* widget) const;
    bool Holds(const QWidget* widget) const;
    // The docked widgets in the order added.
    QList<QWidget*> Widgets() const;

    // Lays the children out in the parent's whole rectangle right now, also
    // while the parent is hidden.
    void Realign();

    void addItem(QLayoutItem* item) override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    int count() const override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    void setGeometry(const QRect& rect) override;

private:
    struct Entry {
        QLayoutItem* item;
        TAlign align;
        int extent;
    };
    const Entry* Find(const QWidget* widget) const;
    void Place(const Entry& entry, const QRect& bounds) const;
    QList<Entry> entries_;
};
