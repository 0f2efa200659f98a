#include "slideshow/frm_slide.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "browser/frm_main.h"
#include "resources/glyphs.h"
#include "slideshow/frm_time.h"
#include "toolkit/application.h"
#include "toolkit/help_context.h"
#include "toolkit/image.h"
#include "toolkit/scroll_bar.h"
#include "toolkit/timer.h"
#include "toolkit/tool_bar.h"

TfrmSlide* frmSlide = nullptr;

namespace {
constexpr int ToolBarHeight = 26;
constexpr int ScrollBarHeight = 17;
constexpr int SeparatorWidth = 8;
}  // namespace

TfrmSlide::TfrmSlide() {
    Position = TPosition::MainFormCenter;
    HelpContext = 2;
    setWindowIcon(AppIcon());
    for (int i = 0; i < static_cast<int>(imgListSlide.size()); ++i)
        imgListSlide[i] = SlideGlyph(i);

    scbSlide = new TScrollBar(Qt::Horizontal, this);
    scbSlide->setFixedHeight(ScrollBarHeight);
    scbSlide->setSingleStep(1);
    // The page step is also the step of a click in the trough, which must move by 1.
    scbSlide->setPageStep(1);
    scbSlide->setTracking(true);
    scbSlide->setToolTip(QStringLiteral("画像を選択します"));
    scbSlide->setFocusPolicy(Qt::StrongFocus);
    On(scbSlide, &QScrollBar::valueChanged, this, [this] { scbSlideChange(scbSlide); });

    imgSlide = new TImage(this);
    imgSlide->SetCenter(true);
    imgSlide->SetProportional(true);
    imgSlide->SetStretch(true);

    BuildMenu();
    BuildToolBar();

    timSlide = new TTimer(this);
    timSlide->SetEnabled(false);
    timSlide->SetInterval(1000);
    timSlide->SetOnTimer([this] { timSlideTimer(timSlide); });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(mnuSlide);
    layout->addWidget(tlbMain);
    layout->addWidget(imgSlide, 1);
    layout->addWidget(scbSlide);
    setFocusProxy(scbSlide);
}

void TfrmSlide::BuildMenu() {
    mnuSlide = new QMenuBar(this);
    mnuFile = mnuSlide->addMenu(QStringLiteral("ファイル(&F)"));
    mnuFileR = mnuFile->addAction(QStringLiteral("スライドショー開始(&R)"));
    mnuFileR->setShortcut(QKeySequence(Qt::Key_F5));
    mnuFileT = mnuFile->addAction(QStringLiteral("スライドショー終了(&T)"));
    mnuFileT->setShortcut(QKeySequence(Qt::Key_F4));
    mnuFileBar = mnuFile->addSeparator();
    mnuFileC = mnuFile->addAction(QStringLiteral("閉じる(&C)"));
    mnuView = mnuSlide->addMenu(QStringLiteral("表示(&V)"));
    mnuViewT = mnuView->addAction(QStringLiteral("スライド時間(&T)..."));
    mnuViewT->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    SetHelpContext(mnuViewT, 3);

    On(mnuFileR, &QAction::triggered, this, [this] { mnuFileRClick(mnuFileR); });
    On(mnuFileT, &QAction::triggered, this, [this] { mnuFileTClick(mnuFileT); });
    On(mnuFileC, &QAction::triggered, this, [this] { mnuFileCClick(mnuFileC); });
    On(mnuViewT, &QAction::triggered, this, [this] { mnuViewTClick(mnuViewT); });
}

void TfrmSlide::BuildToolBar() {
    tlbMain = new TToolBar(this);
    tlbMain->setFixedHeight(ToolBarHeight);
    tlbMainClose = tlbMain->AddButton(QStringLiteral("tlbMainClose"), imgListSlide[0], QStringLiteral("閉じる"));
    ToolButton1 = tlbMain->AddSeparator(QStringLiteral("ToolButton1"), SeparatorWidth);
    tlbMainSlide = tlbMain->AddButton(QStringLiteral("tlbMainSlide"), imgListSlide[1], QStringLiteral("スライドショー開始"));
    tlbMainStop = tlbMain->AddButton(QStringLiteral("tlbMainStop"), imgListSlide[2], QStringLiteral("スライドショー終了"));
    ToolButton2 = tlbMain->AddSeparator(QStringLiteral("ToolButton2"), SeparatorWidth);
    tlbMainTime = tlbMain->AddButton(QStringLiteral("tlbMainTime"), imgListSlide[3], QStringLiteral("スライド時間"));
    for (QToolButton* button : {tlbMainClose, tlbMainSlide, tlbMainStop, tlbMainTime})
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);

    On(tlbMainClose, &QToolButton::clicked, this, [this] { tlbMainCloseClick(tlbMainClose); });
    On(tlbMainSlide, &QToolButton::clicked, this, [this] { tlbMainSlideClick(tlbMainSlide); });
    On(tlbMainStop, &QToolButton::clicked, this, [this] { tlbMainStopClick(tlbMainStop); });
    On(tlbMainTime, &QToolButton::clicked, this, [this] { tlbMainTimeClick(tlbMainTime); });
}

void TfrmSlide::FormCreate() {
    intSlideNext = 1;
    timSlide->SetEnabled(false);
    SetWidth(640);
    SetHeight(480);
}

void TfrmSlide::scbSlideChange(QObject* /*sender*/) {
    const int position = scbSlide->value();
    // Positions outside the strip name no thumbnail (only possible before the
    // first opening has set the range); there is nothing to show then.
    if (position < 1 || position > frmMain->intThumbCount)
        return;
    const TImage* thumbnail = frmMain->imgThumb[position - 1];
    if (!thumbnail)
        return;
    imgSlide->SetPicture(thumbnail->Picture());
    SetCaption(thumbnail->Hint());
}

void TfrmSlide::SetCaption(const QString& path) {
    // Qt takes "[*]" in a title for its modified mark and hides it; doubled,
    // it shows as written, so every file name appears as it is.
    setWindowTitle(QString(path).replace(QStringLiteral("[*]"), QStringLiteral("[*][*]")));
}

void TfrmSlide::mnuFileRClick(QObject* /*sender*/) {
    timSlide->SetEnabled(true);
    timSlide->SetInterval(intSlideTime * 1000);
}

void TfrmSlide::mnuFileTClick(QObject* /*sender*/) { timSlide->SetEnabled(false); }

void TfrmSlide::mnuViewTClick(QObject* /*sender*/) {
    timSlide->SetEnabled(false);
    frmTime->ShowModal();
}

void TfrmSlide::mnuFileCClick(QObject* /*sender*/) { Close(); }

void TfrmSlide::timSlideTimer(QObject* /*sender*/) {
    scbSlide->setValue(intSlideNext);
    intSlideNext += 1;
    if (intSlideNext > scbSlide->maximum())
        intSlideNext = 1;
}

void TfrmSlide::tlbMainCloseClick(QObject* sender) { mnuFileCClick(sender); }
void TfrmSlide::tlbMainSlideClick(QObject* sender) { mnuFileRClick(sender); }
void TfrmSlide::tlbMainStopClick(QObject* sender) { mnuFileTClick(sender); }
void TfrmSlide::tlbMainTimeClick(QObject* sender) { mnuViewTClick(sender); }

void TfrmSlide::FormClose() { timSlide->SetEnabled(false); }

void TfrmSlide::showEvent(QShowEvent* event) {
    TForm::showEvent(event);
    scbSlide->setFocus();
}
