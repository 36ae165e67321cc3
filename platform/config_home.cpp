// Where the user's configuration files live.
#include "config_home.h"

#include "volumes.h"

#include <cstdlib>

namespace quorvane::platform {

std::string configHome()
{
    // Base directories must be absolute; a relative setting is to be ignored.
    const char* configured = std::getenv("XDG_CONFIG_HOME"); // NOLINT(concurrency-mt-unsafe)
    if (configured != nullptr && *configured == '/')
        return normalizeDirectory(configured);
    const std::vector<std::string> homes = homeDirectories();
    if (homes.empty())
        return {};
    const std::string& home = homes.front();
    return home == "/" ? "/.config" : home + "/.config";
}

} // namespace quorvane::platform
