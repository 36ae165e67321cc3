// Volume roots, the system directories and the temporary directory.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorvane::platform {

/// Mount points of the mounted volumes, from /proc/self/mountinfo (octal escapes decoded).
/// "/" is always among them.
[[nodiscard]] std::vector<std::string> mountPoints();

/// Parses the text of a mountinfo file into its mount points.
[[nodiscard]] std::vector<std::string> parseMountInfo(std::string_view text);

/// The path without trailing "/" (but "/" stays "/") and with repeated "/" collapsed.
[[nodiscard]] std::string normalizeDirectory(std::string_view path);

/// True when the directory is "/" or one of the mount points.
[[nodiscard]] bool isRoot(std::string_view dir, const std::vector<std::string>& mounts);
[[nodiscard]] bool isRoot(std::string_view dir);

/// The system directories (/bin /boot /dev /etc ...) where a bulk rename is dangerous.
[[nodiscard]] const std::vector<std::string>& systemDirectories();

/// Root or system directory, by exact comparison of the normalized text.
[[nodiscard]] bool isDangerousPath(std::string_view dir, const std::vector<std::string>& mounts);

/// $TMPDIR when set and not empty, otherwise "/tmp"; without a trailing "/".
[[nodiscard]] std::string tempDirectory();

} // namespace quorvane::platform
