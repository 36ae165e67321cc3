// The planned order of a run's renames: simulated on model directories for random runs,
// carried out on a real directory, and over a long chain.
#include "engine/rename_plan.h"

#include "platform/case_fold.h"
#include "platform/name_codec.h"
#include "platform/posix_rename.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <optional>
#include <random>
#include <tuple>

namespace quorvane::engine {
namespace {

/// The name by which a directory tells its entries apart.
std::string keyOf(std::string_view name, bool ignoreCase)
{
    std::u32string text = platform::decodeName(name);
    if (ignoreCase)
        std::ranges::transform(text, text.begin(), platform::foldUpper);
    return platform::encodeName(text);
}

/// A directory in memory: entries by key, each with its spelling and its content.
struct ModelDirectory
{
    bool ignoreCase = false;
    std::map<std::string, std::pair<std::string, int>> entries;

    void add(const std::string& name, int content)
    {
        entries[keyOf(name, ignoreCase)] = { name, content };
    }
    [[nodiscard]] bool holds(std::string_view name) const
    {
        return entries.contains(keyOf(name, ignoreCase));
    }
    /// Never replaces another entry; a case-only change is the entry's own.
    bool rename(std::string_view from, std::string_view to)
    {
        const auto source = entries.find(keyOf(from, ignoreCase));
        if (source == entries.end() || source->second.first != from
            || (keyOf(to, ignoreCase) != source->first && holds(to)))
            return false;
        const int content = source->second.second;
        entries.erase(source);
        add(std::string(to), content);
        return true;
    }
};

using Key = std::pair<std::size_t, std::string>;

struct RandomRun
{
    std::vector<ModelDirectory> dirs;
    UndoLog rows;
    std::vector<std::size_t> dirOfRow;

    [[nodiscard]] Key key(std::uint32_t row, std::string_view name) const
    {
        return { dirOfRow[row], keyOf(name, dirs[dirOfRow[row]].ignoreCase) };
    }
    [[nodiscard]] Key oldKey(std::uint32_t row) const { return key(row, rows.oldNameBytes(row)); }
    [[nodiscard]] Key newKey(std::uint32_t row) const { return key(row, rows.newNameBytes(row)); }
};

/// Entries of few letters in random case (twins like a1/A1 where case counts), renamed by
/// a permutation (cycles of every length), a rotation of them all or a chain, then spoilt
/// here and there: a fresh name, an untouched entry's, another row's target, an entry's
/// name in other case, a would-be temporary name; now and then an entry listed twice.
RandomRun randomRun(unsigned seed, const std::string& token)
{
    std::mt19937 random(seed);
    const auto below = [&](std::size_t n) { return std::size_t(random() % n); };
    const auto recased = [&](std::string name) {
        for (char& c : name)
            if (below(2) == 0)
                c = char(std::isupper(c) != 0 ? std::tolower(c) : std::toupper(c));
        return name;
    };
    const auto pooled = [&](std::size_t k) {
        return recased(char('a' + k % 6) + std::to_string(k / 6) + ".txt");
    };
    RandomRun run;
    std::vector<std::vector<std::pair<std::string, std::string>>> perDir(1 + below(3));
    for (std::size_t d = 0; d < perDir.size(); ++d) {
        ModelDirectory& dir = run.dirs.emplace_back();
        dir.ignoreCase = below(2) == 0;
        const std::size_t wanted = 1 + below(seed % 5 == 0 ? 64 : 16);
        for (std::size_t k = 0; k < wanted; ++k)
            if (const std::string name = pooled(below(2 * wanted)); !dir.holds(name))
                dir.add(name, int(1000 * d + k));
        if (below(4) == 0)
            dir.add(".quorvane-" + token + "-2", int(1000 * d + 999));
        std::vector<std::string> renamed;
        std::vector<std::string> untouched;
        for (const auto& entry : dir.entries)
            (below(10) < 7 ? renamed : untouched).push_back(entry.second.first);
        std::ranges::shuffle(renamed, random);
        std::vector<std::string> targets = renamed;
        const std::size_t mode = below(3);
        if (mode == 0)
            std::ranges::shuffle(targets, random);
        else if (!targets.empty())
            std::ranges::rotate(targets, targets.begin() + 1);
        if (mode == 2 && !targets.empty())
            targets.back() = pooled(200 + below(20));
        for (std::size_t i = 0; i < targets.size(); ++i) {
            if (seed % 3 == 0 || below(7) != 0) // every third run unspoilt
                continue;
            const std::string spoilt[] = { pooled(below(40)),
                untouched.empty() ? targets[i] : untouched[below(untouched.size())],
                targets[below(targets.size())], recased(renamed[below(renamed.size())]),
                recased(renamed[i]), ".quorvane-" + token + "-1" };
            targets[i] = spoilt[below(6)];
        }
        for (std::size_t i = 0; i < renamed.size(); ++i)
            perDir[d].emplace_back(renamed[i], targets[i]);
        if (below(8) == 0 && !renamed.empty())
            perDir[d].emplace_back(renamed[0], pooled(300));
    }
    // The directories' rows interleaved, each directory's in its order.
    std::vector<std::size_t> turns;
    for (std::size_t d = 0; d < perDir.size(); ++d)
        turns.insert(turns.end(), perDir[d].size(), d);
    std::ranges::shuffle(turns, random);
    std::vector<std::size_t> next(perDir.size(), 0);
    for (const std::size_t d : turns) {
        const auto& [from, to] = perDir[d][next[d]++];
        run.rows.appendBytes("d" + std::to_string(d) + "/", from, to);
        run.dirOfRow.push_back(d);
    }
    return run;
}

/// The refusals by their definitions, the waiting rows by a fixed point.
std::map<std::uint32_t, PlanRefusal> expectedRefusals(const RandomRun& run)
{
    std::map<std::uint32_t, PlanRefusal> refused;
    std::map<Key, std::uint32_t> firstOfKey;
    std::map<Key, int> targets;
    std::vector<std::uint32_t> rows;
    for (std::uint32_t r = 0; r < run.rows.size(); ++r) {
        if (run.rows.unchanged(r))
            continue;
        if (!firstOfKey.try_emplace(run.oldKey(r), r).second)
            refused[r] = PlanRefusal::RepeatedEntry;
        else
            ++targets[run.newKey(rows.emplace_back(r))];
    }
    for (const std::uint32_t r : rows)
        if (targets[run.newKey(r)] > 1)
            refused[r] = PlanRefusal::SharedTarget;
        else if (!firstOfKey.contains(run.newKey(r))
            && run.dirs[run.dirOfRow[r]].holds(run.rows.newNameBytes(r)))
            refused[r] = PlanRefusal::TargetTaken;
    for (bool more = true; more;) {
        more = false;
        for (const std::uint32_t r : rows) {
            const auto holder = firstOfKey.find(run.newKey(r));
            if (!refused.contains(r) && holder != firstOfKey.end() && holder->second != r
                && refused.contains(holder->second)) {
                refused[r] = PlanRefusal::TargetKept;
                more = true;
            }
        }
    }
    return refused;
}

TEST(RenamePlan, RandomRunsEndOnTheirTargetsWithoutEverMeetingATakenName)
{
    for (unsigned seed = 0; seed < 400; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        const std::string token = "t" + std::to_string(seed);
        RandomRun run = randomRun(seed, token);
        const auto dirOf = [&](std::string_view d) -> ModelDirectory& {
            return run.dirs[std::stoul(std::string(d.substr(1)))];
        };
        const RenamePlan plan = planRenames(run.rows,
            { [&](auto d, auto name) { return dirOf(d).holds(name); },
                [&](auto d) { return dirOf(d).ignoreCase; }, token });
        std::map<std::uint32_t, PlanRefusal> refused;
        for (const auto& [row, reason] : plan.refused())
            refused[row] = reason;
        ASSERT_EQ(refused, expectedRefusals(run));

        // Every entry once: under its new name where its row went through, else as it was.
        std::vector<ModelDirectory> wanted = run.dirs;
        std::vector<std::pair<std::uint32_t, int>> moved;
        for (std::uint32_t r = 0; r < run.rows.size(); ++r)
            if (!refused.contains(r) && !run.rows.unchanged(r))
                moved.emplace_back(r,
                    wanted[run.dirOfRow[r]].entries.extract(run.oldKey(r).second).mapped().second);
        for (const auto& [r, content] : moved)
            wanted[run.dirOfRow[r]].add(std::string(run.rows.newNameBytes(r)), content);

        std::optional<std::pair<std::string, std::string>> live; // a temporary name taken
        for (std::size_t i = 0; i < plan.size(); ++i) {
            const std::string at(plan.directory(i));
            ASSERT_TRUE(dirOf(at).rename(plan.from(i), plan.to(i)))
                << at << plan.from(i) << " -> " << plan.to(i);
            if (plan.step(i).kind == StepKind::ToTemporary) {
                ASSERT_FALSE(live);
                ASSERT_TRUE(plan.to(i).starts_with(kTemporaryPrefix));
                live.emplace(at, plan.to(i));
            } else if (plan.step(i).kind == StepKind::FromTemporary) {
                ASSERT_EQ(live, std::pair(at, std::string(plan.from(i))));
                live.reset();
            } else {
                ASSERT_TRUE(!live || live->first == at);
            }
        }
        ASSERT_FALSE(live);
        for (std::size_t d = 0; d < wanted.size(); ++d)
            ASSERT_EQ(run.dirs[d].entries, wanted[d].entries) << "directory " << d;
    }
}

TEST(RenamePlan, CycleGoesThroughOneTemporaryAndCaseOnlyChangeIsItsOwnNode)
{
    UndoLog rows;
    const std::tuple<const char*, const char*, const char*> renames[]
        = { { "s/", "a", "b" }, { "s/", "b", "c" }, { "s/", "c", "a" }, { "i/", "a.txt", "A.txt" },
              { "i/", "x.txt", "Y.TXT" }, { "i/", "y.txt", "X.TXT" } };
    for (const auto& [d, from, to] : renames)
        rows.appendBytes(d, from, to);
    const RenamePlan plan = planRenames(rows,
        { [](auto, auto) { return false; }, [](std::string_view d) { return d == "i/"; }, "run" });
    std::vector<std::string> steps;
    for (std::size_t i = 0; i < plan.size(); ++i)
        steps.push_back(
            std::string(plan.directory(i)).append(plan.from(i)).append(">").append(plan.to(i)));
    const std::vector<std::string> expected { "s/a>.quorvane-run-1", "s/c>a", "s/b>c",
        "s/.quorvane-run-1>b", "i/a.txt>A.txt", "i/x.txt>.quorvane-run-2", "i/y.txt>X.TXT",
        "i/.quorvane-run-2>Y.TXT" };
    EXPECT_EQ(steps, expected);
    EXPECT_TRUE(plan.refused().empty());
    EXPECT_EQ(plan.temporaryCount(), 2U);
}

TEST(RenamePlan, RenumberingAndRotationRunOnADirectory)
{
    const test::TempDir temp;
    const std::string dir = temp.path() + "/";
    const auto track = [](int n) { return (n < 10 ? "0" : "") + std::to_string(n) + ".mp3"; };
    UndoLog rows;
    for (int n = 1; n <= 10; ++n) {
        temp.file(track(n), "track " + std::to_string(n));
        rows.appendBytes(dir, track(n), track(n + 1));
    }
    for (const std::string name : { "a", "b", "c" })
        temp.file(name, name);
    rows.appendBytes(dir, "a", "b");
    rows.appendBytes(dir, "b", "c");
    rows.appendBytes(dir, "c", "a");
    const RenamePlan plan = planRenames(rows,
        { [](auto d, auto name) { return test::exists(std::string(d).append(name)); }, {},
            "disk" });
    ASSERT_TRUE(plan.refused().empty());
    for (std::size_t i = 0; i < plan.size(); ++i) {
        const std::string from = std::string(plan.directory(i)).append(plan.from(i));
        ASSERT_TRUE(
            platform::renameNoReplace(from, std::string(plan.directory(i)).append(plan.to(i))).ok())
            << from;
    }
    EXPECT_FALSE(temp.exists("01.mp3"));
    for (int n = 1; n <= 10; ++n)
        EXPECT_EQ(temp.read(track(n + 1)), "track " + std::to_string(n));
    EXPECT_EQ(temp.read("b") + temp.read("c") + temp.read("a"), "abc");
    EXPECT_EQ(temp.namesIn().size(), 13U);
}

TEST(RenamePlan, MillionRowChainRunsFromItsFreeEnd)
{
    constexpr std::uint32_t kRows = 1'000'000;
    UndoLog rows;
    for (std::uint32_t n = 0; n < kRows; ++n)
        rows.appendBytes("d/", std::to_string(n), std::to_string(n + 1));
    const RenamePlan plan = planRenames(rows, { [](auto, auto) { return false; }, {}, "long" });
    ASSERT_EQ(plan.size(), kRows);
    for (std::uint32_t i = 0; i < kRows; ++i)
        ASSERT_EQ(plan.step(i).row, kRows - 1 - i);
}

} // namespace
} // namespace quorvane::engine
