// Whether the system can report directory changes (the program's "NT" family).
#include "platform_kind.h"

#include <sys/inotify.h>
#include <unistd.h>

namespace quorvane::platform {

bool directoryNotificationAvailable()
{
    const int fd = ::inotify_init1(IN_CLOEXEC);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

} // namespace quorvane::platform
