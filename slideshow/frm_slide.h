#pragma once
// TfrmSlide: the slide show window. Shows the pictures of the thumbnail strip
// one at a time, stepped by its scroll bar or advanced by its timer.

#include <QIcon>
#include <array>
#include <cstdint>

#include "toolkit/form.h"

class QAction;
class QMenu;
class QMenuBar;
class QScrollBar;
class QToolButton;
class TImage;
class TTimer;
class TToolBar;

class TfrmSlide : public TForm {
    Q_OBJECT
public:
    TfrmSlide();
    void FormCreate();
    // The caption: the full path of the picture shown.
    void SetCaption(const QString& path);

    // Shows the picture of thumbnail p (scroll positions count from 1).
    void scbSlideChange(QObject* sender);
    void mnuFileRClick(QObject* sender);  // start
    void mnuFileTClick(QObject* sender);  // stop
    void mnuViewTClick(QObject* sender);  // interval dialog
    void mnuFileCClick(QObject* sender);  // close
    void timSlideTimer(QObject* sender);
    void tlbMainCloseClick(QObject* sender);
    void tlbMainSlideClick(QObject* sender);
    void tlbMainStopClick(QObject* sender);
    void tlbMainTimeClick(QObject* sender);

    QScrollBar* scbSlide;
    TImage* imgSlide;
    QMenuBar* mnuSlide;
    QMenu* mnuFile;
    QAction* mnuFileC;
    QMenu* mnuView;
    QAction* mnuViewT;
    std::array<QIcon, 4> imgListSlide;
    TToolBar* tlbMain;
    QToolButton* tlbMainSlide;
    QWidget* ToolButton2;
    QToolButton* tlbMainStop;
    QWidget* ToolButton1;
    QToolButton* tlbMainTime;
    QAction* mnuFileR;
    QAction* mnuFileBar;
    TTimer* timSlide;
    QToolButton* tlbMainClose;
    QAction* mnuFileT;

    // The scroll position the next tick selects; only ticks advance it.
    std::int32_t intSlideNext = 1;
    // The slide interval in whole seconds, 1 to 10; chosen in frmTime.
    std::int32_t intSlideTime = 1;

protected:
    void FormClose() override;
    void showEvent(QShowEvent* event) override;

private:
    void BuildMenu();
    void BuildToolBar();
};

extern TfrmSlide* frmSlide;
