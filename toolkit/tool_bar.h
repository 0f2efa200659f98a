#pragma once
// TToolBar: a row of raised glyph buttons and fixed-width separators at exact
// pixel positions, with an etched line along its top edge.

#include <QIcon>
#include <QString>
#include <QWidget>

class QToolButton;

class TToolBar : public QWidget {
public:
    static constexpr int ButtonWidth = 23;
    static constexpr int ButtonHeight = 22;
    static constexpr int ButtonTop = 2;

    explicit TToolBar(QWidget* parent = nullptr);

    // Adds a 23 x 22 button showing a 16 x 16 glyph, with hint as its tooltip.
    QToolButton* AddButton(const QString& name, const QIcon& glyph, const QString& hint);
    // Adds an empty gap of the given width.
    QWidget* AddSeparator(const QString& name, int width = 8);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int nextLeft_ = 0;
};
