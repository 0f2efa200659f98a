#include "browser/frm_main.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <QStatusBar>
#include <QToolButton>

#include "about/frm_about.h"
#include "app/help_linkage.h"
#include "app/state_file.h"
#include "resources/glyphs.h"
#include "toolkit/align_layout.h"
#include "toolkit/application.h"
#include "toolkit/directory_list_box.h"
#include "toolkit/drive_combo_box.h"
#include "toolkit/file_list_box.h"
#include "toolkit/panel.h"
#include "toolkit/splitter.h"
#include "toolkit/tool_bar.h"
#include "toolkit/window_font.h"

TfrmMain* frmMain = nullptr;

namespace {

constexpr int ToolBarHeight = 26;
constexpr int StatusBarHeight = 22;
constexpr int StripHeight = 152;
constexpr int TreeWidth = 169;
constexpr int SplitterWidth = 4;
constexpr int DriveBarHeight = 23;
constexpr int PathBarHeight = 22;

TPanel* NewPanel(QWidget* parent, const char* name) {
    auto* panel = new TPanel(parent);
    panel->setObjectName(QLatin1String(name));
    return panel;
}

}  // namespace

TfrmMain::TfrmMain() {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("クインブリ"));
    setWindowIcon(AppIcon());
    HelpContext = 1;

    windowLayout_ = new TAlignLayout(this);
    BuildMenus();
    ClientArea = new QWidget(this);
    ClientArea->setObjectName(QStringLiteral("ClientArea"));
    windowLayout_->Add(ClientArea, TAlign::Client);

    clientLayout_ = new TAlignLayout(ClientArea);
    BuildToolBar();
    BuildStrip();
    BuildPanes();

    setTabOrder(trvDir, cboDrv);
    setTabOrder(cboDrv, lstFile);
    trvDir->setFocus();

    SetMinimumOuterSize(400, 300);
    SetBounds(0, 0, 400, 300);
}

TfrmMain::~TfrmMain() {
    Guard(this, [this] { FormDestroy(); });
}

QAction* TfrmMain::AddMenuItem(QMenu* menu, const QString& caption, void (TfrmMain::*handler)(QObject*)) {
    QAction* item = menu->addAction(caption);
    On(item, &QAction::triggered, this, [this, item, handler] {
        if (!ShortcutsAccepted())
            return;
        emit menuCommandRun(item);
        (this->*handler)(item);
    });
    return item;
}

void TfrmMain::BuildMenus() {
    mnuMain = new QMenuBar(this);
    mnuMain->setObjectName(QStringLiteral("mnuMain"));
    mnuMain->setNativeMenuBar(false);
    auto addMenu = [this](const QString& caption) {
        QMenu* menu = mnuMain->addMenu(caption);
        menu->setFont(WindowFont());
        return menu;
    };

    mnuFile = addMenu(QStringLiteral("ファイル(&F)"));
    mnuFileX = AddMenuItem(mnuFile, QStringLiteral("終了(&X)"), &TfrmMain::mnuFileXClick);

    mnuImg = addMenu(QStringLiteral("イメージ(&I)"));
    mnuImgOpen = AddMenuItem(mnuImg, QStringLiteral("すべて開く(&O)..."), &TfrmMain::mnuImgOpenClick);
    mnuImgOpen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    mnuImgC = AddMenuItem(mnuImg, QStringLiteral("すべて閉じる(&C)"), &TfrmMain::mnuImgCClick);
    mnuImgC->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));

    mnuSlide = addMenu(QStringLiteral("スライドショー(&S)"));
    mnuSlideOpen = AddMenuItem(mnuSlide, QStringLiteral("開く(&O)..."), &TfrmMain::mnuSlideOpenClick);
    mnuSlideOpen->setShortcut(QKeySequence(Qt::Key_F5));

    mnuHelp = addMenu(QStringLiteral("ヘルプ(&H)"));
    mnuHelpH = AddMenuItem(mnuHelp, QStringLiteral("ヘルプ(&H)..."), &TfrmMain::mnuHelpHClick);
    mnuHelpC = AddMenuItem(mnuHelp, QStringLiteral("トピックの検索(&C)..."), &TfrmMain::mnuHelpCClick);
    mnuHelpBar = mnuHelp->addSeparator();
    mnuHelpA = AddMenuItem(mnuHelp, QStringLiteral("バージョン情報(&A)..."), &TfrmMain::mnuHelpAClick);

    windowLayout_->Add(mnuMain, TAlign::Top, mnuMain->sizeHint().height());
}

void TfrmMain::BuildToolBar() {
    tlbMain = new TToolBar(ClientArea);
    tlbMain->setObjectName(QStringLiteral("tlbMain"));
    tlbMainEnd = tlbMain->AddButton(QStringLiteral("tlbMainEnd"), MainGlyph(0), QStringLiteral("終了"));
    ToolButton2 = tlbMain->AddSeparator(QStringLiteral("ToolButton2"));
    tlbMainOpen = tlbMain->AddButton(QStringLiteral("tlbMainOpen"), MainGlyph(1), QStringLiteral("すべて開く"));
    tlbMainClose = tlbMain->AddButton(QStringLiteral("tlbMainClose"), MainGlyph(2), QStringLiteral("すべて閉じる"));
    ToolButton1 = tlbMain->AddSeparator(QStringLiteral("ToolButton1"));
    tlbMainSlide = tlbMain->AddButton(QStringLiteral("tlbMainSlide"), MainGlyph(3), QStringLiteral("開く"));
    clientLayout_->Add(tlbMain, TAlign::Top, ToolBarHeight);

    On(tlbMainEnd, &QToolButton::clicked, this, [this] { tlbMainEndClick(tlbMainEnd); });
    On(tlbMainOpen, &QToolButton::clicked, this, [this] { tlbMainOpenClick(tlbMainOpen); });
    On(tlbMainClose, &QToolButton::clicked, this, [this] { tlbMainCloseClick(tlbMainClose); });
    On(tlbMainSlide, &QToolButton::clicked, this, [this] { tlbMainSlideClick(tlbMainSlide); });
}

// The strip and the status bar below it.
void TfrmMain::BuildStrip() {
    stbMain = new QStatusBar(ClientArea);
    stbMain->setObjectName(QStringLiteral("stbMain"));
    stbMain->setSizeGripEnabled(true);
    QPalette statusColours = stbMain->palette();
    statusColours.setColor(QPalette::WindowText, statusColours.color(QPalette::ButtonText));
    stbMain->setPalette(statusColours);
    stbMain->showMessage(QStringLiteral("0 個の画像ファイルを選択"));
    clientLayout_->Add(stbMain, TAlign::Bottom, StatusBarHeight);

    scbGrh = new QScrollArea(ClientArea);
    scbGrh->setObjectName(QStringLiteral("scbGrh"));
    scbGrh->setFrameShape(QFrame::NoFrame);
    scbGrh->setFocusPolicy(Qt::NoFocus);
    scbGrh->setWidgetResizable(false);
    scbGrh->setToolTip(QStringLiteral("画像をクリックすると、別ウィンドウに大きく表示されます"));
    scbGrhContent = new QWidget;
    scbGrhContent->setObjectName(QStringLiteral("scbGrhContent"));
    scbGrhContent->resize(0, 0);
    scbGrh->setWidget(scbGrhContent);
    clientLayout_->Add(scbGrh, TAlign::Bottom, StripHeight);
}

void TfrmMain::BuildPanes() {
    pnlTree = NewPanel(ClientArea, "pnlTree");
    clientLayout_->Add(pnlTree, TAlign::Left, TreeWidth);
    auto* treeLayout = new TAlignLayout(pnlTree);
    pnlDrv = NewPanel(pnlTree, "pnlDrv");
    treeLayout->Add(pnlDrv, TAlign::Top, DriveBarHeight);
    cboDrv = new TDriveComboBox(pnlDrv);
    cboDrv->setObjectName(QStringLiteral("cboDrv"));
    cboDrv->setGeometry(0, 2, TreeWidth, 19);
    cboDrv->setToolTip(QStringLiteral("画像のあるドライブを指定します"));
    trvDir = new TDirectoryListBox(pnlTree);
    trvDir->setObjectName(QStringLiteral("trvDir"));
    trvDir->setToolTip(QStringLiteral("画像のあるディレクトリを指定します"));
    treeLayout->Add(trvDir, TAlign::Client);

    splMain = new TSplitter(ClientArea, clientLayout_, SplitterWidth);
    splMain->setObjectName(QStringLiteral("splMain"));
    On(splMain, &TSplitter::moved, this, [this] { splMainMoved(splMain); });

    pnlList = NewPanel(ClientArea, "pnlList");
    clientLayout_->Add(pnlList, TAlign::Client);
    auto* listLayout = new TAlignLayout(pnlList);
    pnlPath = NewPanel(pnlList, "pnlPath");
    pnlPath->setEnabled(false);
    KeepEnabledLook(pnlPath);
    listLayout->Add(pnlPath, TAlign::Top, PathBarHeight);
    txtPath = new QLineEdit(pnlPath);
    txtPath->setObjectName(QStringLiteral("txtPath"));
    txtPath->setGeometry(0, 1, 219, 21);
    txtPath->setToolTip(QStringLiteral("現在のフォルダを表示します"));
    lstFile = new TFileListBox(pnlList);
    lstFile->setObjectName(QStringLiteral("lstFile"));
    lstFile->SetMask(QStringLiteral("*.bmp;*.jpg;*.jpeg"));
    lstFile->setToolTip(QStringLiteral("選択した画像をサムネイル表示します"));
    listLayout->Add(lstFile, TAlign::Client);

    LinkPanes();
}

void TfrmMain::FormCreate() {
    Application->OnException = [this](QObject* sender, const Exception& error) { IgnoreException(sender, error); };
    intThumbCount = 0;
    intViewCount = 0;
    strAppDir = ProgramFolderOverride.isEmpty() ? QCoreApplication::applicationDirPath() : ProgramFolderOverride;
    if (!strAppDir.endsWith(u'/'))
        strAppDir += u'/';
    CompleteHelpFilePath(strAppDir);
    RestoreState(*this);
}

void TfrmMain::FormDestroy() { SaveState(*this); }

void TfrmMain::resizeEvent(QResizeEvent* event) {
    TForm::resizeEvent(event);
    windowLayout_->Realign();
    Guard(this, [this] { FormResize(); });
}

void TfrmMain::FormResize() { AdjustBarWidths(); }

void TfrmMain::splMainMoved(QObject* /*sender*/) { AdjustBarWidths(); }

void TfrmMain::AdjustBarWidths() {
    cboDrv->resize(pnlDrv->width(), cboDrv->height());
    txtPath->resize(pnlPath->width(), txtPath->height());
}

void TfrmMain::tlbMainEndClick(QObject* sender) { mnuFileXClick(sender); }
void TfrmMain::tlbMainOpenClick(QObject* sender) { mnuImgOpenClick(sender); }
void TfrmMain::tlbMainCloseClick(QObject* sender) { mnuImgCClick(sender); }
void TfrmMain::tlbMainSlideClick(QObject* sender) { mnuSlideOpenClick(sender); }

void TfrmMain::mnuFileXClick(QObject* /*sender*/) { Close(); }

void TfrmMain::mnuHelpAClick(QObject* /*sender*/) { frmAbout->ShowModal(); }

// A modal window (slide show, interval dialog, about box, message box) holds
// the program; until it closes the main menu's commands wait.
bool TfrmMain::ShortcutsAccepted() const { return isEnabled() && !QApplication::activeModalWidget(); }

void TfrmMain::ShareShortcutsWith(QWidget* window) {
    if (window)
        window->addActions({mnuImgOpen, mnuImgC, mnuSlideOpen});
}

void TfrmMain::IgnoreException(QObject* /*sender*/, const Exception& /*error*/) {}
