#pragma once
// The main window's bounds and last folder, kept in STATE.INI in the program folder.

class TfrmMain;

// Reads STATE.INI and applies bounds and folder to the window being created.
void RestoreState(TfrmMain& form);
// Writes the window's last normal bounds and the current folder to STATE.INI.
void SaveState(TfrmMain& form);
