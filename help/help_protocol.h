#pragma once
// How requests reach the help viewer: on its command line when it starts, and
// as one line over a local socket when a viewer for the same help file is
// already running. Each help file has its own socket name, per user.

#include <QString>
#include <QStringList>
#include <optional>

struct THelpRequest {
    enum Kind { Contents, Finder, Context, State, Quit };
    Kind kind = Contents;
    int context = 0;
};

// "contents", "finder", "context N" (N from 0 to 2147483647), "state", "quit".
std::optional<THelpRequest> ParseHelpRequest(const QString& line);
QString HelpRequestLine(const THelpRequest& request);

// Command line: FILE [--contents | --finder | --context N]; no option means contents.
struct THelpCommandLine {
    QString helpFile;
    THelpRequest request;
};
std::optional<THelpCommandLine> ParseHelpCommandLine(const QStringList& arguments);

QString HelpServerName(const QString& helpFile);

// Sends one line to the viewer serving helpFile and returns its one-line
// answer, or nullopt when no viewer answered in time.
std::optional<QString> AskHelpViewer(const QString& helpFile, const QString& line, int timeoutMs = 3000);
