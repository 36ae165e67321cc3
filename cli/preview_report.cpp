// What `quorvane-cli preview` prints: its rows and the conflicts among them.
#include "preview_report.h"

#include "terminal_text.h"

#include "engine/preview_marks.h"
#include "engine/rename_retry.h"
#include "platform/name_codec.h"

#include <algorithm>
#include <array>
#include <map>
#include <ostream>
#include <utility>

namespace quorvane::cli {

void writePreviewRows(const engine::UndoLog& rows, bool nulTerminated, std::ostream& out)
{
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (nulTerminated) {
            out << rows.directoryBytes(i) << '\0' << rows.oldNameBytes(i) << '\0'
                << rows.newNameBytes(i) << '\0';
        } else {
            out << escapeForTerminal(rows.directory(i)) << '\t'
                << escapeForTerminal(rows.oldName(i)) << '\t' << escapeForTerminal(rows.newName(i))
                << '\n';
        }
    }
}

std::size_t reportConflicts(
    const engine::UndoLog& rows, const platform::FileSystem& fs, std::ostream& errors)
{
    const std::vector<engine::PreviewMark> marks = engine::markPreviewRows(rows, fs);
    std::size_t refused = 0;
    for (std::size_t i = 0; i < marks.size(); ++i) {
        if (marks[i].refusal == 0)
            continue;
        ++refused;
        errors << "quorvane-cli: will fail: "
               << escapeForTerminal(rows.directory(i) + rows.oldName(i)) << " -> "
               << escapeForTerminal(rows.newName(i)) << ": "
               << engine::refusalText(platform::SysError { marks[i].refusal, {} }) << '\n';
    }
    if (std::ranges::none_of(marks, &engine::PreviewMark::conflict))
        return refused;
    // The reason: another changed row of the directory takes the name, or an entry on disk
    // already has it. Counted as the marks are, on the names' bytes.
    std::map<std::pair<std::string_view, std::string_view>, int> newNameUses;
    for (std::size_t i = 0; i < marks.size(); ++i) {
        if (marks[i].changed)
            ++newNameUses[{ rows.directoryBytes(i), rows.newNameBytes(i) }];
    }
    std::size_t conflicts = refused;
    for (std::size_t i = 0; i < marks.size(); ++i) {
        if (!marks[i].conflict)
            continue;
        ++conflicts;
        const bool shared = newNameUses[{ rows.directoryBytes(i), rows.newNameBytes(i) }] > 1;
        errors << "quorvane-cli: conflict: "
               << escapeForTerminal(rows.directory(i) + rows.oldName(i)) << " -> "
               << escapeForTerminal(rows.newName(i)) << ": "
               << (shared ? "another entry gets the same new name"
                          : "an entry of that name is already there")
               << '\n';
    }
    return conflicts;
}

} // namespace quorvane::cli
