// Journaled runs on real directories: what the journal holds, and undo from it after a
// finished, interrupted or half-undone run.
#include "run_fixture.h"
#include "support/scoped_env.h"

#include "engine/file_commands.h"
#include "engine/interrupted_run.h"
#include "engine/journal_store.h"
#include "engine/journal_writer.h"
#include "engine/recorded_undo.h"
#include "engine/rename_retry.h"
#include "platform/journal_file.h"
#include "platform/posix_rename.h"

#include <cerrno>
#include <cstdio>
#include <memory>

namespace quorvane::test {
namespace {

using engine::RecordedState;
using Refusal = engine::RecordedUndoReport::Refusal;

class JournalFixture : public RunFixture
{
protected:
    JournalFixture() { scope.recursive = true; }

    engine::RunSummary journaledClick()
    {
        engine::JournalWriter journal(runsDir);
        engine::RenameRun run(fs, collator, options, state, scope, prompts, observer);
        run.setJournal(&journal);
        return run.BitBtn1Click();
    }
    engine::RecordedUndoReport recordedUndo(const std::string& id = {})
    {
        engine::RecordedUndo undo(fs, store, prompts, observer);
        return undo.undo(id);
    }
    /// Every name under the temporary directory, recursively, with what each file holds.
    std::map<std::string, std::string> snapshot() const
    {
        std::map<std::string, std::string> all;
        for (const auto& e : std::filesystem::recursive_directory_iterator(tmp.path()))
            all[e.path().string()] = e.is_regular_file() ? readFile(e.path().string()) : "/";
        return all;
    }
    std::vector<engine::RecordedRun> runs() const { return store.runs(); }

    TempDir state_;
    std::string runsDir = state_ / "quorvane/runs";
    engine::JournalStore store { runsDir };
};

TEST_F(JournalFixture, RecursiveRunIsRecordedAndUndoneFromItsJournal)
{
    tmp.file("a b/x y.mp3", "one");
    tmp.file("a b/c\xff.txt", "two");
    tmp.file("città.txt", "three");
    const auto before = snapshot();

    const auto report = journaledClick();
    ASSERT_EQ(report.renamed, 4);
    ASSERT_TRUE(tmp.exists("A B/X Y.mp3"));

    const auto recorded = runs();
    ASSERT_EQ(recorded.size(), 1U);
    EXPECT_EQ(recorded[0].state, RecordedState::Complete);
    EXPECT_EQ(recorded[0].entries, 4U);
    EXPECT_EQ(recorded[0].directory, tmp.path());
    EXPECT_EQ(state.lastRunJournal, recorded[0].id);
    // The plan is the run's order: the subdirectory's files before the subdirectory.
    const auto contents = store.load(recorded[0].id);
    ASSERT_TRUE(contents);
    EXPECT_EQ(contents->entries.back().oldName, "città.txt");
    EXPECT_EQ(contents->entries[2].oldName, "a b");
    EXPECT_TRUE(
        contents->entries[2].identity.sameEntry(platform::fileIdentity(tmp / "A B").value()));

    const auto undone = recordedUndo();
    EXPECT_TRUE(undone.complete());
    EXPECT_EQ(undone.restored, 4U);
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(runs()[0].state, RecordedState::Undone);
    EXPECT_EQ(recordedUndo(recorded[0].id).refusal, Refusal::AlreadyUndone);
    EXPECT_EQ(snapshot(), before);
}

TEST_F(JournalFixture, PlanLargerThanOneWriteIsRecordedWholeAndInOrder)
{
    // The plan goes to disk in batches as it is encoded: no entry may be lost or doubled
    // where one batch ends and the next begins.
    constexpr int kFiles = 1500;
    for (int i = 0; i < kFiles; ++i)
        tmp.file("track " + std::to_string(100000 + i) + " of a rather long album title.mp3");
    const auto before = snapshot();

    ASSERT_EQ(journaledClick().renamed, kFiles);
    const auto recorded = runs();
    ASSERT_EQ(recorded.size(), 1U);
    const auto contents = store.load(recorded[0].id);
    ASSERT_TRUE(contents);
    ASSERT_EQ(contents->entries.size(), std::size_t { kFiles });
    for (int i = 0; i < kFiles; ++i)
        ASSERT_EQ(contents->entries[static_cast<std::size_t>(i)].oldName,
            "track " + std::to_string(100000 + i) + " of a rather long album title.mp3");

    EXPECT_EQ(recordedUndo().restored, std::size_t { kFiles });
    EXPECT_EQ(snapshot(), before);
}

TEST_F(JournalFixture, InterruptedRunIsOfferedAtStartAndUndoneByWhatTheDiskHolds)
{
    for (const char* name : { "a.txt", "b.txt", "c.txt" })
        tmp.file(name, name);
    const auto before = snapshot();
    {
        // A run killed after its second rename: the plan is on disk, the close is not.
        engine::JournalWriter journal(runsDir);
        const std::string dir = tmp.path() + "/";
        ASSERT_TRUE(journal
                        .begin(engine::JournalKind::Run, tmp.path(),
                            { engine::plannedEntry(dir, "a.txt", "A.txt"),
                                engine::plannedEntry(dir, "b.txt", "B.txt"),
                                engine::plannedEntry(dir, "c.txt", "C.txt") })
                        .ok());
        std::filesystem::rename(tmp / "a.txt", tmp / "A.txt");
        std::filesystem::rename(tmp / "b.txt", tmp / "B.txt");
        journal.done(0);
    }
    ASSERT_EQ(runs().at(0).state, RecordedState::Interrupted);

    prompts.buttons.push_back(engine::Button::No);
    EXPECT_FALSE(engine::offerUndoOfInterruptedRun(fs, store, prompts, observer));
    ASSERT_EQ(prompts.questions.size(), 1U);
    EXPECT_EQ(prompts.questions[0].id, "OPERAZIONE_INTERROTTA");
    EXPECT_EQ(prompts.questions[0].defaultButton, engine::Button::No);
    EXPECT_TRUE(tmp.exists("A.txt"));

    prompts.buttons.push_back(engine::Button::Yes);
    const auto report = engine::offerUndoOfInterruptedRun(fs, store, prompts, observer);
    ASSERT_TRUE(report);
    EXPECT_EQ(report->restored, 2U);
    EXPECT_EQ(report->unchanged, 1U);
    EXPECT_EQ(snapshot(), before);
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_FALSE(engine::interruptedLatestRun(store)); // nothing more to offer
}

TEST_F(JournalFixture, JournalNamesOutsideTheirDirectoryAreNeverRenamedTo)
{
    // A journal whose checksums hold but whose names reach out of the directory: the
    // entry is where the journal says, yet no undo or recovery moves it there.
    tmp.file("d/in.txt", "mine");
    const std::string dir = tmp / "d" + "/";
    const platform::FileIdentity identity = platform::fileIdentity(dir + "in.txt").value();
    {
        std::vector<engine::JournalEntry> entries;
        for (const std::string& oldName : { std::string("../out.txt"), tmp / "abs.txt" }) {
            entries.push_back(engine::plannedEntry(dir, oldName, "in.txt"));
            entries.back().identity = identity;
        }
        engine::JournalWriter journal(runsDir);
        ASSERT_TRUE(journal.begin(engine::JournalKind::Run, tmp / "d", std::move(entries)).ok());
        journal.done(0);
        journal.done(1);
    }
    const auto before = snapshot();

    prompts.buttons.push_back(engine::Button::Yes);
    const auto report = engine::offerUndoOfInterruptedRun(fs, store, prompts, observer);
    ASSERT_TRUE(report);
    ASSERT_EQ(report->notRestored.size(), 2U);
    EXPECT_EQ(report->notRestored[0].error, engine::kNotAnEntryName);
    EXPECT_EQ(recordedUndo().notRestored.size(), 2U);
    EXPECT_EQ(fs.renameCalls, 0);
    EXPECT_EQ(snapshot(), before);
}

TEST_F(JournalFixture, RunStillGoingOnIsNeitherOfferedNorUndone)
{
    tmp.file("a.txt");
    auto journal = std::make_unique<engine::JournalWriter>(runsDir);
    ASSERT_TRUE(journal
                    ->begin(engine::JournalKind::Run, tmp.path(),
                        { engine::plannedEntry(tmp.path() + "/", "a.txt", "A.txt") })
                    .ok());
    std::filesystem::rename(tmp / "a.txt", tmp / "A.txt");

    // Another instance of the program looks while the run is still at work.
    EXPECT_TRUE(runs().at(0).running);
    EXPECT_FALSE(engine::interruptedLatestRun(store));
    EXPECT_EQ(recordedUndo().refusal, Refusal::Running);
    EXPECT_TRUE(tmp.exists("A.txt"));

    journal.reset(); // the process dies without closing the run
    EXPECT_TRUE(engine::interruptedLatestRun(store));
    EXPECT_TRUE(recordedUndo().complete());
    EXPECT_TRUE(tmp.exists("a.txt"));
}

TEST_F(JournalFixture, EntriesChangedByOthersAreReportedAndLeftAlone)
{
    for (const char* name : { "a.txt", "b.txt", "c.txt" })
        tmp.file(name, name);
    ASSERT_EQ(journaledClick().renamed, 3);
    // Someone replaces A.txt with a file of their own, saved beside it and moved over it
    // as editors do, and moves B.txt away.
    tmp.file("theirs.tmp", "theirs");
    std::filesystem::rename(tmp / "theirs.tmp", tmp / "A.txt");
    std::filesystem::rename(tmp / "B.txt", tmp / "elsewhere.txt");

    const auto report = recordedUndo();
    EXPECT_FALSE(report.complete());
    EXPECT_EQ(report.restored, 1U);
    ASSERT_EQ(report.notRestored.size(), 2U);
    EXPECT_EQ(report.notRestored[0].error, 0);
    EXPECT_EQ(readFile(tmp / "A.txt"), "theirs");
    EXPECT_EQ(namesIn(), (std::vector<std::string> { "A.txt", "c.txt", "elsewhere.txt" }));
    // An undo that left names behind does not close the run: it can be tried again.
    EXPECT_EQ(runs()[0].state, RecordedState::Complete);

    engine::tellUndoOutcome(prompts, report);
    ASSERT_EQ(prompts.messages.size(), 1U);
    EXPECT_EQ(prompts.messages[0].id, "RIPRISTINO_INCOMPLETO");
}

/// Asks the run to stop once `after` entries are through, as Escape or a signal does.
class StopAfter final : public engine::RunObserver
{
public:
    explicit StopAfter(int after)
        : m_after(after)
    { }
    void progress(int processed) override { m_processed = processed; }
    [[nodiscard]] bool stopRequested() override { return m_processed >= m_after; }

private:
    int m_after;
    int m_processed = 0;
};

TEST_F(JournalFixture, TheHistoryTellsWhatRunsAndUndosReallyDid)
{
    for (const char* name : { "a.txt", "b.txt", "c.txt" })
        tmp.file(name, name);
    {
        // Stopped after its first entry.
        StopAfter stop(1);
        engine::JournalWriter journal(runsDir);
        engine::RenameRun run(fs, collator, options, state, scope, prompts, stop);
        run.setJournal(&journal);
        ASSERT_TRUE(run.BitBtn1Click().stopped);
    }
    ASSERT_EQ(runs().size(), 1U);
    EXPECT_EQ(runs()[0].state, RecordedState::Stopped);
    EXPECT_EQ(runs()[0].entries, 3U) << "planned";
    EXPECT_EQ(runs()[0].renamed, 1U) << "renamed";

    // Undone without a journal of its own: the history still learns of it.
    {
        engine::RecordedUndo undo(fs, store, prompts, observer);
        undo.setJournaled(false);
        const auto report = undo.undo({});
        EXPECT_TRUE(report.complete());
        EXPECT_TRUE(report.recorded);
        EXPECT_EQ(report.restored, 1U);
    }
    EXPECT_EQ(namesIn(), (std::vector<std::string> { "a.txt", "b.txt", "c.txt" }));
    ASSERT_EQ(runs().size(), 2U);
    EXPECT_EQ(runs()[0].state, RecordedState::Undone);
    EXPECT_EQ(runs()[1].kind, engine::JournalKind::Undo);
    EXPECT_EQ(runs()[1].renamed, 1U);
    EXPECT_EQ(recordedUndo(runs()[0].id).refusal, Refusal::AlreadyUndone);
}

TEST_F(JournalFixture, EntriesAnotherRunTookAreNoFailureOfTheUndo)
{
    for (const char* name : { "a.txt", "b.txt" })
        tmp.file(name, name);
    {
        // Two runs at once in one directory: this one renamed a.txt; b.txt had been moved
        // away by the other before this one reached it, so it was refused and given up.
        engine::JournalWriter journal(runsDir);
        const std::string dir = tmp.path() + "/";
        ASSERT_TRUE(journal
                        .begin(engine::JournalKind::Run, tmp.path(),
                            { engine::plannedEntry(dir, "a.txt", "A.txt"),
                                engine::plannedEntry(dir, "b.txt", "B.txt") })
                        .ok());
        std::filesystem::rename(tmp / "a.txt", tmp / "A.txt");
        journal.done(0);
        std::filesystem::rename(tmp / "b.txt", tmp / "theirs.txt");
        journal.refused(1, ENOENT);
        journal.givenUp(1);
        journal.close(1, 1);
    }
    const auto report = recordedUndo();
    EXPECT_TRUE(report.complete()) << report.notRestored.size() << " not restored";
    EXPECT_EQ(report.restored, 1U);
    EXPECT_EQ(report.notRenamedByRun, 1U);
    EXPECT_EQ(namesIn(), (std::vector<std::string> { "a.txt", "theirs.txt" }));
    EXPECT_EQ(runs()[0].state, RecordedState::Undone);
}

TEST_F(JournalFixture, TypedNameIsOnDiskBeforeItsRenameAndUndone)
{
    tmp.file("x.txt", "lower");
    tmp.file("X.txt", "upper");
    prompts.inputs.emplace_back(U"Y.txt"); // x.txt -> X.txt is refused: the name is taken
    ASSERT_EQ(journaledClick().renamed, 1);
    ASSERT_TRUE(tmp.exists("Y.txt"));
    const auto contents = store.load(runs()[0].id);
    ASSERT_EQ(contents->entries.size(), 1U);
    EXPECT_EQ(contents->progress[0].typedNames, (std::vector<std::string> { "Y.txt" }));

    EXPECT_TRUE(recordedUndo().complete());
    EXPECT_EQ(readFile(tmp / "x.txt"), "lower");
    EXPECT_EQ(readFile(tmp / "X.txt"), "upper");
}

TEST_F(JournalFixture, UnwritableJournalRefusesTheRunUnlessTheUserAccepts)
{
    tmp.file("a.txt");
    state_.file("blocker");
    runsDir = state_ / "blocker/runs"; // under a file: ENOTDIR
    state.undo.append(dirText(), U"old", U"new"); // the last run's undo must survive

    prompts.buttons.push_back(engine::Button::No);
    auto report = journaledClick();
    EXPECT_FALSE(report.ran);
    EXPECT_FALSE(report.refused.empty());
    ASSERT_EQ(prompts.questions.size(), 1U);
    EXPECT_EQ(prompts.questions[0].id, "REGISTRO_NON_SCRIVIBILE");
    EXPECT_EQ(prompts.questions[0].defaultButton, engine::Button::No);
    EXPECT_TRUE(tmp.exists("a.txt"));
    EXPECT_EQ(state.undo.size(), 1U);

    prompts.buttons.push_back(engine::Button::Yes);
    report = journaledClick();
    EXPECT_TRUE(report.ran);
    EXPECT_TRUE(tmp.exists("A.txt"));
    EXPECT_TRUE(state.lastRunJournal.empty());
}

TEST_F(JournalFixture, EntryStrandedAtTheCaseChangeTemporaryNameIsGivenItsNameBack)
{
    tmp.file("song.mp3", "music");
    const std::string dir = tmp.path() + "/";
    {
        engine::JournalWriter journal(runsDir);
        ASSERT_TRUE(journal
                        .begin(engine::JournalKind::Run, tmp.path(),
                            { engine::plannedEntry(dir, "song.mp3", "SONG.mp3") })
                        .ok());
        // A crash between the two steps of a change of letter case on a case-insensitive
        // volume leaves the entry under its temporary name.
        std::filesystem::rename(
            tmp / "song.mp3", platform::caseRenameTemporaryName(tmp / "song.mp3", 1));
    }
    const auto contents = store.load(runs()[0].id);
    EXPECT_FALSE(contents->entries[0].caseChange); // the volume decides, not the names
    const auto where = engine::locateEntry(contents->entries[0], contents->progress[0]);
    EXPECT_EQ(where.place, engine::EntryPlace::Renamed);

    EXPECT_TRUE(recordedUndo().complete());
    EXPECT_EQ(namesIn(), (std::vector<std::string> { "song.mp3" }));
}

TEST_F(JournalFixture, InSessionUndoIsJournaledAndMarksTheRunUndone)
{
    tmp.file("a.txt");
    ASSERT_EQ(journaledClick().renamed, 1);
    engine::JournalWriter journal(runsDir);
    engine::UndoRun undo(fs, state, prompts, observer);
    undo.setJournal(&journal);
    EXPECT_TRUE(undo.UNDO().empty());

    const auto recorded = runs();
    ASSERT_EQ(recorded.size(), 2U);
    EXPECT_EQ(recorded[0].state, RecordedState::Undone);
    EXPECT_EQ(recorded[1].kind, engine::JournalKind::Undo);
    // The history shows both on one directory, spelt alike.
    EXPECT_EQ(recorded[1].directory, recorded[0].directory);
    EXPECT_EQ(recordedUndo().refusal, Refusal::AlreadyUndone);
}

TEST_F(JournalFixture, InterruptedUndoIsFinishedByUndoingAgain)
{
    for (const char* name : { "a.txt", "b.txt" })
        tmp.file(name);
    ASSERT_EQ(journaledClick().renamed, 2);
    const std::string runId = runs()[0].id;
    {
        // An undo that died after giving back the first name.
        engine::JournalWriter journal(runsDir);
        const std::string dir = tmp.path() + "/";
        ASSERT_TRUE(journal
                        .begin(engine::JournalKind::Undo, tmp.path(),
                            { engine::plannedEntry(dir, "B.txt", "b.txt"),
                                engine::plannedEntry(dir, "A.txt", "a.txt") },
                            runId)
                        .ok());
        std::filesystem::rename(tmp / "B.txt", tmp / "b.txt");
    }
    ASSERT_EQ(engine::interruptedLatestRun(store)->id, runId);

    const auto report = recordedUndo();
    EXPECT_TRUE(report.complete());
    EXPECT_EQ(report.undoneRun, runId);
    EXPECT_EQ(report.restored, 1U);
    EXPECT_EQ(namesIn(), (std::vector<std::string> { "a.txt", "b.txt" }));
    EXPECT_EQ(runs()[0].state, RecordedState::Undone);
}

TEST_F(JournalFixture, SingleFileRenameIsJournaledAndOnlyTheLatestFiftyJournalsKept)
{
    tmp.file("a.txt", "content");
    engine::JournalWriter journal(runsDir);
    prompts.inputs.emplace_back(U"b.txt");
    ASSERT_TRUE(
        engine::renameOneFile(fs, prompts, text(tmp.path()), U"a.txt", false, &journal).renamed);
    ASSERT_EQ(runs().at(0).kind, engine::JournalKind::OneFile);
    EXPECT_TRUE(recordedUndo().complete());
    EXPECT_EQ(readFile(tmp / "a.txt"), "content");

    for (int i = 0; i < 55; ++i) {
        engine::JournalWriter more(runsDir);
        ASSERT_TRUE(more.begin(engine::JournalKind::Run, tmp.path(), {}).ok());
        more.close(0, 0);
    }
    const auto kept = platform::directoryNames(runsDir);
    EXPECT_EQ(kept.value().size(), engine::kKeptJournals);
    EXPECT_EQ(runs().size(), engine::kKeptJournals);
}

TEST(JournalProgress, EveryOutcomeReadsBackForItsOwnEntry)
{
    // A plan far larger than one write, and progress mixing long runs of renames with
    // refusals, typed names, entries given up and entries never reached: every entry must
    // read back with exactly its own outcome, whether the run closed or was cut off.
    constexpr std::size_t kEntries = 20000;
    enum class Outcome { Done, GivenUp, TypedThenDone, NotReached };
    const auto outcome = [](std::size_t i) {
        if (i % 997 == 5 || i == 1)
            return Outcome::GivenUp;
        if (i % 1013 == 7 || i == 2)
            return Outcome::TypedThenDone;
        if (i % 5000 == 3 || i + 1 == kEntries)
            return Outcome::NotReached;
        return Outcome::Done;
    };
    for (const bool closed : { true, false }) {
        TempDir state;
        engine::JournalStore store(state / "runs");
        std::string id;
        {
            engine::JournalWriter writer(state / "runs");
            std::size_t next = 0;
            ASSERT_TRUE(writer
                            .beginFrom(engine::JournalKind::Run, "/nowhere/",
                                [&](engine::JournalEntry& entry) {
                                    if (next == kEntries)
                                        return false;
                                    entry = engine::plannedEntry(
                                        next < kEntries / 2 ? "/nowhere/a/" : "/nowhere/b/",
                                        "img_" + std::to_string(next) + "_a.jpg",
                                        "img " + std::to_string(next) + " a.jpg");
                                    entry.identity = { 7, 1000 + next, 0 };
                                    ++next;
                                    return true;
                                })
                            .ok());
            id = writer.id();
            for (std::size_t i = 0; i < kEntries; ++i) {
                switch (outcome(i)) {
                case Outcome::Done:
                    writer.done(i);
                    break;
                case Outcome::GivenUp:
                    writer.refused(i, EACCES);
                    writer.givenUp(i);
                    break;
                case Outcome::TypedThenDone:
                    writer.refused(i, EEXIST);
                    ASSERT_TRUE(writer.typed(i, "typed " + std::to_string(i)).ok());
                    writer.done(i);
                    break;
                case Outcome::NotReached:
                    break;
                }
            }
            if (closed)
                writer.close(kEntries, 0);
        }
        const auto contents = store.load(id);
        ASSERT_TRUE(contents);
        EXPECT_FALSE(contents->torn);
        EXPECT_EQ(contents->closed, closed);
        ASSERT_EQ(contents->entries.size(), kEntries);
        for (std::size_t i = 0; i < kEntries; ++i) {
            const auto& entry = contents->entries[i];
            ASSERT_EQ(entry.oldName, "img_" + std::to_string(i) + "_a.jpg");
            ASSERT_EQ(entry.directory, i < kEntries / 2 ? "/nowhere/a/" : "/nowhere/b/");
            ASSERT_EQ(entry.identity.inode, 1000 + i);
            const auto& progress = contents->progress[i];
            const Outcome expected = outcome(i);
            ASSERT_EQ(
                progress.done, expected == Outcome::Done || expected == Outcome::TypedThenDone)
                << i;
            ASSERT_EQ(progress.givenUp, expected == Outcome::GivenUp) << i;
            ASSERT_EQ(progress.typedNames.size(), expected == Outcome::TypedThenDone ? 1U : 0U)
                << i;
            ASSERT_EQ(progress.lastError,
                expected == Outcome::GivenUp             ? EACCES
                    : expected == Outcome::TypedThenDone ? EEXIST
                                                         : 0)
                << i;
        }
    }
}

TEST(JournalProgress, JournalPreparedButNeverBegunLeavesNoFileBehind)
{
    // A run prepares its journal before planning; when the plan never reaches begin() (an
    // exception, a refusal), the empty file must not stay behind among the runs.
    TempDir state;
    const std::string runs = state / "runs";
    {
        engine::JournalWriter prepared(runs);
        prepared.prepare();
        EXPECT_FALSE(prepared.active());
        EXPECT_EQ(platform::directoryNames(runs).value().size(), 1U);
    }
    EXPECT_TRUE(platform::directoryNames(runs).value().empty());
    std::string id;
    {
        engine::JournalWriter begun(runs);
        begun.prepare();
        ASSERT_TRUE(
            begun.begin(engine::JournalKind::Run, "/m/", { engine::plannedEntry("/m/", "a", "A") })
                .ok());
        id = begun.id();
        EXPECT_TRUE(begun.active());
    }
    const auto contents = engine::JournalStore(runs).load(id);
    ASSERT_TRUE(contents);
    EXPECT_TRUE(contents->started);
    EXPECT_EQ(contents->entries.size(), 1U);
    EXPECT_EQ(platform::directoryNames(runs).value().size(), 1U);
}

TEST(JournalLocation, FollowsXdgStateHomeAndIgnoresARelativeOne)
{
    {
        const ScopedEnv state("XDG_STATE_HOME", "/some/state");
        EXPECT_EQ(engine::defaultRunsDirectory(), "/some/state/quorvane/runs");
    }
    const ScopedEnv home("HOME", "/home/someone");
    const ScopedEnv relative("XDG_STATE_HOME", "relative/state");
    EXPECT_EQ(engine::defaultRunsDirectory(), "/home/someone/.local/state/quorvane/runs");
}

} // namespace
} // namespace quorvane::test
