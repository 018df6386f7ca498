#pragma once

#include <functional>

namespace korvex {

class UserDialogs;

// Runs one user action: an error that no step caught ends the action and is
// shown in the standard error box with its own text; the window stays open.
// Returns false when the action ended with an error.
bool RunUserAction(UserDialogs &dialogs, const std::function<void()> &action);

} // namespace korvex
