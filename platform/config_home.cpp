// Where the user's configuration files live.
#include "config_home.h"

#include "volumes.h"

#include <cstdlib>

namespace quorvane::platform {

std::string baseDirectory(const char* variable, const std::string& underHome)
{
    // Base directories must be absolute; a relative setting is to be ignored.
    const char* configured = std::getenv(variable); // NOLINT(concurrency-mt-unsafe)
    if (configured != nullptr && *configured == '/')
        return normalizeDirectory(configured);
    const std::vector<std::string> homes = homeDirectories();
    if (homes.empty())
        return {};
    const std::string& home = homes.front();
    return (home == "/" ? std::string() : home) + "/" + underHome;
}

std::string configHome()
{
    return baseDirectory("XDG_CONFIG_HOME", ".config");
}

} // namespace quorvane::platform
