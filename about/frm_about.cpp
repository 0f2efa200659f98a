#include "about/frm_about.h"

#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>

#include "resources/glyphs.h"
#include "toolkit/application.h"
#include "toolkit/window_font.h"

TfrmAbout* frmAbout = nullptr;

namespace {

// Shows its picture in full colour even inside the disabled panel, where a
// label would grey it out.
class TIconLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        QPainter painter(this);
        painter.drawPixmap(0, 0, pixmap());
    }
};

QLabel* NewLabel(QWidget* parent, const char* name, const QString& caption, int left, int top) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QLatin1String(name));
    label->move(left, top);
    label->adjustSize();
    return label;
}

}  // namespace

TfrmAbout::TfrmAbout() {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("クインブリ のバージョン情報"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setWindowIcon(AppIcon());
    setFixedSize(433, 209);
    HelpContext = 0;
    Position = TPosition::ScreenCenter;

    // Nothing in the panel takes focus or input, yet it all draws as usual.
    pnlMain = new TPanel(this);
    pnlMain->setObjectName(QStringLiteral("pnlMain"));
    pnlMain->setGeometry(8, 8, 417, 169);
    pnlMain->SetSingleBorder(true);
    pnlMain->SetBevelOuter(TPanel::TBevel::Raised);
    pnlMain->setEnabled(false);
    KeepEnabledLook(pnlMain);

    imgIcon = new TIconLabel(pnlMain);
    imgIcon->setObjectName(QStringLiteral("imgIcon"));
    imgIcon->setGeometry(16, 16, 32, 32);
    imgIcon->setPixmap(AppIconPixmap(32));

    lblTitle = NewLabel(pnlMain, "lblTitle", QStringLiteral("クインブリ"), 72, 16);
    lblTitle->setFont(WindowFont(27));
    lblTitle->adjustSize();
    lblTitle->resize(lblTitle->width(), 27);

    lblVersion = NewLabel(pnlMain, "lblVersion", QStringLiteral("Version 1.1.0"), 160, 56);

    pnlLine = new TPanel(pnlMain);
    pnlLine->setObjectName(QStringLiteral("pnlLine"));
    pnlLine->setGeometry(0, 88, 417, 2);
    pnlLine->SetBevelOuter(TPanel::TBevel::Raised);

    memWarning = new QPlainTextEdit(pnlMain);
    memWarning->setObjectName(QStringLiteral("memWarning"));
    memWarning->setGeometry(16, 108, 385, 45);
    memWarning->setFrameShape(QFrame::NoFrame);
    memWarning->setReadOnly(true);
    memWarning->setLineWrapMode(QPlainTextEdit::NoWrap);
    memWarning->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memWarning->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memWarning->document()->setDocumentMargin(0);
    memWarning->viewport()->setBackgroundRole(QPalette::Button);
    memWarning->setBackgroundRole(QPalette::Button);
    memWarning->setPlainText(QStringLiteral("警告：\n"
                                            "本プログラムの著作権はクインブリの作者に帰属します。\n"
                                            "本プログラムは著作権法と国際条約で保護されています。"));

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(328, 184, 97, 20);
    cmdOK->setDefault(true);
    DefaultButton = cmdOK;
    On(cmdOK, &QPushButton::clicked, this, [this] { cmdOKClick(cmdOK); });
    cmdOK->setFocus();
}

void TfrmAbout::cmdOKClick(QObject* /*sender*/) { Close(); }
