// The build number from the executable's version record.
#include "exe_info.h"

#include <quorvane_version.h>

namespace quorvane::about {

std::string buildNumberOf(std::string_view fileVersion)
{
    constexpr std::size_t kPartLength = 4;
    for (int part = 1; part < 4; ++part) {
        const auto dot = fileVersion.find('.');
        if (dot == std::string_view::npos)
            return {};
        fileVersion.remove_prefix(dot + 1);
    }
    return std::string(fileVersion.substr(0, std::min(fileVersion.find('.'), kPartLength)));
}

std::string buildNumber()
{
    return buildNumberOf(kFileVersion);
}

} // namespace quorvane::about
