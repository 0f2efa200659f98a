#include "app/help_linkage.h"

#include "toolkit/application.h"

void CompleteHelpFilePath(const QString& programFolder) {
    Application->HelpFile = programFolder + QStringLiteral("Quimbly.hlp");
}
