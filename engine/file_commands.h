// The file list's own commands that rename: one file, and the current directory.
#pragma once

#include "prompts.h"

#include "platform/file_system.h"

#include <optional>
#include <string>

namespace quorvane::engine {

class JournalWriter;

/// What a single-file rename ended with.
struct SingleRenameResult
{
    bool renamed = false; ///< the file has a new name
    std::u32string name; ///< the name the file has afterwards
};

/// Renames one file of `directory` (without final "/") after asking for its new name
/// (RINOMINA_FILE). Forbidden characters are removed from the answer; a refused rename
/// says why (NOME_GIA_PRESENTE for a taken name, otherwise the reason and the error code)
/// and asks again, until it succeeds or the user gives the file its own name back (Cancel
/// does that). Never called without a file.
/// With `journal` (owned by the caller, unused before) the rename is journaled: when the
/// journal cannot be written the user is asked whether to rename without it (No: nothing
/// is renamed).
[[nodiscard]] SingleRenameResult renameOneFile(platform::FileSystem& fs, Prompts& prompts,
    const std::u32string& directory, const std::u32string& name, bool dosNames,
    JournalWriter* journal = nullptr);

/// The window's side of renaming the current directory.
class DirectoryRenameHooks
{
public:
    virtual ~DirectoryRenameHooks() = default;
    /// "Annulla" can no longer undo the last run.
    virtual void disableUndo() = 0;
    /// The directory tree moves to `directory`.
    virtual void moveTree(const std::u32string& directory) = 0;
};

/// Renames the current directory after asking for its new name (CAMBIA_NOME_DIR). Refuses
/// forbidden characters and ".." (CHAR_INVALIDI) and an existing name (DIR_ESISTENTE); a
/// failed rename leaves the tree on the old directory and shows DIR_IN_USO. At a volume root
/// nothing is renamed; otherwise the tree steps away to `volumeRoot` while the directory is
/// renamed. Returns the new path. `journal` as for renameOneFile.
[[nodiscard]] std::optional<std::u32string> renameCurrentDirectory(platform::FileSystem& fs,
    Prompts& prompts, DirectoryRenameHooks& hooks, const std::u32string& directory,
    const std::u32string& volumeRoot, bool dosNames, JournalWriter* journal = nullptr);

} // namespace quorvane::engine
