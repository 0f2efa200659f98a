#pragma once
// Real folder trees in a temporary folder for the pane tests.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

class TPaneTree {
public:
    // The temporary folder as the file system reports it.
    QString Root() const { return QFileInfo(dir_.path()).canonicalFilePath(); }
    QString Path(const QString& relative) const { return Root() + u'/' + relative; }

    void Folder(const QString& relative) const { QDir().mkpath(Path(relative)); }
    void File(const QString& relative) const {
        QDir().mkpath(QFileInfo(Path(relative)).path());
        QFile file(Path(relative));
        if (file.open(QIODevice::WriteOnly))
            file.write("x");
    }
    void Remove(const QString& relative) const { QDir(Path(relative)).removeRecursively(); }

private:
    QTemporaryDir dir_;
};
