// SIGINT and SIGTERM as a request to stop a rename run after the entry being renamed.
#include "stop_signal.h"

#include <csignal>
#include <initializer_list>

namespace quorvane::platform {

namespace {

// Written only by the handler; the run reads it before every entry.
volatile std::sig_atomic_t g_stopSignal = 0;

void recordStop(int signal)
{
    g_stopSignal = signal;
}

} // namespace

void installStopHandlers()
{
    for (const int signal : { SIGINT, SIGTERM }) {
        struct sigaction previous = {};
        if (::sigaction(signal, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN)
            continue;
        struct sigaction action = {};
        action.sa_handler = recordStop;
        sigemptyset(&action.sa_mask);
        // SA_RESETHAND: a user who presses Ctrl-C twice wants out now, not after the entry.
        // SA_RESTART: the renames and the output go on undisturbed until the run looks.
        // glibc spells the flags as unsigned values; the field is an int.
        action.sa_flags = static_cast<int>(static_cast<unsigned int>(SA_RESETHAND | SA_RESTART));
        ::sigaction(signal, &action, nullptr);
    }
}

int receivedStopSignal()
{
    return g_stopSignal;
}

void clearStopSignal()
{
    g_stopSignal = 0;
}

int stoppedStatus(int signal)
{
    return 128 + signal;
}

const char* stopSignalName(int signal)
{
    switch (signal) {
    case SIGINT:
        return "SIGINT";
    case SIGTERM:
        return "SIGTERM";
    default:
        return "another signal";
    }
}

} // namespace quorvane::platform
