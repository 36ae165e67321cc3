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

/// The path as text, without reading the disk: repeated "/" collapsed, "." components dropped,
/// ".." taking away the component before it ("/.." is "/"; leading ".." of a relative path
/// stay), no trailing "/" (but "/" stays "/"). "" stays ""; a relative path that cancels
/// out is ".".
[[nodiscard]] std::string normalizeDirectory(std::string_view path);

/// True when `path` is `ancestor` or lies below it, compared by whole components of the
/// normalized texts ("/usrdata" is not inside "/usr").
[[nodiscard]] bool isWithin(std::string_view path, std::string_view ancestor);

/// True when the directory is "/" or one of the mount points.
[[nodiscard]] bool isRoot(std::string_view dir, const std::vector<std::string>& mounts);
[[nodiscard]] bool isRoot(std::string_view dir);

/// The roots of the system trees (/usr /etc /var /opt ... /lib /lib32 /lib64 /libx32): they
/// and every directory inside them hold the system's and the programs' files. Every other
/// top-level "/lib..." directory counts as one of them as well.
[[nodiscard]] const std::vector<std::string>& systemDirectories();

/// The user's home directories: $HOME when absolute and the home of the passwd entry, each
/// also in its canonical form when that differs.
[[nodiscard]] std::vector<std::string> homeDirectories();

/// True where a bulk rename is dangerous, in this order:
/// - a volume root ("/" or one of `mounts`): dangerous;
/// - /mnt, /media, /tmp, /var/tmp and the temporary directory themselves: dangerous;
/// - inside (strictly below) /tmp, /var/tmp or the temporary directory: not dangerous, it is
///   scratch space the user owns. The temporary directory (as given and in canonical form)
///   counts only when it is absolute and not "/", /home, the root of a system tree or a
///   directory holding a home: such a setting would switch the guard off for all below it;
/// - a system tree root or anything inside one (systemDirectories()): dangerous, except
///   what lies inside a volume mounted below /run/media (udisks' place for a user's sticks);
/// - /home or a home directory itself (homeDirectories()), but not what lies inside them:
///   dangerous.
/// Compares the normalized text of `dir` by components; the caller checks the canonical form
/// separately. Reads $HOME, $TMPDIR and the passwd entry.
[[nodiscard]] bool isDangerousPath(std::string_view dir, const std::vector<std::string>& mounts);

/// $TMPDIR when set and not empty, otherwise "/tmp"; without a trailing "/".
[[nodiscard]] std::string tempDirectory();

/// True when `path` names a directory, also through a symbolic link.
[[nodiscard]] bool isDirectory(const std::string& path);

} // namespace quorvane::platform
