// The order in which a run's renames can be carried out when new names are old names of
// other entries of the run: chains from their free end, cycles through one temporary name.
#pragma once

#include "undo_log.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane::engine {

/// What the planner asks about the directories of the rows. Directories are given as the
/// rows hold them (ending in "/"), names as the system's bytes.
struct PlanQuestions
{
    /// True when `directory` holds an entry that the run does not rename by the name `name`
    /// (on a case-insensitive directory: by a name that folds to the same text). Asked only
    /// about names that no renamed row of that directory holds, so a look-up on disk
    /// answers it. Required.
    std::function<bool(std::string_view directory, std::string_view name)> existsOutsideRun;
    /// True when the directory takes names that differ only in letter case for one entry
    /// (platform::foldUpper decides which texts are the same). Asked once per directory;
    /// none means every directory tells case apart.
    std::function<bool(std::string_view directory)> caseInsensitive;
    /// Makes the temporary names the program's own and unique to the run, e.g. the id of
    /// its journal: ".quorvane-" + token + "-" + a number. Short, not empty, no "/" or NUL.
    std::string temporaryToken;
};

/// Why a row keeps its name.
enum class PlanRefusal : std::uint8_t {
    /// An earlier row of the same directory renames the same entry (the same name, or on a
    /// case-insensitive directory one that folds to it): only the earlier row counts.
    RepeatedEntry,
    /// Another row of the directory has the same new name (folded where the directory
    /// ignores case); every row that shares it keeps its name, as none has a better claim.
    SharedTarget,
    /// The new name is held by an entry that the run does not rename.
    TargetTaken,
    /// The new name is the name of a row refused for one of these reasons, which therefore
    /// stays where it is; this spreads back along the whole chain of rows each waiting for
    /// the next one's name (a cycle with a refused row in it is such a chain).
    TargetKept,
};

/// How one step moves its entry.
enum class StepKind : std::uint8_t {
    Direct, ///< old name to new name
    ToTemporary, ///< old name to the temporary name of its cycle
    FromTemporary, ///< the temporary name of a cycle to the new name of its first row
};

/// The steps of one run, planned as a whole.
///
/// Executing the steps in order, each with a rename that never replaces an existing entry
/// (one that lets a case-only change through, as platform::renameNoReplace does), succeeds
/// without EEXIST as long as nothing else changes the directories meanwhile and
/// PlanQuestions told the truth. After the last step every row that is not refused has its
/// new name and every refused row its old one. A temporary name is taken only between the
/// ToTemporary step that opens a cycle and the FromTemporary step that closes it; the steps
/// between them are that cycle's, in the same directory, with no other temporary name.
///
/// Order: directories come in the order of their first row (a run lists each directory's
/// rows together, subtrees before their parents, so this is the run's order), and within a
/// directory each group of dependent rows comes where its first row was; rows that depend
/// on no other keep their order. In a chain every holder of a name moves before the row
/// that takes it; a cycle a→b→c→a gives a→T, c→a, b→c, T→b.
///
/// A step that fails leaves its entry where it was: the steps after it that wait for that
/// name would meet it (EEXIST), and an entry moved to a temporary name stays there until
/// its cycle's FromTemporary step; what to do then is the caller's to decide.
///
/// The plan refers to the rows it was made from: they must outlive it unchanged.
class RenamePlan
{
public:
    struct Step
    {
        std::uint32_t row; ///< the row of the UndoLog (for FromTemporary: the cycle's first)
        std::uint32_t temporary; ///< index of the temporary name, for the two cycle steps
        StepKind kind;
    };
    struct Refused
    {
        std::uint32_t row;
        PlanRefusal reason;
    };

    [[nodiscard]] std::size_t size() const { return m_steps.size(); }
    [[nodiscard]] const Step& step(std::size_t index) const { return m_steps[index]; }
    [[nodiscard]] std::string_view directory(std::size_t index) const;
    [[nodiscard]] std::string_view from(std::size_t index) const;
    [[nodiscard]] std::string_view to(std::size_t index) const;

    /// The rows that keep their names, directory by directory in row order. Unchanged rows are
    /// neither steps nor refused.
    [[nodiscard]] const std::vector<Refused>& refused() const { return m_refused; }

    /// The temporary names, one per cycle, each in the directory of its cycle's steps: a
    /// journal records them before the first step so an entry stranded under one by a
    /// crash can be given its name.
    [[nodiscard]] std::size_t temporaryCount() const { return m_temporaryEnds.size(); }
    [[nodiscard]] std::string_view temporaryName(std::size_t index) const;

private:
    friend class RenamePlanner;
    explicit RenamePlan(const UndoLog& rows)
        : m_rows(&rows)
    { }

    const UndoLog* m_rows;
    std::vector<Step> m_steps;
    std::vector<Refused> m_refused;
    std::string m_temporaryNames;
    std::vector<std::uint32_t> m_temporaryEnds; ///< one past each name in m_temporaryNames
};

/// Plans the changed rows of `rows` (directory, old name, new name, as a run plans them).
/// Time and memory grow linearly with the rows: counted over a million rows of one directory
/// (beside the log itself), planning takes about 59 bytes a row at its peak (two name tables
/// of 16 to 32 bytes, 13 bytes of state, the steps) and the plan keeps 12 bytes a step; a
/// run of nothing but swaps, 88 and 42 (a temporary name and an extra step per cycle).
/// Throws std::invalid_argument for a bad
/// token or a missing existsOutsideRun, std::length_error beyond 2^32 - 2 rows.
[[nodiscard]] RenamePlan planRenames(const UndoLog& rows, const PlanQuestions& questions);

/// The start of every temporary name: hidden from listings (and from the run's own, which
/// skips names beginning with a dot) and plainly the program's.
inline constexpr std::string_view kTemporaryPrefix = ".quorvane-";

} // namespace quorvane::engine
