#pragma once
// Top-level window base. Created hidden; closing hides every window except the
// main window, whose closing ends the program. Bounds are outer bounds: they
// include the frame where the window system reports one.

#include <QWidget>

class QAbstractButton;
class QEventLoop;

// Where a window appears at its first opening; later openings keep the last place.
enum class TPosition { Designed, ScreenCenter, MainFormCenter };

class TForm : public QWidget {
    Q_OBJECT
public:
    explicit TForm(QWidget* owner = nullptr);

    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void SetLeft(int left);
    void SetTop(int top);
    void SetWidth(int width);
    void SetHeight(int height);
    void SetBounds(int left, int top, int width, int height);

    // Minimum outer size; it holds for the user's resizing and for bounds the program sets.
    void SetMinimumOuterSize(int width, int height);

    int HelpContext = 0;

    // Placement at the first opening: centred on the screen or on the main
    // window at reference + (reference size - own outer size) / 2, never
    // negative. Designed keeps the bounds as set.
    TPosition Position = TPosition::Designed;

    // Pressed by Enter or Return wherever the focus is in this window.
    QAbstractButton* DefaultButton = nullptr;

    // Shows the window modally: the other windows refuse input while painting and
    // timers go on. Returns when the window has been closed (hidden).
    void ShowModal();
    bool IsModalShowing() const { return modalLoop_ != nullptr; }

    // The ordinary close request, as the close box makes it.
    void Close() { close(); }

protected:
    // Runs on every closing, before the window is hidden. Guarded.
    virtual void FormClose() {}

    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;

private:
    QSize FrameExtra() const;
    bool FrameKnown() const;
    void ApplyMinimumSize();
    void ApplyPendingSize();
    void KeepMinimumSize();
    void FollowFrame(bool painted);
    int pendingWidth_ = -1;
    int pendingHeight_ = -1;
    void PlaceAtFirstOpening();
    bool opened_ = false;
    bool placementPending_ = false;
    int minOuterWidth_ = 0;
    int minOuterHeight_ = 0;
    bool outerMinimumSet_ = false;
    QEventLoop* modalLoop_ = nullptr;
};
