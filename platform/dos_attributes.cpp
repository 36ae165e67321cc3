// The DOS attribute word kept in the extended attribute user.DOSATTRIB, in Samba's form.
#include "dos_attributes.h"

#include <array>
#include <charconv>
#include <vector>

#include <sys/xattr.h>

namespace quorvane::platform {

std::uint32_t parseDosAttrib(std::string_view bytes)
{
    bytes = bytes.substr(0, bytes.find('\0'));
    if (!bytes.starts_with("0x") && !bytes.starts_with("0X"))
        return 0;
    bytes.remove_prefix(2);
    std::uint32_t value = 0;
    const char* end = bytes.data() + bytes.size();
    const auto [next, error] = std::from_chars(bytes.data(), end, value, 16);
    if (bytes.empty() || error != std::errc {} || next != end)
        return 0;
    return value;
}

std::string formatDosAttrib(std::uint32_t value)
{
    std::array<char, 16> digits {};
    const auto [end, error] = std::to_chars(digits.begin(), digits.end(), value, 16);
    (void)error; // 8 hex digits always fit
    return "0x" + std::string(digits.begin(), end);
}

std::uint32_t readDosAttrib(const std::string& path)
{
    // Samba's value is the hex text plus a binary record of a few dozen bytes, so the first
    // buffer nearly always suffices; a longer value is read at the size the system reports.
    std::vector<char> buffer(256);
    for (int attempt = 0; attempt < 3; ++attempt) {
        const ssize_t length = retryOnEintr(
            [&] { return lgetxattr(path.c_str(), kDosAttribName, buffer.data(), buffer.size()); });
        if (length >= 0)
            return parseDosAttrib(
                std::string_view(buffer.data(), static_cast<std::size_t>(length)));
        if (errno != ERANGE)
            return 0;
        const ssize_t needed = lgetxattr(path.c_str(), kDosAttribName, nullptr, 0);
        if (needed <= 0)
            return 0;
        buffer.resize(static_cast<std::size_t>(needed));
    }
    return 0;
}

Status writeDosAttrib(const std::string& path, std::uint32_t value)
{
    const std::string text = formatDosAttrib(value);
    const int result = retryOnEintr(
        [&] { return lsetxattr(path.c_str(), kDosAttribName, text.data(), text.size(), 0); });
    if (result != 0) {
        const int code = errno;
        return SysError { code, "set attributes of " + path };
    }
    return {};
}

} // namespace quorvane::platform
