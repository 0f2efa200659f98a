#include "app/state_file.h"

void RestoreState(TfrmMain& /*form*/) {}

void SaveState(TfrmMain& /*form*/) {}
