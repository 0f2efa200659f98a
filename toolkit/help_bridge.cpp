#include "toolkit/help_bridge.h"

#include <QCoreApplication>
#include <QProcess>
#include <QStringList>

#include "toolkit/application.h"

namespace {
QString viewerOverride;
}

QString HelpViewerProgram() {
    if (!viewerOverride.isEmpty())
        return viewerOverride;
    return QCoreApplication::applicationDirPath() + QStringLiteral("/quimbly-help");
}

void SetHelpViewerProgram(const QString& path) { viewerOverride = path; }

void SendHelpRequest(const QString& helpFile, int command, int data) {
    QStringList arguments{helpFile};
    switch (command) {
    case HELP_CONTENTS:
        arguments << QStringLiteral("--contents");
        break;
    case HELP_FINDER:
        arguments << QStringLiteral("--finder");
        break;
    case HELP_CONTEXT:
        arguments << QStringLiteral("--context") << QString::number(data);
        break;
    default:
        return;
    }
    // The viewer starts on its own and outlives nothing of ours; if it cannot
    // start there is nobody to tell, so the result is not looked at.
    QProcess::startDetached(HelpViewerProgram(), arguments);
}
