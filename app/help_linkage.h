#pragma once
// The help file: its full path next to the program.

#include <QString>

// Replaces the application's bare help file name by programFolder + "Quimbly.hlp".
void CompleteHelpFilePath(const QString& programFolder);
