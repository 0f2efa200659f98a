#include "toolkit/application.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <QWidget>

#include "toolkit/help_bridge.h"
#include "toolkit/help_context.h"

TApplication* Application = nullptr;

TApplication::TApplication() {
    Application = this;
    InstallHelpKey(this);
}

TApplication::~TApplication() {
    if (Application == this)
        Application = nullptr;
}

void TApplication::HandleException(QObject* sender, std::exception_ptr error) {
    if (QWidget* grabber = QWidget::mouseGrabber())
        grabber->releaseMouse();
    try {
        std::rethrow_exception(error);
    } catch (const EAbort&) {
    } catch (const Exception& e) {
        if (OnException)
            OnException(sender, e);
        else
            MessageBox(e.Message());
    } catch (const std::exception& e) {
        MessageBox(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        MessageBox(QStringLiteral("不明な例外が発生しました。"));
    }
}

namespace {

class TMessageDialog : public QDialog {
public:
    TMessageDialog(const QString& caption, const QString& text) {
        setWindowTitle(caption);
        setWindowModality(Qt::ApplicationModal);
        setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
        auto* layout = new QVBoxLayout(this);
        auto* label = new QLabel(text, this);
        label->setWordWrap(true);
        label->setTextFormat(Qt::PlainText);
        const QScreen* screen = QGuiApplication::primaryScreen();
        if (screen)
            label->setMaximumWidth(screen->geometry().width() / 2);
        layout->addWidget(label);
        auto* buttons = new QDialogButtonBox(this);
        QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
        ok->setDefault(true);
        ok->setAutoDefault(true);
        connect(ok, &QPushButton::clicked, this, &QDialog::accept);
        layout->addWidget(buttons, 0, Qt::AlignHCenter);
        layout->setSizeConstraint(QLayout::SetFixedSize);
    }

    void CenterOnScreen() {
        adjustSize();
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->geometry();
            move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
        }
    }
};

}  // namespace

void TApplication::MessageBox(const QString& text) {
    TMessageDialog box(Title, text);
    box.CenterOnScreen();
    emit messageBoxShown(&box, Title, text);
    box.exec();
}

void TApplication::HelpCommand(THelpCommand command, int data) {
    emit helpRequested(HelpFile, command, data);
    SendHelpRequest(HelpFile, command, data);
}

TGuardedApplication::TGuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TGuardedApplication::notify(QObject* receiver, QEvent* event) {
    bool handled = false;
    Guard(receiver, [&] { handled = QApplication::notify(receiver, event); });
    return handled;
}
