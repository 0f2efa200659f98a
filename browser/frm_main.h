#pragma once
// TfrmMain: the browser window.

#include <QString>
#include <array>
#include <cstdint>

#include "toolkit/exceptions.h"
#include "toolkit/directory_list_box.h"
#include "toolkit/drive_combo_box.h"
#include "toolkit/file_list_box.h"
#include "toolkit/form.h"
#include "toolkit/panel.h"
#include "toolkit/splitter.h"
#include "toolkit/tool_bar.h"

class QAction;
class QLineEdit;
class QMenu;
class QMenuBar;
class QScrollArea;
class QStatusBar;
class QToolButton;
class TAlignLayout;
class TImage;

class TfrmMain : public TForm {
    Q_OBJECT
public:
    static constexpr int MaxPictures = 300;

    TfrmMain();
    ~TfrmMain() override;

    void FormCreate();
    void FormDestroy();
    // Runs after the elements have been laid out for the new size.
    void FormResize();

    // Menu commands; each toolbar button calls the one of its menu item.
    void mnuFileXClick(QObject* sender);
    void mnuImgOpenClick(QObject* sender);  // open every thumbnail in a picture window
    void mnuImgCClick(QObject* sender);     // free every picture window
    void mnuSlideOpenClick(QObject* sender);
    void mnuHelpHClick(QObject* sender);
    void mnuHelpCClick(QObject* sender);
    void mnuHelpAClick(QObject* sender);

    void tlbMainEndClick(QObject* sender);
    void tlbMainOpenClick(QObject* sender);
    void tlbMainCloseClick(QObject* sender);
    void tlbMainSlideClick(QObject* sender);

    void splMainMoved(QObject* sender);
    // Keeps the drive list and the path box as wide as their panes.
    void AdjustBarWidths();

    // Makes the main menu's shortcuts (Ctrl+O, Ctrl+Z, F5) act while window is
    // the active window, as long as the main window is enabled and no modal
    // window is open. For the picture windows; call once per window.
    void ShareShortcutsWith(QWidget* window);

    // The folder list entered another folder: path box and status text follow.
    void trvDirChange(QObject* sender);
    // The user changed the file selection.
    void lstFileClick(QObject* sender);

    // Rebuilds the thumbnail strip from the file list's selection.
    void ShowThumbnails();
    // Opens one picture window for the thumbnail sender.
    void NewImgClick(TImage* sender);

    // Tests point the program folder elsewhere so that no two runs share a state file.
    static inline QString ProgramFolderOverride;

signals:
    // A menu item's command is about to run (its handler follows). For tests.
    void menuCommandRun(QAction* item);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void IgnoreException(QObject* sender, const Exception& error);
    void BuildMenus();
    void BuildToolBar();
    void BuildPanes();
    void BuildStrip();
    void LinkPanes();
    QAction* AddMenuItem(QMenu* menu, const QString& caption, void (TfrmMain::*handler)(QObject*));
    bool ShortcutsAccepted() const;

    TAlignLayout* windowLayout_ = nullptr;  // menu bar and client area
    TAlignLayout* clientLayout_ = nullptr;  // the elements of the client area

public:
    // Elements. The menu bar is a widget inside the window here, so every
    // other element is laid out in ClientArea, the area below the menu bar,
    // and its bounds are measured there. The outer bounds (Left, Top, Width,
    // Height, the 400 x 300 start and minimum, what the state file keeps)
    // include the window frame; ClientArea is what frame and menu bar leave:
    // 392 x 254 needs an outer size that depends on the window manager.
    QMenuBar* mnuMain = nullptr;
    QMenu* mnuFile = nullptr;
    QAction* mnuFileX = nullptr;
    QMenu* mnuImg = nullptr;
    QAction* mnuImgOpen = nullptr;
    QAction* mnuImgC = nullptr;
    QMenu* mnuSlide = nullptr;
    QAction* mnuSlideOpen = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuHelpH = nullptr;
    QAction* mnuHelpC = nullptr;
    QAction* mnuHelpBar = nullptr;
    QAction* mnuHelpA = nullptr;

    QWidget* ClientArea = nullptr;
    TToolBar* tlbMain = nullptr;
    QToolButton* tlbMainEnd = nullptr;
    QWidget* ToolButton2 = nullptr;
    QToolButton* tlbMainOpen = nullptr;
    QToolButton* tlbMainClose = nullptr;
    QWidget* ToolButton1 = nullptr;
    QToolButton* tlbMainSlide = nullptr;
    TPanel* pnlTree = nullptr;
    TPanel* pnlDrv = nullptr;
    TDriveComboBox* cboDrv = nullptr;
    TDirectoryListBox* trvDir = nullptr;
    TSplitter* splMain = nullptr;
    TPanel* pnlList = nullptr;
    TPanel* pnlPath = nullptr;
    QLineEdit* txtPath = nullptr;
    TFileListBox* lstFile = nullptr;
    QScrollArea* scbGrh = nullptr;
    QWidget* scbGrhContent = nullptr;  // holder of the thumbnails, scrolled by scbGrh
    QStatusBar* stbMain = nullptr;

public:  // read by the slide show window and by tests
    std::array<TForm*, MaxPictures> frmView{};
    std::int32_t intThumbCount = 0;
    std::int32_t intViewCount = 0;
    QString strAppDir;
    std::array<TImage*, MaxPictures> imgThumb{};
};

extern TfrmMain* frmMain;
