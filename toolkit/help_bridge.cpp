#include "toolkit/help_bridge.h"

void SendHelpRequest(const QString& /*helpFile*/, int /*command*/, int /*data*/) {
    // The viewer process is not wired up yet.
}
