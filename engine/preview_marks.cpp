// Marks on preview rows: which names change and which new names would collide.
#include "preview_marks.h"

#include "platform/name_codec.h"

#include <algorithm>
#include <string>
#include <unordered_map>
#include <unordered_set>

namespace quorvane::engine {

namespace {

/// What the changed rows of one directory do to it, in file-name bytes.
struct DirectoryPlan
{
    std::unordered_map<std::string, int> newNameUses; ///< new name -> changed rows giving it
    std::unordered_map<std::string, std::size_t> firstRenamedAway; ///< old name -> first row
    std::unordered_set<std::string> onDisk;
};

/// A changed row, pointing into its directory's plan (map nodes never move).
struct ChangedRow
{
    std::size_t row = 0;
    const DirectoryPlan* plan = nullptr;
    const std::string* newName = nullptr; ///< the key in plan->newNameUses
    const int* newNameUses = nullptr;
};

void readDirectory(const std::u32string& dir, DirectoryPlan& plan, const platform::FileSystem& fs)
{
    // An unreadable directory would fail the real run anyway; it just yields no marks.
    auto listing = fs.listDirectory(platform::encodeName(dir), platform::Detail::KindOnly);
    if (!listing.ok())
        return;
    plan.onDisk.reserve(listing.value().size());
    for (auto& entry : listing.value())
        plan.onDisk.insert(std::move(entry.name));
}

[[nodiscard]] bool collides(const ChangedRow& r)
{
    if (*r.newNameUses > 1)
        return true;
    if (!r.plan->onDisk.contains(*r.newName))
        return false;
    // The entry on disk is out of the way once a row up to this one has renamed it: this
    // row itself when the new name spells the old one's bytes differently.
    const auto away = r.plan->firstRenamedAway.find(*r.newName);
    return away == r.plan->firstRenamedAway.end() || away->second > r.row;
}

} // namespace

std::vector<PreviewMark> markPreviewRows(const UndoLog& rows, const platform::FileSystem& fs)
{
    const std::size_t count = rows.size();
    std::vector<PreviewMark> marks(count);
    std::unordered_map<std::u32string, DirectoryPlan> plans;
    std::vector<ChangedRow> changed;

    std::string_view lastDir;
    DirectoryPlan* plan = nullptr;
    for (std::size_t i = 0; i < count; ++i) {
        if (rows.unchanged(i))
            continue;
        marks[i].changed = true;
        // Rows of one directory come together, so most rows skip the lookup.
        if (plan == nullptr || lastDir != rows.directoryBytes(i)) {
            lastDir = rows.directoryBytes(i);
            auto [it, isNew] = plans.try_emplace(rows.directory(i));
            plan = &it->second;
            if (isNew)
                readDirectory(it->first, *plan, fs);
        }
        std::string oldName(rows.oldNameBytes(i));
        auto& [newName, uses]
            = *plan->newNameUses.try_emplace(std::string(rows.newNameBytes(i)), 0).first;
        ++uses;
        changed.push_back({ i, plan, &newName, &uses });
        plan->firstRenamedAway.try_emplace(std::move(oldName), i); // rows come in run order
    }
    for (const ChangedRow& r : changed)
        marks[r.row].conflict = collides(r);
    return marks;
}

} // namespace quorvane::engine
