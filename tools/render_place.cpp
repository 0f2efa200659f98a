// quimbly-render place W H CW CH [--center] [--proportional] [--stretch]
#include "tools/render_place.h"

#include <algorithm>
#include <cstdio>

#include "tools/render_modes.h"

bool ReadPlacementFlag(const QString& argument, TPlacementFlags& flags) {
    if (argument == QLatin1String("--center"))
        flags.center = true;
    else if (argument == QLatin1String("--proportional"))
        flags.proportional = true;
    else if (argument == QLatin1String("--stretch"))
        flags.stretch = true;
    else
        return false;
    return true;
}

bool ReadSide(const QString& text, int& side) {
    if (text.isEmpty() || !std::all_of(text.begin(), text.end(), [](QChar c) { return c >= '0' && c <= '9'; }))
        return false;
    bool ok = false;
    side = text.toInt(&ok);
    return ok;
}

namespace {

int RunPlace(const QStringList& arguments) {
    TPlacementFlags flags;
    int sides[4] = {};
    int count = 0;
    for (const QString& argument : arguments) {
        if (argument.startsWith(QLatin1String("--"))) {
            if (!ReadPlacementFlag(argument, flags))
                return RenderUsageError();
        } else if (count == 4 || !ReadSide(argument, sides[count++])) {
            return RenderUsageError();
        }
    }
    if (count != 4)
        return RenderUsageError();
    const QRect rect = PlacementRect(sides[0], sides[1], sides[2], sides[3], flags);
    std::printf("%d %d %d %d\n", rect.x(), rect.y(), rect.width(), rect.height());
    return kRenderOk;
}

const TRenderMode placeMode("place", "W H CW CH [--center] [--proportional] [--stretch]", RunPlace);

}  // namespace
