// quimbly-help: shows the topics of one help file. Started with the help
// file and one request; a start for a help file that a running viewer
// already shows hands its request to that viewer and ends.

#include <QApplication>
#include <QDir>
#include <QLockFile>
#include <cstdio>

#include "help/help_protocol.h"
#include "help/help_server.h"
#include "help/help_window.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const auto commandLine = ParseHelpCommandLine(QApplication::arguments());
    if (!commandLine) {
        std::fputs("usage: quimbly-help FILE [--contents | --finder | --context N]\n", stderr);
        return 2;
    }
    const QString& helpFile = commandLine->helpFile;

    // Two starts at the same moment must not both become the viewer.
    QLockFile lock(QDir::temp().filePath(HelpServerName(helpFile) + QStringLiteral(".lock")));
    lock.tryLock(5000);
    if (AskHelpViewer(helpFile, HelpRequestLine(commandLine->request)) == QStringLiteral("ok"))
        return 0;

    THelpWindow window(helpFile);
    THelpServer server(helpFile, window);
    server.Listen();
    lock.unlock();

    window.Serve(commandLine->request);
    window.show();
    window.raise();
    window.activateWindow();
    return QApplication::exec();
}
