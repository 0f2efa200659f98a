#pragma once
// Hands one help request to the help viewer program, which runs outside this
// process: quimbly-help is started with the help file's full path and the
// request, and passes it on to its running window if it has one. Failures are
// silent: the viewer reports a missing or broken help file itself.

#include <QString>

void SendHelpRequest(const QString& helpFile, int command, int data);

// The viewer program: quimbly-help in the running program's folder unless
// set otherwise (tests point it at the built viewer, or at nothing).
QString HelpViewerProgram();
void SetHelpViewerProgram(const QString& path);
