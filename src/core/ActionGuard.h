#pragma once

#include <functional>

class Interaction;

// Runs an action of the user: an error that the action lets escape is shown as an error
// message with its text, and the caller goes on (the window stays usable). The action's progress
// ends before the message. An action the user cancelled says so in a plain message box.
// Whether the action ended without an error (or cancel).
bool runGuarded(Interaction& ui, const std::function<void()>& action);
