// Planning a run's renames as a whole: refusals, then chains and cycles, directory by
// directory.
#include "rename_plan.h"

#include "platform/case_fold.h"
#include "platform/name_codec.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <span>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <utility>

namespace quorvane::engine {

namespace {

constexpr std::uint32_t kNone = std::numeric_limits<std::uint32_t>::max();

enum class RowState : std::uint8_t {
    Unchanged,
    Pending,
    Done,
    RepeatedEntry,
    SharedTarget,
    TargetTaken,
    TargetKept,
};

[[nodiscard]] bool isRefused(RowState state)
{
    return state >= RowState::RepeatedEntry;
}

[[nodiscard]] PlanRefusal refusalOf(RowState state)
{
    switch (state) {
    case RowState::RepeatedEntry:
        return PlanRefusal::RepeatedEntry;
    case RowState::SharedTarget:
        return PlanRefusal::SharedTarget;
    case RowState::TargetTaken:
        return PlanRefusal::TargetTaken;
    default:
        return PlanRefusal::TargetKept;
    }
}

[[nodiscard]] std::uint64_t mixed(std::uint64_t h)
{
    h ^= h >> 29U;
    h *= 0xbf58476d1ce4e5b9ULL;
    return h ^ (h >> 32U);
}

/// The names of one directory, each the old or the new name of one row, as row numbers in
/// an open-addressing table: 8 bytes a slot and at least two slots a name, where a node
/// map would take some 60 bytes a name. Each slot keeps part of the hash, so most probes
/// settle without looking at a name.
class NameIndex
{
public:
    using NameOf = std::string_view (UndoLog::*)(std::size_t) const;

    NameIndex(const UndoLog& rows, NameOf nameOf)
        : m_rows(rows)
        , m_nameOf(nameOf)
    { }

    /// Empty, with room for `names` names compared with or without regard to case. The
    /// work is in proportion to `names`, not to the room held from a larger directory.
    void reset(std::size_t names, bool ignoreCase)
    {
        m_ignoreCase = ignoreCase;
        const std::size_t slots = std::bit_ceil(std::max<std::size_t>(2 * names, 8));
        m_slots.assign(slots, Slot { kNone, 0 });
        m_mask = slots - 1;
    }

    /// The row that has `name`, or kNone.
    [[nodiscard]] std::uint32_t find(std::string_view name)
    {
        return m_slots[probe(name, hashOf(name))].row;
    }

    /// Adds `row` under its name unless a row already has that name: then that row.
    std::uint32_t insert(std::uint32_t row)
    {
        const std::string_view name = (m_rows.*m_nameOf)(row);
        const std::uint64_t hash = hashOf(name);
        Slot& slot = m_slots[probe(name, hash)];
        if (slot.row != kNone)
            return slot.row;
        slot = Slot { row, static_cast<std::uint32_t>(hash >> 32U) };
        return kNone;
    }

private:
    struct Slot
    {
        std::uint32_t row;
        std::uint32_t check;
    };

    /// The slot holding `name`, or the empty one where it would go.
    [[nodiscard]] std::size_t probe(std::string_view name, std::uint64_t hash) const
    {
        const auto check = static_cast<std::uint32_t>(hash >> 32U);
        for (std::size_t at = hash & m_mask;; at = (at + 1) & m_mask) {
            const Slot& slot = m_slots[at];
            if (slot.row == kNone)
                return at;
            if (slot.check == check && same((m_rows.*m_nameOf)(slot.row), name))
                return at;
        }
    }

    [[nodiscard]] bool same(std::string_view a, std::string_view b) const
    {
        return m_ignoreCase ? platform::equalsIgnoreCase(a, b) : a == b;
    }

    /// Names that are the same have the same hash: under case folding, the hash is taken
    /// over the folded code points, the ASCII ones without decoding.
    [[nodiscard]] std::uint64_t hashOf(std::string_view name)
    {
        if (!m_ignoreCase)
            return mixed(std::hash<std::string_view> {}(name));
        std::uint64_t h = 0xcbf29ce484222325ULL;
        const auto add = [&h](char32_t c) { h = (h ^ c) * 0x100000001b3ULL; };
        if (std::ranges::all_of(
                name, [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
            for (const char c : name)
                add(platform::asciiUpper(static_cast<unsigned char>(c)));
        } else {
            platform::decodeName(name, m_decoded);
            for (const char32_t c : m_decoded)
                add(platform::foldUpper(c));
        }
        return mixed(h);
    }

    const UndoLog& m_rows;
    NameOf m_nameOf;
    bool m_ignoreCase = false;
    std::vector<Slot> m_slots;
    std::size_t m_mask = 0;
    std::u32string m_decoded;
};

} // namespace

/// One planning: per-row arrays over the whole log, name tables over one directory.
class RenamePlanner
{
public:
    RenamePlanner(const UndoLog& rows, const PlanQuestions& questions)
        : m_rows(rows)
        , m_questions(questions)
        , m_plan(rows)
        , m_oldNames(rows, &UndoLog::oldNameBytes)
        , m_newNames(rows, &UndoLog::newNameBytes)
    { }

    RenamePlan plan();

private:
    [[nodiscard]] std::vector<std::uint32_t> rowsByDirectory();
    void planDirectory(std::span<const std::uint32_t> group);
    void markRefusals(std::span<const std::uint32_t> group, std::string_view directory);
    void emitChain(std::uint32_t freeEnd);
    void emitCycle(std::uint32_t first, std::string_view directory);
    [[nodiscard]] std::uint32_t newTemporary(std::string_view directory);

    const UndoLog& m_rows;
    const PlanQuestions& m_questions;
    RenamePlan m_plan;
    NameIndex m_oldNames;
    NameIndex m_newNames;
    bool m_ignoreCase = false;
    /// Per row: the row whose old name is this row's new name, and the row whose new name
    /// is this row's old name (at most one, as rows sharing a new name are refused).
    std::vector<std::uint32_t> m_holder;
    std::vector<std::uint32_t> m_dependent;
    std::vector<RowState> m_state;
    std::uint64_t m_nextTemporary = 1;
    std::string m_temporary;
};

RenamePlan RenamePlanner::plan()
{
    const std::size_t count = m_rows.size();
    if (count >= kNone)
        throw std::length_error("too many rows to plan");
    m_holder.assign(count, kNone);
    m_dependent.assign(count, kNone);
    m_state.assign(count, RowState::Pending);
    m_plan.m_steps.reserve(count);

    const std::vector<std::uint32_t> order = rowsByDirectory();
    for (std::size_t begin = 0; begin < order.size();) {
        const std::string_view directory = m_rows.directoryBytes(order[begin]);
        std::size_t end = begin + 1;
        while (end < order.size() && m_rows.directoryBytes(order[end]) == directory)
            ++end;
        planDirectory(std::span(order).subspan(begin, end - begin));
        begin = end;
    }
    return std::move(m_plan);
}

std::vector<std::uint32_t> RenamePlanner::rowsByDirectory()
{
    // A stable counting sort by directory, directories in the order of their first row.
    // The log stores a directory again when it comes back after another, so they are told
    // apart by their text; m_holder holds each row's directory number meanwhile.
    std::unordered_map<std::string_view, std::uint32_t> numbers;
    std::vector<std::uint32_t> sizes;
    const char* last = nullptr;
    std::uint32_t number = 0;
    for (std::size_t row = 0; row < m_rows.size(); ++row) {
        const std::string_view directory = m_rows.directoryBytes(row);
        if (directory.data() != last) {
            last = directory.data();
            number = numbers.try_emplace(directory, static_cast<std::uint32_t>(sizes.size()))
                         .first->second;
            if (number == sizes.size())
                sizes.push_back(0);
        }
        m_holder[row] = number;
        ++sizes[number];
    }
    std::uint32_t start = 0;
    for (std::uint32_t& size : sizes)
        start += std::exchange(size, start);
    std::vector<std::uint32_t> order(m_rows.size());
    for (std::size_t row = 0; row < m_rows.size(); ++row)
        order[sizes[m_holder[row]]++] = static_cast<std::uint32_t>(row);
    std::ranges::fill(m_holder, kNone);
    return order;
}

void RenamePlanner::planDirectory(std::span<const std::uint32_t> group)
{
    const std::string_view directory = m_rows.directoryBytes(group.front());
    m_ignoreCase = m_questions.caseInsensitive && m_questions.caseInsensitive(directory);
    markRefusals(group, directory);

    // Each row has at most one holder and one dependent: the rows left form simple chains
    // and cycles. A group is planned when the first of its rows comes, whole.
    for (const std::uint32_t row : group) {
        if (m_state[row] != RowState::Pending)
            continue;
        std::uint32_t end = row;
        while (m_holder[end] != kNone && m_holder[end] != row)
            end = m_holder[end];
        if (m_holder[end] == kNone)
            emitChain(end);
        else
            emitCycle(row, directory);
    }
    for (const std::uint32_t row : group)
        if (isRefused(m_state[row]))
            m_plan.m_refused.push_back({ row, refusalOf(m_state[row]) });
}

void RenamePlanner::markRefusals(std::span<const std::uint32_t> group, std::string_view directory)
{
    m_oldNames.reset(group.size(), m_ignoreCase);
    for (const std::uint32_t row : group) {
        if (m_rows.unchanged(row))
            m_state[row] = RowState::Unchanged;
        else if (m_oldNames.insert(row) != kNone)
            m_state[row] = RowState::RepeatedEntry;
    }
    m_newNames.reset(group.size(), m_ignoreCase);
    for (const std::uint32_t row : group) {
        if (m_state[row] != RowState::Pending)
            continue;
        if (const std::uint32_t first = m_newNames.insert(row); first != kNone) {
            m_state[row] = RowState::SharedTarget;
            m_state[first] = RowState::SharedTarget;
        }
    }
    for (const std::uint32_t row : group) {
        if (m_state[row] != RowState::Pending)
            continue;
        const std::string_view newName = m_rows.newNameBytes(row);
        // A change of letter case alone, where case is ignored, leaves the entry its node.
        if (m_ignoreCase && platform::equalsIgnoreCase(m_rows.oldNameBytes(row), newName))
            continue;
        if (const std::uint32_t holder = m_oldNames.find(newName); holder != kNone) {
            m_holder[row] = holder;
            m_dependent[holder] = row;
        } else if (m_questions.existsOutsideRun(directory, newName)) {
            m_state[row] = RowState::TargetTaken;
        }
    }
    // A refused row keeps its name, so the row waiting for it cannot move either, nor the
    // one waiting for that row's name, and so on; each row is looked at once.
    for (const std::uint32_t row : group) {
        if (!isRefused(m_state[row]))
            continue;
        for (std::uint32_t waiting = m_dependent[row];
             waiting != kNone && m_state[waiting] == RowState::Pending;
             waiting = m_dependent[waiting])
            m_state[waiting] = RowState::TargetKept;
    }
}

void RenamePlanner::emitChain(std::uint32_t freeEnd)
{
    for (std::uint32_t row = freeEnd; row != kNone; row = m_dependent[row]) {
        m_plan.m_steps.push_back({ row, kNone, StepKind::Direct });
        m_state[row] = RowState::Done;
    }
}

void RenamePlanner::emitCycle(std::uint32_t first, std::string_view directory)
{
    const std::uint32_t temporary = newTemporary(directory);
    m_plan.m_steps.push_back({ first, temporary, StepKind::ToTemporary });
    m_state[first] = RowState::Done;
    for (std::uint32_t row = m_dependent[first]; row != first; row = m_dependent[row]) {
        m_plan.m_steps.push_back({ row, kNone, StepKind::Direct });
        m_state[row] = RowState::Done;
    }
    m_plan.m_steps.push_back({ first, temporary, StepKind::FromTemporary });
}

std::uint32_t RenamePlanner::newTemporary(std::string_view directory)
{
    // The number alone makes the plan's temporary names distinct from one another (digits
    // have no case); the look-ups keep them off every name of the directory and the run.
    do {
        m_temporary.assign(kTemporaryPrefix);
        m_temporary += m_questions.temporaryToken;
        m_temporary += '-';
        m_temporary += std::to_string(m_nextTemporary++);
    } while (m_oldNames.find(m_temporary) != kNone || m_newNames.find(m_temporary) != kNone
        || m_questions.existsOutsideRun(directory, m_temporary));
    m_plan.m_temporaryNames += m_temporary;
    m_plan.m_temporaryEnds.push_back(static_cast<std::uint32_t>(m_plan.m_temporaryNames.size()));
    return static_cast<std::uint32_t>(m_plan.m_temporaryEnds.size() - 1);
}

std::string_view RenamePlan::directory(std::size_t index) const
{
    return m_rows->directoryBytes(m_steps[index].row);
}

std::string_view RenamePlan::from(std::size_t index) const
{
    const Step& s = m_steps[index];
    return s.kind == StepKind::FromTemporary ? temporaryName(s.temporary)
                                             : m_rows->oldNameBytes(s.row);
}

std::string_view RenamePlan::to(std::size_t index) const
{
    const Step& s = m_steps[index];
    return s.kind == StepKind::ToTemporary ? temporaryName(s.temporary)
                                           : m_rows->newNameBytes(s.row);
}

std::string_view RenamePlan::temporaryName(std::size_t index) const
{
    const std::uint32_t begin = index == 0 ? 0 : m_temporaryEnds[index - 1];
    return std::string_view(m_temporaryNames).substr(begin, m_temporaryEnds[index] - begin);
}

RenamePlan planRenames(const UndoLog& rows, const PlanQuestions& questions)
{
    const std::string_view token = questions.temporaryToken;
    if (token.empty() || token.find_first_of(std::string_view("/\0", 2)) != std::string_view::npos)
        throw std::invalid_argument("temporary token must be a non-empty part of a name");
    if (!questions.existsOutsideRun)
        throw std::invalid_argument("planning needs to know the names outside the run");
    return RenamePlanner(rows, questions).plan();
}

} // namespace quorvane::engine
