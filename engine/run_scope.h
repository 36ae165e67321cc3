// What a run needs of the main window: its scope controls and a few hooks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quorvane::engine {

/// The window's scope controls as a run reads and leaves them.
struct RunScope
{
    std::u32string directory; ///< DirectoryListBox1: the directory the run covers
    std::u32string mask = U"*.*"; ///< FilterComboBox1's current mask
    std::vector<std::u32string> selection; ///< FileListBox1's selected files, in list order
    bool CheckBox7 = true; ///< "Le Directory": subdirectories are renamed too
    bool CheckBox10 = false; ///< descend into every subdirectory
    bool CheckBox5 = false; ///< "Solo le Directory"
    bool CheckBox7Enabled = true;
    bool CheckBox10Enabled = true;
    bool RadioButton1 = true; ///< "Non modificare gli Attributi"
    bool CheckBox1 = false; ///< Read Only
    bool CheckBox2 = false; ///< Hidden
    bool CheckBox3 = false; ///< System
    bool CheckBox4 = false; ///< Archive

    /// The attribute value of the four boxes (1, 2, 4, 32 summed).
    [[nodiscard]] std::uint32_t attributeValue() const
    {
        return (CheckBox1 ? 1U : 0U) | (CheckBox2 ? 2U : 0U) | (CheckBox3 ? 4U : 0U)
            | (CheckBox4 ? 32U : 0U);
    }
};

/// The window's side of a run. Every hook defaults to doing nothing, which is what a
/// front end without a window (the command line) needs.
class RunHooks
{
public:
    virtual ~RunHooks() = default;
    /// The directory monitor is switched off around the run's own renames.
    virtual void monitorOff() { }
    virtual void monitorOn() { }
    /// BitBtn1's state: disabled with "Attendere..." while running.
    virtual void setRenameButton(bool /*enabled*/, const std::u32string& /*caption*/) { }
    /// "All" was answered: the file list loses its selection.
    virtual void clearSelection() { }
    /// The file list is re-read before a failed rename is asked about.
    virtual void refreshFileList() { }
    /// The file list and the directory tree are re-read after the run.
    virtual void refreshLists() { }
    virtual void setTitle(const std::u32string& /*title*/) { }
    /// "Annulla" becomes available after a run, and unavailable after an undo.
    virtual void setUndoEnabled(bool /*enabled*/) { }
    /// The run changed the scope controls (check boxes switched off or enabled again).
    virtual void scopeChanged(const RunScope& /*scope*/) { }
    /// Called after each entry of a real run; a window keeps itself painted and shows the
    /// count here. A preview does not call it.
    virtual void progress(int /*processed*/) { }
    /// Asked before each entry: true ends the run there, as if the user had answered Stop
    /// (the command line sets it from SIGINT and SIGTERM).
    [[nodiscard]] virtual bool stopRequested() { return false; }
};

} // namespace quorvane::engine
