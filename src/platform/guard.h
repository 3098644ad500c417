// The one guard every event handler runs through: a failure ends the handler at that step and
// is shown in the error box as its message followed by a full stop. What the handler changed
// before the failure stays changed.
#pragma once

#include <functional>

#include "platform/dialogs.h"

namespace platform {

// Runs the handler; returns false when it ended by a failure (already shown).
bool RunGuarded(Dialogs& dialogs, const std::function<void()>& handler);

}  // namespace platform
