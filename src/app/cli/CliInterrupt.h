#pragma once

// SIGINT and SIGTERM of ztfi-cli, its only way to cancel. Outside a cancellable action a signal
// ends the program at once, by the signal, as it always did. During one the first signal asks
// the action to stop at its next checkpoint, which leaves nothing half-done (no report file, the
// check's transaction rolled back); once the program has cleaned up it ends by that same signal.
// A second signal ends it at once.
namespace CliInterrupt {

// Catches both signals from now on, unless the caller had them ignored.
void install();
// Whether a cancellable action runs (Interaction::setCancellable).
void setCancellable(bool cancellable);
// Whether a signal asked the action that runs to stop.
bool requested();
// Ends the program by the signal that cancelled its action, if one did; returns otherwise.
void endByReceivedSignal();

}  // namespace CliInterrupt
