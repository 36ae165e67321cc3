// What a run covers, in the engine's own words; the window maps its controls to it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quorvane::engine {

/// The entries a run takes and what it does to their attributes. The run may change it
/// (a selection switches the directory options off; "All" clears the selection), and the
/// caller shows it again afterwards.
struct RunScope
{
    std::u32string directory; ///< the directory the run covers
    std::u32string mask = U"*.*"; ///< files taken when nothing is selected
    std::vector<std::u32string> selection; ///< selected files of `directory`, in list order
    bool renameDirectories = true; ///< subdirectories are renamed too
    bool recursive = false; ///< every subdirectory is processed first
    bool directoriesOnly = false; ///< no file is renamed
    bool setAttributes = false; ///< every entry gets the attribute value below
    bool readOnly = false;
    bool hidden = false;
    bool system = false;
    bool archive = false;

    /// The scope a run really covers: selected files are the whole run, so the directory
    /// options do not apply to them. The run, its preview and the dialogs that list the
    /// run's entries all take their scope from here.
    void applySelection()
    {
        if (!selection.empty()) {
            renameDirectories = false;
            directoriesOnly = false;
            recursive = false;
        }
    }

    /// The attribute value (read-only 1, hidden 2, system 4, archive 32, summed).
    [[nodiscard]] std::uint32_t attributeValue() const
    {
        return (readOnly ? 1U : 0U) | (hidden ? 2U : 0U) | (system ? 4U : 0U)
            | (archive ? 32U : 0U);
    }
};

} // namespace quorvane::engine
