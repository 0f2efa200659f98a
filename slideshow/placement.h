#pragma once
// Where the slide show window and the interval dialog open the first time.

class TForm;

// Centres window on reference by outer bounds, truncating the halves toward
// zero and raising a negative left or top to 0, so that the title bar never
// ends up above or left of the screen.
void CentreOnWindow(TForm& window, const TForm& reference);
