// Which preview rows change and which would collide, on real temporary directories.
#include "run_fixture.h"

#include "engine/preview_marks.h"
#include "engine/rename_retry.h"

#include <algorithm>
#include <cerrno>

namespace quorvane::test {
namespace {

struct Row
{
    std::string dir; ///< relative to the temporary directory, "" for itself
    std::string oldName;
    std::string newName;
};

class PreviewMarks : public ::testing::Test
{
protected:
    std::u32string dirOf(const std::string& relative) const
    {
        return text((relative.empty() ? tmp.path() : tmp / relative) + "/");
    }
    std::vector<engine::PreviewMark> mark(const std::vector<Row>& rows)
    {
        engine::UndoLog log;
        for (const Row& r : rows)
            log.append(dirOf(r.dir), text(r.oldName), text(r.newName));
        return engine::markPreviewRows(log, fs);
    }
    /// "c" changed, "!" conflict, "-" unchanged, per row.
    static std::string summary(const std::vector<engine::PreviewMark>& marks)
    {
        std::string s;
        for (const auto& m : marks)
            s += m.conflict ? '!' : (m.changed ? 'c' : '-');
        return s;
    }

    TempDir tmp;
    test::FailingFileSystem fs;
};

TEST_F(PreviewMarks, NamesTheRunWillBeRefusedAreMarkedWithTheReason)
{
    for (const char* name : { "a.txt", "b.txt", "c.txt", "d.txt", "e.txt", "f.txt" })
        tmp.file(name);
    // The file system's own limit, as the run will meet it.
    const std::size_t longest = fs.longestName(tmp.path());
    ASSERT_GT(longest, 0U);
    const auto marks = mark({ { "", "a.txt", ".." }, { "", "b.txt", "." }, { "", "c.txt", "x/y" },
        { "", "d.txt", std::string(longest, 'n') }, { "", "e.txt", std::string(longest + 1, 'n') },
        { "", "f.txt", "a.txt" } });
    std::vector<int> refusals(marks.size());
    std::ranges::transform(marks, refusals.begin(), [](const auto& m) { return m.refusal; });
    const int notAName = engine::kNotAnEntryName;
    EXPECT_EQ(refusals, (std::vector<int> { notAName, notAName, notAName, 0, ENAMETOOLONG, 0 }));
    // A refused row keeps its name: the next row cannot take it.
    EXPECT_EQ(summary(marks), "ccccc!");
}

TEST_F(PreviewMarks, UnchangedRowsAreNeverConflicts)
{
    tmp.file("Same.txt");
    tmp.file("b.txt");
    EXPECT_EQ(summary(mark({ { "", "Same.txt", "Same.txt" }, { "", "b.txt", "B.txt" } })), "-c");
    EXPECT_EQ(fs.listings.size(), 1U) << "only directories with a changed row are listed";
    EXPECT_EQ(fs.renameCalls, 0) << "marking rows renames nothing";
    EXPECT_TRUE(fs.attributeCalls.empty());
}

TEST_F(PreviewMarks, TwoRowsGivingOneNameBothConflict)
{
    tmp.file("a-1.txt");
    tmp.file("a_1.txt");
    tmp.file("c.txt");
    EXPECT_EQ(summary(mark({ { "", "a-1.txt", "A 1.txt" }, { "", "c.txt", "C.txt" },
                  { "", "a_1.txt", "A 1.txt" } })),
        "!c!");
}

TEST_F(PreviewMarks, AnExistingEntryOfTheNewNameIsAConflict)
{
    tmp.file("x.txt");
    tmp.dir("X.txt"); // a directory stands in the way as much as a file
    EXPECT_EQ(summary(mark({ { "", "x.txt", "X.txt" } })), "!");
}

TEST_F(PreviewMarks, AnEntryRenamedAwayEarlierFreesItsName)
{
    // "b" -> "c" frees "b" before "a" -> "b" runs; "a" -> "b" would run first the other way.
    tmp.file("a");
    tmp.file("b");
    EXPECT_EQ(summary(mark({ { "", "b", "c" }, { "", "a", "b" } })), "cc");
    EXPECT_EQ(summary(mark({ { "", "a", "b" }, { "", "b", "c" } })), "!c");
}

TEST_F(PreviewMarks, ACaseOnlyChangeIsNoConflictUnlessTheOtherSpellingExists)
{
    tmp.file("a");
    EXPECT_EQ(summary(mark({ { "", "a", "A" } })), "c");
    tmp.file("A");
    EXPECT_EQ(summary(mark({ { "", "a", "A" } })), "!");
}

TEST_F(PreviewMarks, DirectoriesAreSeparate)
{
    tmp.file("one/a");
    tmp.file("two/b");
    tmp.file("three/New");
    EXPECT_EQ(summary(mark({ { "one", "a", "New" }, { "two", "b", "New" } })), "cc");
    // The parent holds an entry "New" only in "three": names never cross directories.
    EXPECT_EQ(summary(mark({ { "", "one", "New" }, { "three", "x", "Y" } })), "cc");
}

TEST_F(PreviewMarks, NamesCompareAsTheirBytes)
{
    // An undecodable byte on disk is escaped in the row; the escape must meet the real entry.
    tmp.file("caf\xE9");
    tmp.file("other");
    EXPECT_EQ(summary(mark({ { "", "other", "caf\xE9" } })), "!");

    // Escapes spelling out valid UTF-8 name the entry itself, not another one: the row
    // leaves the name's bytes as they are.
    tmp.file("caf\xC3\xA9");
    engine::UndoLog log;
    const std::u32string escaped { platform::kEscapeBase + 0xC3, platform::kEscapeBase + 0xA9 };
    ASSERT_EQ(bytes(U"caf" + escaped), "caf\xC3\xA9");
    log.append(dirOf(""), U"caf\u00E9", U"caf" + escaped);
    EXPECT_EQ(summary(engine::markPreviewRows(log, fs)), "-");
}

TEST_F(PreviewMarks, AnUnreadableDirectoryGivesNoDiskConflictsButRowsStillCollide)
{
    tmp.file("a");
    tmp.file("b");
    tmp.file("B");
    FailingFileSystem failing;
    failing.unreadable.push_back(tmp.path() + "/");
    engine::UndoLog log;
    log.append(dirOf(""), U"b", U"B");
    log.append(dirOf(""), U"a", U"X");
    log.append(dirOf(""), U"B", U"X");
    EXPECT_EQ(summary(engine::markPreviewRows(log, failing)), "c!!");
}

TEST_F(PreviewMarks, ManyRowsListEachDirectoryOnce)
{
    tmp.file("f0");
    tmp.file("sub/taken");
    engine::UndoLog log;
    constexpr int count = 100'000;
    for (int i = 0; i < count; ++i) {
        const std::u32string n = text(std::to_string(i));
        log.append(dirOf(i % 2 == 0 ? "" : "sub"), U"f" + n, i == count - 1 ? U"taken" : U"g" + n);
    }
    const auto marks = engine::markPreviewRows(log, fs);
    ASSERT_EQ(marks.size(), static_cast<std::size_t>(count));
    EXPECT_EQ(std::ranges::count_if(marks, [](const auto& m) { return m.changed; }), count);
    EXPECT_EQ(std::ranges::count_if(marks, [](const auto& m) { return m.conflict; }), 1);
    EXPECT_TRUE(marks.back().conflict);
    EXPECT_EQ(fs.listings.size(), 2U);
    for (const auto& [dir, times] : fs.listings)
        EXPECT_EQ(times, 1) << dir;
}

TEST_F(RunFixture, PreviewOfARunIntoAnExistingNameMarksTheConflict)
{
    tmp.file("a.txt");
    tmp.file("A.txt");
    tmp.file("b.txt");
    preview();

    const auto marks = engine::markPreviewRows(state.previewRows, fs);

    ASSERT_EQ(marks.size(), 3U);
    for (std::size_t i = 0; i < marks.size(); ++i) {
        const std::u32string oldName = state.previewRows.oldName(i);
        EXPECT_EQ(marks[i].changed, oldName != U"A.txt") << bytes(oldName);
        EXPECT_EQ(marks[i].conflict, oldName == U"a.txt") << bytes(oldName);
    }
}

} // namespace
} // namespace quorvane::test
