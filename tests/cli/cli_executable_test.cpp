// The quorvane-cli executable itself: streams and exit statuses as a shell sees them.
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>

namespace quorvane::test {
namespace {

struct Exit
{
    int status = -1;
    std::string out;
    std::string err;
};

/// Runs the executable through the shell with `input` on stdin.
Exit runCli(const TempDir& tmp, const std::string& arguments, const std::string& input = {})
{
    tmp.file("stdin", input);
    const std::string command = std::string("'") + QUORVANE_CLI + "' " + arguments + " <'"
        + (tmp / "stdin") + "' >'" + (tmp / "stdout") + "' 2>'" + (tmp / "stderr") + "'";
    const int raw = std::system(command.c_str());
    Exit exit;
    exit.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    exit.out = tmp.read("stdout");
    exit.err = tmp.read("stderr");
    return exit;
}

TEST(CliExecutable, HelpBadOptionsAndATransform)
{
    TempDir tmp;
    const Exit help = runCli(tmp, "--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("quorvane-cli transform"), std::string::npos);

    const Exit bad = runCli(tmp, "transform --no-such-option");
    EXPECT_EQ(bad.status, 2);
    EXPECT_TRUE(bad.out.empty());
    EXPECT_EQ(bad.err, "quorvane-cli: unknown option --no-such-option\n");

    const Exit names = runCli(tmp, "transform --case upper --expand-dashes", "a-b\nc\n");
    EXPECT_EQ(names.status, 0);
    EXPECT_EQ(names.out, "A - B\nC\n");
}

TEST(CliExecutable, RenameWithAGivenUpEntryExitsOne)
{
    TempDir tmp;
    tmp.file("work/A.txt", "1");
    tmp.file("work/a.TXT", "2");
    const Exit e = runCli(tmp, "rename '" + (tmp / "work") + "' --case upper");
    EXPECT_EQ(e.status, 1);
    EXPECT_EQ(std::count(e.out.begin(), e.out.end(), '\n'), 1);
    EXPECT_EQ(tmp.read("work/A.TXT"), "1");
    EXPECT_EQ(tmp.read("work/a.TXT"), "2");
}

} // namespace
} // namespace quorvane::test
