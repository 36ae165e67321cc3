// The whole content of one regular file, read with a ceiling on its size.
#pragma once

#include "sys_error.h"

#include <cstddef>
#include <string>

namespace quorvane::platform {

/// The bytes of the regular file at `path`, following symbolic links. Fails with the errno
/// of opening or reading (ENOENT, EACCES ...), EISDIR for a directory, EINVAL for any other
/// entry that is not a regular file (a FIFO, a device or a socket, which are never waited
/// on), and EFBIG when the file holds more than `maxBytes` bytes.
[[nodiscard]] Result<std::string> readFileContent(const std::string& path, std::size_t maxBytes);

} // namespace quorvane::platform
