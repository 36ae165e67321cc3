// The values through which the window and the mode dialogs parameterise a run.
#pragma once

#include "entry_list.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quorvane::engine {

/// Index-aligned record of renames: directory text (ending in "/"), name before, after.
struct UndoLog
{
    std::vector<std::u32string> UndoDirs;
    std::vector<std::u32string> UndoOldNames;
    std::vector<std::u32string> UndoNewNames;

    void append(std::u32string dir, std::u32string oldName, std::u32string newName)
    {
        UndoDirs.push_back(std::move(dir));
        UndoOldNames.push_back(std::move(oldName));
        UndoNewNames.push_back(std::move(newName));
    }
    [[nodiscard]] std::size_t size() const { return UndoDirs.size(); }
    [[nodiscard]] bool empty() const { return UndoDirs.empty(); }
};

/// Whether the system can watch a directory: "NT" can, and the window then uses its
/// directory monitor (switched off around its own renames); "9x" cannot, and the window
/// shows a refresh button instead.
enum class PlatformKind { Win9x, NT };

/// The run state. One instance lives as long as the main window; nothing is stored.
struct RunState
{
    int RenamedCount = 0; ///< entries processed by the last run
    int NumDigits = 2; ///< 1..8: number width; shortest digit run removed
    std::int32_t NumStart = 1; ///< number of a directory's first numbered file
    std::int32_t NumStep = 1; ///< added after each numbered file
    std::vector<std::u32string> NumLayout; ///< numbering layout elements
    bool NumCustomOrder = false; ///< the run walks OrderList
    EntryList OrderList; ///< entries in an order a dialog chose
    std::vector<std::u32string> TargetNames; ///< new names, aligned with OrderList
    bool NumAfterList = false;
    std::u32string ListFileName;
    int DelNumMode = 0; ///< 0..3
    bool DelNumLeadingOnly = false;
    std::u32string DeleteSeq;
    std::u32string ReplaceFrom;
    std::u32string ReplaceTo;
    std::u32string LastNumberedDir; ///< directory of the last run with numbering
    PlatformKind platformKind = PlatformKind::NT; ///< decides whether the monitor is used
    UndoLog undo; ///< the last run's renames, reversed by "Annulla"
    std::string lastRunJournal; ///< the journal of the run in `undo`; empty when none
    UndoLog previewRows; ///< the last preview's rows, kept apart so a preview never spoils an undo
};

} // namespace quorvane::engine
