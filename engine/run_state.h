// The values through which the window and the mode dialogs parameterise a run.
#pragma once

#include "entry_list.h"
#include "numbering_layout.h"
#include "undo_log.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quorvane::engine {

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
    NumberingLayout NumLayout; ///< numbering layout elements
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
