// System errors as values: the errno of a failed call and what was being done.
#include "sys_error.h"

#include <array>
#include <cstring>

namespace quorvane::platform {

namespace {

// strerror_r comes in two shapes: the GNU one returns the text (which need not be in the
// buffer), the XSI one fills the buffer and returns 0. Overloads pick whichever we got.
[[maybe_unused]] const char* strerrorText(const char* result, const char* /*buffer*/)
{
    return result;
}

[[maybe_unused]] const char* strerrorText(int result, const char* buffer)
{
    return result == 0 ? buffer : nullptr;
}

} // namespace

std::string SysError::text() const
{
    std::array<char, 256> buffer {};
    const char* message
        = strerrorText(strerror_r(code, buffer.data(), buffer.size()), buffer.data());
    if (message == nullptr || *message == '\0')
        return "Unknown error " + std::to_string(code);
    return message;
}

std::string SysError::describe() const
{
    if (operation.empty())
        return text();
    return operation + ": " + text();
}

SysError lastError(std::string operation)
{
    return SysError { errno, std::move(operation) };
}

} // namespace quorvane::platform
