// SIGTERM, SIGINT and SIGHUP as a request to close the program in good order.
#include "close_signals.h"

#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace quorvane::platform {

namespace {

int g_writeEnd
    = -1; // NOLINT(cppcoreguidelines-avoid-non-const-global-variables): signal handler state

constexpr int kSignals[] = { SIGTERM, SIGINT, SIGHUP };

void onCloseSignal(int /*signal*/)
{
    const int saved = errno;
    const char byte = 1;
    (void)!::write(g_writeEnd, &byte, 1);
    errno = saved;
}

} // namespace

int installCloseSignals()
{
    int ends[2] = { -1, -1 };
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0)
        return -1;
    g_writeEnd = ends[1];
    for (const int signal : kSignals) {
        struct sigaction current
        {
        };
        if (::sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_IGN)
            continue;
        struct sigaction action
        {
        };
        action.sa_handler = onCloseSignal;
        sigemptyset(&action.sa_mask);
        // The next one of the same kind ends the process: a program that cannot close must
        // still be stoppable.
        action.sa_flags = static_cast<int>(SA_RESTART | SA_RESETHAND);
        ::sigaction(signal, &action, nullptr);
    }
    return ends[0];
}

void drainCloseSignals(int readEnd)
{
    char bytes[16];
    while (::read(readEnd, bytes, sizeof bytes) > 0) { }
}

} // namespace quorvane::platform
