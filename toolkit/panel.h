#pragma once
// TPanel: a plain container in the button-face colour, optionally framed by a
// sunken single border and/or a raised or lowered bevel.

#include <QWidget>

class TPanel : public QWidget {
public:
    enum class TBevel { None, Raised, Lowered };

    explicit TPanel(QWidget* parent = nullptr);

    void SetBevelOuter(TBevel bevel);
    TBevel BevelOuter() const { return bevel_; }
    // A 2-pixel sunken edge around the whole panel, outside the bevel.
    void SetSingleBorder(bool on);
    bool SingleBorder() const { return singleBorder_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TBevel bevel_ = TBevel::None;
    bool singleBorder_ = false;
};

// A disabled element takes no focus and no input but keeps drawing as if it
// were enabled: the disabled colours of widget and its children become the
// active ones.
void KeepEnabledLook(QWidget* widget);
