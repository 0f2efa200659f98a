#pragma once
// The application object: title, help file, error hook and the error routine,
// the message box and help requests. One per process, reached as Application.

#include <QApplication>
#include <QObject>
#include <QString>
#include <exception>
#include <functional>
#include <type_traits>
#include <utility>

#include "toolkit/exceptions.h"

class QDialog;
class TForm;

// Help viewer commands.
enum THelpCommand { HELP_CONTEXT = 1, HELP_CONTENTS = 3, HELP_FINDER = 11 };

class TApplication : public QObject {
    Q_OBJECT
public:
    using ExceptionHook = std::function<void(QObject* sender, const Exception& error)>;

    TApplication();
    ~TApplication() override;

    QString Title;
    QString HelpFile;
    // Called for every Exception except EAbort once installed; nothing else happens then.
    ExceptionHook OnException;
    // The first window created; closing it ends the program.
    TForm* MainForm = nullptr;

    // The error routine: every error escaping a guarded handler ends up here.
    void HandleException(QObject* sender, std::exception_ptr error);

    // The program's message box: caption Title, no icon, one "OK" button that is
    // both default and cancel, modal, centred on the screen. Returns when dismissed.
    void MessageBox(const QString& text);

    // Asks the help viewer for HelpFile's contents, finder or a context topic.
    void HelpCommand(THelpCommand command, int data);

signals:
    // Emitted right before a message box (or error box) runs its modal loop;
    // tests observe the caption and text here and may dismiss the box.
    void messageBoxShown(QDialog* box, const QString& caption, const QString& text);
    // Emitted for every help request, whether or not a viewer could be reached.
    void helpRequested(const QString& helpFile, int command, int data);
};

extern TApplication* Application;

// Runs a handler; an error escaping it goes to the application's error routine
// instead of unwinding through Qt.
template <class F>
void Guard(QObject* sender, F&& handler) noexcept {
    try {
        std::forward<F>(handler)();
    } catch (...) {
        if (Application)
            Application->HandleException(sender, std::current_exception());
    }
}

// Connects a signal to a handler that runs inside Guard with the sender. The
// handler takes the signal's arguments or none.
template <class Sender, class Signal, class F>
QMetaObject::Connection On(Sender* sender, Signal signal, QObject* context, F handler) {
    return QObject::connect(sender, signal, context, [sender, handler](auto&&... args) {
        Guard(sender, [&] {
            if constexpr (std::is_invocable_v<const F&, decltype(args)...>)
                handler(args...);
            else
                handler();
        });
    });
}

// QApplication whose notify() is the last line of defence: an error that a
// handler failed to guard still reaches the error routine, never the event loop.
class TGuardedApplication : public QApplication {
public:
    TGuardedApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};
