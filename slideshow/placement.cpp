#include "slideshow/placement.h"

#include <algorithm>

#include "toolkit/form.h"

void CentreOnWindow(TForm& window, const TForm& reference) {
    const int left = reference.Left() + (reference.Width() - window.Width()) / 2;
    const int top = reference.Top() + (reference.Height() - window.Height()) / 2;
    window.SetLeft(std::max(left, 0));
    window.SetTop(std::max(top, 0));
}
