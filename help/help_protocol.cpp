#include "help/help_protocol.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalSocket>
#include <QRegularExpression>
#include <unistd.h>

namespace {

std::optional<int> ContextArgument(const QString& text) {
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,10}$"));
    if (!digits.match(text).hasMatch() || text.toLongLong() > 2147483647)
        return std::nullopt;
    return text.toInt();
}

}  // namespace

std::optional<THelpRequest> ParseHelpRequest(const QString& line) {
    const QStringList words = line.trimmed().split(u' ', Qt::SkipEmptyParts);
    if (words.size() == 1) {
        if (words[0] == QStringLiteral("contents"))
            return THelpRequest{THelpRequest::Contents, 0};
        if (words[0] == QStringLiteral("finder"))
            return THelpRequest{THelpRequest::Finder, 0};
        if (words[0] == QStringLiteral("state"))
            return THelpRequest{THelpRequest::State, 0};
        if (words[0] == QStringLiteral("quit"))
            return THelpRequest{THelpRequest::Quit, 0};
    }
    if (words.size() == 2 && words[0] == QStringLiteral("context"))
        if (const auto context = ContextArgument(words[1]))
            return THelpRequest{THelpRequest::Context, *context};
    return std::nullopt;
}

QString HelpRequestLine(const THelpRequest& request) {
    switch (request.kind) {
    case THelpRequest::Contents:
        return QStringLiteral("contents");
    case THelpRequest::Finder:
        return QStringLiteral("finder");
    case THelpRequest::Context:
        return QStringLiteral("context %1").arg(request.context);
    case THelpRequest::State:
        return QStringLiteral("state");
    case THelpRequest::Quit:
        return QStringLiteral("quit");
    }
    return QString();
}

std::optional<THelpCommandLine> ParseHelpCommandLine(const QStringList& arguments) {
    THelpCommandLine commandLine;
    if (arguments.size() < 2 || arguments[1].isEmpty() || arguments[1].startsWith(QStringLiteral("--")))
        return std::nullopt;
    commandLine.helpFile = QFileInfo(arguments[1]).absoluteFilePath();
    if (arguments.size() == 2)
        return commandLine;
    const QString option = arguments[2];
    if (arguments.size() == 3 && option == QStringLiteral("--contents"))
        return commandLine;
    if (arguments.size() == 3 && option == QStringLiteral("--finder")) {
        commandLine.request.kind = THelpRequest::Finder;
        return commandLine;
    }
    if (arguments.size() == 4 && option == QStringLiteral("--context")) {
        if (const auto context = ContextArgument(arguments[3])) {
            commandLine.request = {THelpRequest::Context, *context};
            return commandLine;
        }
    }
    return std::nullopt;
}

QString HelpServerName(const QString& helpFile) {
    const QByteArray path = QFileInfo(helpFile).absoluteFilePath().toUtf8();
    const QByteArray digest = QCryptographicHash::hash(path, QCryptographicHash::Sha1).toHex().left(16);
    return QStringLiteral("quimbly-help-%1-%2").arg(::getuid()).arg(QString::fromLatin1(digest));
}

std::optional<QString> AskHelpViewer(const QString& helpFile, const QString& line, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    auto left = [&] { return std::max(1, timeoutMs - static_cast<int>(clock.elapsed())); };
    QLocalSocket socket;
    socket.connectToServer(HelpServerName(helpFile));
    if (!socket.waitForConnected(left()))
        return std::nullopt;
    socket.write(line.toUtf8() + '\n');
    if (!socket.waitForBytesWritten(left()))
        return std::nullopt;
    QByteArray answer;
    while (!answer.contains('\n')) {
        if (!socket.waitForReadyRead(left()))
            return std::nullopt;
        answer += socket.readAll();
        if (answer.size() > 1024 * 1024)
            return std::nullopt;
    }
    return QString::fromUtf8(answer.left(answer.indexOf('\n')));
}
