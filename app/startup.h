#pragma once
// Start-up and shutdown of the program's four windows.

// Sets title and help file name and creates frmMain, frmAbout, frmSlide and
// frmTime in this order.
void StartUp();

// Hides every window at once, then destroys the four windows in reverse order.
void ShutDown();
