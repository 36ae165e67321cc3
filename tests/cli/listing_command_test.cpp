// quorvane-cli listing: its options, its text and its exit statuses.
#include "cli/listing_command.h"

#include "support/failing_file_system.h"
#include "support/temp_dir.h"

#include "engine/listing_builder.h"
#include "platform/name_codec.h"
#include "platform/posix_file_system.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace quorvane::test {
namespace {

struct Outcome
{
    int status = -1;
    std::string out;
    std::string err;
};

Outcome listing(platform::FileSystem& fs, const std::vector<std::string>& args)
{
    std::ostringstream out;
    std::ostringstream err;
    Outcome run;
    run.status = cli::runListing(args, fs, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

/// The text the window's listing has for the same options.
std::string expectedText(const std::string& dir, const engine::ListingOptions& options,
    const std::u32string& mask = U"*.*")
{
    std::string text;
    const engine::LocaleListingDateFormat dates;
    const platform::Collator collator;
    const platform::PosixFileSystem fs;
    (void)engine::writeListing(fs, { platform::decodeName(dir), mask }, options, dates, collator,
        [&](std::u32string_view piece) { text += platform::toDisplayUtf8(piece); });
    return text;
}

class CliListing : public ::testing::Test
{
protected:
    void SetUp() override
    {
        tmp.file("dir/a.mp3", "12345");
        tmp.file("dir/b.txt", "x");
        tmp.file("dir/sub/c.mp3");
    }
    TempDir tmp;
    platform::PosixFileSystem fs;
};

TEST_F(CliListing, DefaultsAreTheFirstStartOptions)
{
    const Outcome run = listing(fs, { tmp / "dir" });
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, expectedText(tmp / "dir", engine::ListingOptions {}));
    EXPECT_NE(run.out.find("a.mp3"), std::string::npos);
    EXPECT_NE(run.out.find("\r\n"), std::string::npos);
}

TEST_F(CliListing, EveryOptionTurnsItsPartOffAndTheTitleOn)
{
    const Outcome run = listing(fs,
        { "--no-heading", tmp / "dir", "--mask", "*.MP3", "--title", "Musica", "--no-totals",
            "--no-subdirs", "--no-dir-names", "--no-sizes", "--no-dates", "--no-attributes",
            "--no-extensions" });
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "Musica\r\n\r\na\r\n\r\n\r\n\r\n\r\n");
}

struct Refusal
{
    std::vector<std::string> args;
    std::string message;
};

class CliListingRefusals : public ::testing::TestWithParam<Refusal>
{
};

TEST_P(CliListingRefusals, ExitTwoWithOneLineAndNoListing)
{
    platform::PosixFileSystem fs;
    const Outcome run = listing(fs, GetParam().args);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "quorvane-cli: " + GetParam().message + "\n");
}

INSTANTIATE_TEST_SUITE_P(CliListing, CliListingRefusals,
    ::testing::Values(Refusal { {}, "listing needs a directory" },
        Refusal { { "/", "--no-such" }, "unknown option --no-such" },
        Refusal { { "/", "--title" }, "--title needs a value" },
        Refusal { { "/", "/tmp" }, "listing takes one directory, not also /tmp" },
        Refusal { { "/no/such/directory" },
            "cannot list /no/such/directory: No such file or directory" }));

TEST_F(CliListing, AnUnreadableSubdirectoryIsListedAsEmptyNamedAndExitsOne)
{
    FailingFileSystem failing;
    failing.unreadable = { tmp / "dir/sub/" };
    const Outcome run = listing(failing, { tmp / "dir" });
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("Totale: 0 files e 0 sottodirectory"), std::string::npos);
    EXPECT_NE(
        run.err.find("listed as empty, open directory " + tmp / "dir/sub/"), std::string::npos);
}

} // namespace
} // namespace quorvane::test
