#pragma once

#include <functional>

class Interaction;

// Runs an action of the user: an error that the action lets escape is shown as an error
// message with its text, and the caller goes on (the window stays usable). The action's progress
// ends before the message. Whether the action ended without an error.
bool runGuarded(Interaction& ui, const std::function<void()>& action);
