// Changes of letter case alone on a real FAT volume, whose driver numbers each spelling apart.
#include "platform/posix_file_system.h"
#include "platform/posix_rename.h"

#include "support/fat_volume.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <sys/stat.h>

using namespace quorvane::platform;
using quorvane::test::FatVolume;
using quorvane::test::namesIn;
using quorvane::test::readFile;
using quorvane::test::TempDir;
using quorvane::test::writeFile;

namespace {

std::string outcome(const Status& status)
{
    return status.ok() ? "ok" : status.error().describe();
}

class FatRenameTest : public testing::TestWithParam<RenameMethod>
{
protected:
    void SetUp() override
    {
        if (!fat.skipped().empty())
            GTEST_SKIP() << fat.skipped();
        ASSERT_TRUE(fat.usable()) << fat.failure();
        work = fat.makeWorkDirectory();
        ASSERT_FALSE(work.empty());
    }
    [[nodiscard]] static Status rename(const std::string& from, const std::string& to)
    {
        return renameNoReplace(from, to, GetParam());
    }

    TempDir dir;
    FatVolume fat { dir };
    std::string work;
};

} // namespace

TEST_P(FatRenameTest, CaseOnlyChangesGoThroughAndRealCollisionsStayRefused)
{
    writeFile(work + "abc.txt", "one");
    writeFile(work + "XYZ.TXT", "two");
    writeFile(work + "Mixed.Txt", "three");
    writeFile(work + "b.txt", "four");
    // Empty: fusefat itself loses a directory's contents when it renames the directory.
    ASSERT_EQ(::mkdir((work + "somedir").c_str(), 0700), 0);
    struct stat a = {};
    struct stat b = {};
    ASSERT_EQ(::lstat((work + "abc.txt").c_str(), &a), 0);
    ASSERT_EQ(::lstat((work + "ABC.TXT").c_str(), &b), 0);
    if (a.st_ino == b.st_ino)
        ADD_FAILURE() << "this driver gives both spellings one inode number: the case the "
                         "test is about is not exercised";

    EXPECT_EQ(outcome(rename(work + "abc.txt", work + "ABC.TXT")), "ok");
    EXPECT_EQ(outcome(rename(work + "XYZ.TXT", work + "xyz.txt")), "ok");
    EXPECT_EQ(outcome(rename(work + "somedir", work + "SOMEDIR")), "ok");
    // The run renames through a directory it keeps open.
    PosixFileSystem fs;
    EXPECT_EQ(outcome(fs.renameIn(work, "Mixed.Txt", "mIXED.tXT")), "ok");

    // Another file under the target name, whatever its letter case: refused, nothing moves.
    const Status clash = rename(work + "b.txt", work + "abc.txt");
    ASSERT_FALSE(clash.ok());
    EXPECT_EQ(clash.error().code, EEXIST);
    EXPECT_EQ(fs.renameIn(work, "xyz.txt", "B.TXT").error().code, EEXIST);

    // Exactly the new spellings, and no temporary name left behind.
    EXPECT_EQ(namesIn(work),
        (std::vector<std::string> { "ABC.TXT", "SOMEDIR", "b.txt", "mIXED.tXT", "xyz.txt" }));
    EXPECT_EQ(readFile(work + "ABC.TXT"), "one");
    EXPECT_EQ(readFile(work + "xyz.txt"), "two");
    EXPECT_EQ(readFile(work + "mIXED.tXT"), "three");
    EXPECT_EQ(readFile(work + "b.txt"), "four");
}

INSTANTIATE_TEST_SUITE_P(Methods, FatRenameTest,
    testing::Values(RenameMethod::Native, RenameMethod::Emulated),
    [](const testing::TestParamInfo<RenameMethod>& param) {
        return param.param == RenameMethod::Native ? "Native" : "Emulated";
    });
