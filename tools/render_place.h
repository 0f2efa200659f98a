#pragma once
// Argument reading shared by the place and render modes.

#include <QString>

#include "picture/placement.h"

// Sets the flag named by a --center, --proportional or --stretch argument;
// false for any other text.
bool ReadPlacementFlag(const QString& argument, TPlacementFlags& flags);

// A whole non-negative decimal number within int; false otherwise.
bool ReadSide(const QString& text, int& side);
