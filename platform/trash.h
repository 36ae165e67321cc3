// The user's trash as desktops share it (freedesktop.org Trash): a home trash and one per volume.
#pragma once

#include "sys_error.h"

#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace quorvane::platform {

/// A trash directory and how its records name the original location.
struct TrashLocation
{
    /// Holds files/ and info/; no trailing "/".
    std::string directory;
    /// "" for the home trash, whose records hold absolute paths; otherwise the volume's mount
    /// point, to which the records' paths are relative.
    std::string topdir;
};

/// Moves one entry that is not a directory into the user's trash and returns the path it
/// now has there (…/files/NAME). A symbolic link is moved as the link itself.
/// The home trash ($XDG_DATA_HOME/Trash, XDG_DATA_HOME defaulting to $HOME/.local/share;
/// missing directories are created with mode 0700) takes entries of its own device; an entry
/// of another volume goes to that volume's trash (volumeTrash()). Nothing is ever copied:
/// when no trash on the entry's own volume can be used, the error that stopped it (EXDEV,
/// EACCES ...) is returned and the entry stays where it was. EISDIR for a directory, ENOENT
/// for a path that names nothing.
[[nodiscard]] Result<std::string> moveToTrash(const std::string& path);

/// The home trash directory, without creating anything; nullopt when neither XDG_DATA_HOME
/// nor HOME is an absolute path.
[[nodiscard]] std::optional<std::string> homeTrashDirectory();

/// The trash of the volume mounted at `topdir`, created when missing: $topdir/.Trash/$uid when
/// $topdir/.Trash is a shared trash made by the administrator (a real directory with the
/// sticky bit), otherwise $topdir/.Trash-$uid (mode 0700). A trash directory that is a
/// symbolic link or not a directory is refused (ENOTDIR), one owned by someone else as well
/// (EACCES).
[[nodiscard]] Result<TrashLocation> volumeTrash(const std::string& topdir);

/// Moves the entry at the absolute path `original` into the trash at `location`: creates
/// files/ and info/ when missing, writes info/NAME.trashinfo with O_EXCL (NAME is the base
/// name, or "base.2", "base.3" ... when taken, shortened when too long), then renames the
/// entry to files/NAME without replacing anything. On a failed rename the record is removed
/// again. Returns files/NAME after checking that it is the entry that was at `original`.
[[nodiscard]] Result<std::string> moveIntoTrash(
    const std::string& original, const TrashLocation& location);

/// The path as a trash record holds it: every byte other than ASCII letters, digits,
/// "-_.!~*'()" and "/" written as "%XX" (upper-case hex), as URIs escape them.
[[nodiscard]] std::string encodeTrashPath(std::string_view path);

/// The text of a .trashinfo record: "[Trash Info]", Path= (already relative when it should be)
/// and DeletionDate=YYYY-MM-DDThh:mm:ss of `deletion`, one per line.
[[nodiscard]] std::string trashInfoText(std::string_view path, const std::tm& deletion);

} // namespace quorvane::platform
