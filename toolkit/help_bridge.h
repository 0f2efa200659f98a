#pragma once
// Hands one help request to the help viewer program, which runs outside this
// process. Failures are silent: the viewer reports a missing file itself.

#include <QString>

void SendHelpRequest(const QString& helpFile, int command, int data);
