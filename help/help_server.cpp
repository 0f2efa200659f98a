#include "help/help_server.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>
#include <unistd.h>

#include "help/help_protocol.h"
#include "help/help_window.h"

namespace {
constexpr qint64 kMaxRequestBytes = 256;
}

THelpServer::THelpServer(const QString& helpFile, THelpWindow& window)
    : name_(HelpServerName(helpFile)), window_(window), server_(new QLocalServer(this)) {
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, [this] { Accept(); });
}

bool THelpServer::Listen() {
    // A socket left behind by a viewer that died would refuse every start.
    QLocalServer::removeServer(name_);
    return server_->listen(name_);
}

void THelpServer::Accept() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Answer(socket); });
        // A client that never finishes its line is dropped.
        QTimer::singleShot(5000, socket, [socket] { socket->disconnectFromServer(); });
    }
}

void THelpServer::Answer(QLocalSocket* socket) {
    if (!socket->canReadLine()) {
        if (socket->bytesAvailable() > kMaxRequestBytes)
            socket->disconnectFromServer();
        return;
    }
    const QString line = QString::fromUtf8(socket->readLine(kMaxRequestBytes + 1));
    const auto request = ParseHelpRequest(line);
    QByteArray answer = "ok";
    if (!request) {
        answer = "error";
    } else if (request->kind == THelpRequest::State) {
        QJsonObject state = window_.State();
        state.insert(QStringLiteral("pid"), static_cast<qint64>(::getpid()));
        answer = QJsonDocument(state).toJson(QJsonDocument::Compact);
    } else if (request->kind == THelpRequest::Quit) {
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    } else {
        window_.Serve(*request);
        if (window_.isMinimized())
            window_.showNormal();
        window_.show();
        window_.raise();
        window_.activateWindow();
    }
    socket->write(answer + '\n');
    socket->flush();
    socket->disconnectFromServer();
}
