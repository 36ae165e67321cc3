// The process's working directory, as the bytes the system gives.
#include "current_directory.h"

#include <cstdlib>
#include <memory>

#include <unistd.h>

namespace quorvane::platform {

std::string currentDirectory()
{
    // getcwd(nullptr, 0) allocates a buffer of the right size, however deep the path.
    const std::unique_ptr<char, decltype(&std::free)> path(::getcwd(nullptr, 0), &std::free);
    return path ? std::string(path.get()) : std::string("/");
}

} // namespace quorvane::platform
