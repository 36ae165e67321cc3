// The planned order of a run's renames: simulated on model directories for random runs,
// carried out on a real one, and over a long chain.
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

    [[nodiscard]] bool holds(std::string_view name) const
    {
        return entries.contains(keyOf(name, ignoreCase));
    }
    /// Never replaces another entry; a case-only change is the entry's own.
    bool rename(std::string_view from, std::string_view to)
    {
        const auto source = entries.find(keyOf(from, ignoreCase));
        const std::string target = keyOf(to, ignoreCase);
        if (source == entries.end() || source->second.first != from
            || (target != source->first && entries.contains(target)))
            return false;
        const int content = source->second.second;
        entries.erase(source);
        entries[target] = { std::string(to), content };
        return true;
    }
};

struct RandomRun
{
    std::vector<ModelDirectory> dirs;
    UndoLog rows;
    std::vector<std::size_t> dirOfRow;
};

std::string dirName(std::size_t d)
{
    return "d" + std::to_string(d) + "/";
}

/// Entries drawn from few letters in random case (twins like a1/A1 where case counts),
/// renamed by a permutation (cycles of every length), a shift (a chain) or a rotation of
/// them all, then spoiled here and there: a fresh name, an untouched entry's name, another
/// row's target, another entry's name or its own in other case, a would-be temporary.
RandomRun randomRun(unsigned seed, const std::string& token)
{
    std::mt19937 random(seed);
    const auto below = [&](std::size_t n) { return std::size_t(random() % n); };
    const auto recased = [&](std::string name) {
        for (char& c : name)
            if (below(2) == 0)
                c = char(std::isupper(static_cast<unsigned char>(c)) ? std::tolower(c)
                                                                     : std::toupper(c));
        return name;
    };
    const auto pooled = [&](std::size_t k) {
        return recased(std::string(1, char('a' + k % 6)) + std::to_string(k / 6) + ".txt");
    };
    RandomRun run;
    std::vector<std::vector<std::pair<std::string, std::string>>> perDir;
    const std::size_t dirCount = 1 + below(3);
    for (std::size_t d = 0; d < dirCount; ++d) {
        ModelDirectory dir;
        dir.ignoreCase = below(2) == 0;
        const std::size_t wanted = 1 + below(seed % 5 == 0 ? 64 : 16);
        for (std::size_t tries = 0; dir.entries.size() < wanted && tries < 4 * wanted; ++tries) {
            const std::string name = pooled(below(2 * wanted));
            if (!dir.holds(name))
                dir.entries[keyOf(name, dir.ignoreCase)]
                    = { name, int(1000 * d + dir.entries.size()) };
        }
        if (below(4) == 0)
            dir.entries[keyOf(".quorvane-" + token + "-2", dir.ignoreCase)]
                = { ".quorvane-" + token + "-2", int(1000 * d + 999) };
        std::vector<std::string> renamed, untouched;
        for (const auto& [key, entry] : dir.entries)
            (below(10) < 7 ? renamed : untouched).push_back(entry.first);
        std::ranges::shuffle(renamed, random);
        std::vector<std::string> targets = renamed;
        const std::size_t mode = below(3);
        if (mode == 0)
            std::ranges::shuffle(targets, random);
        else if (!targets.empty())
            std::ranges::rotate(targets, targets.begin() + 1);
        if (mode == 1 && !targets.empty())
            targets.back() = pooled(200 + below(20));
        for (std::size_t i = 0; i < targets.size(); ++i) {
            if (below(7) != 0)
                continue;
            switch (below(6)) {
            case 0:
                targets[i] = pooled(below(40));
                break;
            case 1:
                if (!untouched.empty())
                    targets[i] = untouched[below(untouched.size())];
                break;
            case 2:
                targets[i] = targets[below(targets.size())];
                break;
            case 3:
                targets[i] = recased(renamed[below(renamed.size())]);
                break;
            case 4:
                targets[i] = recased(renamed[i]);
                break;
            default:
                targets[i] = ".quorvane-" + token + "-1";
                break;
            }
        }
        perDir.emplace_back();
        for (std::size_t i = 0; i < renamed.size(); ++i)
            perDir.back().emplace_back(renamed[i], targets[i]);
        if (below(8) == 0 && !renamed.empty()) // the same entry listed twice
            perDir.back().emplace_back(renamed[0], pooled(300));
        run.dirs.push_back(std::move(dir));
    }
    // Rows of the directories interleaved, each directory's in its order.
    std::vector<std::size_t> turns;
    for (std::size_t d = 0; d < dirCount; ++d)
        turns.insert(turns.end(), perDir[d].size(), d);
    std::ranges::shuffle(turns, random);
    std::vector<std::size_t> next(dirCount, 0);
    for (const std::size_t d : turns) {
        const auto& [from, to] = perDir[d][next[d]++];
        run.rows.appendBytes(dirName(d), from, to);
        run.dirOfRow.push_back(d);
    }
    return run;
}

/// What must be refused, from the definitions: repeated entries, shared targets, targets
/// of entries outside the run, and rows waiting for a name that stays.
std::map<std::uint32_t, PlanRefusal> expectedRefusals(const RandomRun& run)
{
    std::map<std::uint32_t, PlanRefusal> refused;
    std::map<std::pair<std::size_t, std::string>, std::uint32_t> firstOfKey;
    std::map<std::pair<std::size_t, std::string>, int> targetCount;
    const auto oldKey = [&](std::uint32_t r) {
        return std::pair(
            run.dirOfRow[r], keyOf(run.rows.oldNameBytes(r), run.dirs[run.dirOfRow[r]].ignoreCase));
    };
    const auto newKey = [&](std::uint32_t r) {
        return std::pair(
            run.dirOfRow[r], keyOf(run.rows.newNameBytes(r), run.dirs[run.dirOfRow[r]].ignoreCase));
    };
    std::vector<std::uint32_t> changed;
    for (std::uint32_t r = 0; r < run.rows.size(); ++r) {
        if (run.rows.unchanged(r))
            continue;
        if (!firstOfKey.try_emplace(oldKey(r), r).second)
            refused[r] = PlanRefusal::RepeatedEntry;
        else
            changed.push_back(r);
    }
    for (const std::uint32_t r : changed)
        ++targetCount[newKey(r)];
    for (const std::uint32_t r : changed) {
        const bool self = oldKey(r) == newKey(r);
        if (targetCount[newKey(r)] > 1)
            refused[r] = PlanRefusal::SharedTarget;
        else if (!self && !firstOfKey.contains(newKey(r))
            && run.dirs[run.dirOfRow[r]].holds(run.rows.newNameBytes(r)))
            refused[r] = PlanRefusal::TargetTaken;
    }
    for (bool more = true; more;) {
        more = false;
        for (const std::uint32_t r : changed) {
            const auto holder = firstOfKey.find(newKey(r));
            if (!refused.contains(r) && oldKey(r) != newKey(r) && holder != firstOfKey.end()
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
        const std::vector<ModelDirectory> before = run.dirs;
        const auto dirIndex
            = [](std::string_view d) { return std::stoul(std::string(d.substr(1))); };
        PlanQuestions questions;
        questions.existsOutsideRun = [&](std::string_view d, std::string_view name) {
            return run.dirs[dirIndex(d)].holds(name);
        };
        questions.caseInsensitive
            = [&](std::string_view d) { return run.dirs[dirIndex(d)].ignoreCase; };
        questions.temporaryToken = token;
        const RenamePlan plan = planRenames(run.rows, questions);

        std::map<std::uint32_t, PlanRefusal> refused;
        for (const auto& [row, reason] : plan.refused())
            refused[row] = reason;
        const auto expected = expectedRefusals(run);
        ASSERT_EQ(refused, expected);

        std::optional<std::string> live;
        for (std::size_t i = 0; i < plan.size(); ++i) {
            ModelDirectory& dir = run.dirs[dirIndex(plan.directory(i))];
            ASSERT_TRUE(dir.rename(plan.from(i), plan.to(i)))
                << plan.from(i) << " -> " << plan.to(i);
            const StepKind kind = plan.step(i).kind;
            const std::string at = std::string(plan.directory(i));
            if (kind == StepKind::ToTemporary) {
                ASSERT_FALSE(live);
                ASSERT_TRUE(plan.to(i).starts_with(kTemporaryPrefix));
                live = at + std::string(plan.to(i));
            } else if (kind == StepKind::FromTemporary) {
                ASSERT_EQ(live, at + std::string(plan.from(i)));
                live.reset();
            } else if (live) {
                ASSERT_TRUE(live->starts_with(at));
            }
        }
        ASSERT_FALSE(live);

        // Every entry once, under its new name where the row went through, else as it was.
        std::vector<ModelDirectory> wanted = before;
        std::vector<std::pair<std::uint32_t, int>> moved;
        for (std::uint32_t r = 0; r < run.rows.size(); ++r) {
            ModelDirectory& dir = wanted[run.dirOfRow[r]];
            if (!refused.contains(r) && !run.rows.unchanged(r))
                moved.emplace_back(r,
                    dir.entries.extract(keyOf(run.rows.oldNameBytes(r), dir.ignoreCase))
                        .mapped()
                        .second);
        }
        for (const auto& [r, content] : moved)
            wanted[run.dirOfRow[r]]
                .entries[keyOf(run.rows.newNameBytes(r), wanted[run.dirOfRow[r]].ignoreCase)]
                = { std::string(run.rows.newNameBytes(r)), content };
        for (std::size_t d = 0; d < wanted.size(); ++d)
            ASSERT_EQ(run.dirs[d].entries, wanted[d].entries) << "in " << dirName(d);
    }
}

TEST(RenamePlan, CycleGoesThroughOneTemporaryAndCaseOnlyChangeIsItsOwnNode)
{
    UndoLog rows;
    rows.appendBytes("s/", "a", "b");
    rows.appendBytes("s/", "b", "c");
    rows.appendBytes("s/", "c", "a");
    rows.appendBytes("i/", "a.txt", "A.txt");
    rows.appendBytes("i/", "x.txt", "Y.TXT");
    rows.appendBytes("i/", "y.txt", "X.TXT");
    PlanQuestions questions;
    questions.existsOutsideRun = [](std::string_view, std::string_view) { return false; };
    questions.caseInsensitive = [](std::string_view d) { return d == "i/"; };
    questions.temporaryToken = "run";
    const RenamePlan plan = planRenames(rows, questions);
    std::vector<std::string> steps;
    for (std::size_t i = 0; i < plan.size(); ++i)
        steps.push_back(std::string(plan.directory(i)) + std::string(plan.from(i)) + ">"
            + std::string(plan.to(i)));
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
    PlanQuestions questions;
    questions.existsOutsideRun = [](std::string_view d, std::string_view name) {
        return test::exists(std::string(d) + std::string(name));
    };
    questions.temporaryToken = "disk";
    const RenamePlan plan = planRenames(rows, questions);
    ASSERT_TRUE(plan.refused().empty());
    for (std::size_t i = 0; i < plan.size(); ++i) {
        const std::string from = std::string(plan.directory(i)) + std::string(plan.from(i));
        ASSERT_TRUE(platform::renameNoReplace(
            from, std::string(plan.directory(i)) + std::string(plan.to(i)))
                        .ok())
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
    PlanQuestions questions;
    questions.existsOutsideRun = [](std::string_view, std::string_view) { return false; };
    questions.temporaryToken = "long";
    const RenamePlan plan = planRenames(rows, questions);
    ASSERT_EQ(plan.size(), kRows);
    for (std::uint32_t i = 0; i < kRows; ++i)
        ASSERT_EQ(plan.step(i).row, kRows - 1 - i);
}

} // namespace
} // namespace quorvane::engine
