#pragma once
// The modes of quimbly-render. Each mode lives in its own file and registers
// itself with a static TRenderMode, so adding one touches no other file:
//
//     static const TRenderMode placeMode("place", "W H CW CH [--center] ...", RunPlace);

#include <QImage>
#include <QString>
#include <QStringList>
#include <vector>

class Exception;

// Runs a mode with the arguments after its name; returns the exit status.
using TRenderModeRun = int (*)(const QStringList& arguments);

struct TRenderMode {
    TRenderMode(const char* name, const char* usage, TRenderModeRun run);
    const char* name;
    const char* usage;  // the arguments, for the usage text
    TRenderModeRun run;
};

// Every registered mode, in no particular order.
const std::vector<const TRenderMode*>& RenderModes();

// Exit statuses of the tool.
inline constexpr int kRenderOk = 0;
inline constexpr int kRenderFailed = 1;      // load or decoding error
inline constexpr int kRenderUsageError = 2;

// Prints the usage of every mode on stderr and returns kRenderUsageError.
int RenderUsageError();
// Prints the error's message on stderr and returns kRenderFailed.
int RenderFailed(const Exception& error);
// Writes the image as binary PPM (P6, maxval 255); false when the file cannot be written.
bool WritePpm(const QImage& image, const QString& fileName);
