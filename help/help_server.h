#pragma once
// Serves requests that later starts of the viewer forward to the running one,
// so that one window answers every request for its help file.

#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;
class THelpWindow;

class THelpServer : public QObject {
    Q_OBJECT
public:
    THelpServer(const QString& helpFile, THelpWindow& window);

    // Takes over the help file's socket name; false when that fails (the
    // window then serves only its own start).
    bool Listen();

private:
    void Accept();
    void Answer(QLocalSocket* socket);

    QString name_;
    THelpWindow& window_;
    QLocalServer* server_;
};
