#include "app/cli/CliInterrupt.h"

#include <csignal>

namespace {

volatile std::sig_atomic_t cancellableRuns = 0;
volatile std::sig_atomic_t receivedSignal = 0;

void endBy(int signal)
{
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

extern "C" void onInterrupt(int signal)
{
    if (cancellableRuns && !receivedSignal) {
        receivedSignal = signal;
        return;
    }
    endBy(signal);
}

}  // namespace

void CliInterrupt::install()
{
    struct sigaction action = {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGINT, SIGTERM}) {
        // A signal the caller had ignored (a job started in the background by a script, nohup)
        // stays ignored.
        struct sigaction before = {};
        if (sigaction(signal, nullptr, &before) == 0 && before.sa_handler == SIG_IGN)
            continue;
        sigaction(signal, &action, nullptr);
    }
}

void CliInterrupt::setCancellable(bool cancellable)
{
    cancellableRuns = cancellable ? 1 : 0;
}

bool CliInterrupt::requested()
{
    return receivedSignal != 0;
}

void CliInterrupt::endByReceivedSignal()
{
    if (receivedSignal)
        endBy(receivedSignal);
}
