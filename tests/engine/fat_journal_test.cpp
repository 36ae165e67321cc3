// Undo from the journal of a run made on a real FAT volume, whose driver gives an entry a new
// inode number whenever it looks it up afresh.
#include "run_fixture.h"
#include "support/fat_volume.h"

#include "engine/journal_store.h"
#include "engine/journal_writer.h"
#include "engine/recorded_undo.h"

#include <cstdio>

namespace quorvane::test {
namespace {

class FatJournalTest : public RunFixture
{
protected:
    void SetUp() override
    {
        if (!fat.skipped().empty())
            GTEST_SKIP() << fat.skipped();
        ASSERT_TRUE(fat.usable()) << fat.failure();
        work = fat.makeWorkDirectory();
        ASSERT_FALSE(work.empty());
        scope.directory = text(work);
        options.CheckBox8 = true; // "_" becomes a space: one change that is not of case alone
    }

    TempDir state_;
    std::string runsDir = state_ / "quorvane/runs";
    engine::JournalStore store { runsDir };
    FatVolume fat { tmp };
    std::string work;
};

TEST_F(FatJournalTest, RunIsUndoneFromItsJournalAndAReplacedFileIsLeftAlone)
{
    writeFile(work + "one_track.mp3", "1");
    writeFile(work + "two track.mp3", "22");
    writeFile(work + "THREE.mp3", "333");
    writeFile(work + "four.mp3", "4444");
    {
        engine::JournalWriter journal(runsDir);
        engine::RenameRun run(fs, collator, options, state, scope, prompts, observer);
        run.setJournal(&journal);
        ASSERT_EQ(run.BitBtn1Click().renamed, 4);
    }
    ASSERT_EQ(namesIn("fat/work"),
        (std::vector<std::string> { "Four.mp3", "One Track.mp3", "Three.mp3", "Two Track.mp3" }));
    // Another program replaces one renamed file with one of its own.
    ASSERT_EQ(std::remove((work + "Four.mp3").c_str()), 0);
    writeFile(work + "Four.mp3", "theirs");

    engine::RecordedUndo undo(fs, store, prompts, observer);
    const engine::RecordedUndoReport report = undo.undo({});
    EXPECT_EQ(report.restored, 3U);
    ASSERT_EQ(report.notRestored.size(), 1U);
    EXPECT_EQ(report.notRestored[0].path, work + "Four.mp3");
    EXPECT_EQ(report.notRestored[0].error, 0);
    EXPECT_EQ(namesIn("fat/work"),
        (std::vector<std::string> { "Four.mp3", "THREE.mp3", "one_track.mp3", "two track.mp3" }));
    EXPECT_EQ(readFile(work + "one_track.mp3"), "1");
    EXPECT_EQ(readFile(work + "two track.mp3"), "22");
    EXPECT_EQ(readFile(work + "THREE.mp3"), "333");
    EXPECT_EQ(readFile(work + "Four.mp3"), "theirs");
}

} // namespace
} // namespace quorvane::test
