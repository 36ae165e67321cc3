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

/// Runs the executable through the shell with `input` on stdin, in `workingDir` when given.
Exit runCli(const TempDir& tmp, const std::string& arguments, const std::string& input = {},
    const std::string& workingDir = {})
{
    tmp.file("stdin", input);
    const std::string cd = workingDir.empty() ? "" : "cd '" + workingDir + "' && ";
    const std::string command = cd + "'" + QUORVANE_CLI + "' " + arguments + " <'" + (tmp / "stdin")
        + "' >'" + (tmp / "stdout") + "' 2>'" + (tmp / "stderr") + "'";
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

TEST(CliExecutable, SelectionNeverReachesOutsideTheDirectory)
{
    TempDir tmp;
    tmp.file("work/d/a.txt", "a");
    tmp.file("outside/victim.txt", "victim");
    for (const std::string select : { "../../outside/victim.txt", "victim.txt" }) {
        const Exit e = runCli(tmp, "rename . --select " + select, {}, tmp / "work/d");
        EXPECT_EQ(e.status, 2) << select;
        EXPECT_EQ(std::count(e.err.begin(), e.err.end(), '\n'), 1) << e.err;
        EXPECT_TRUE(e.out.empty()) << e.out;
    }
    EXPECT_EQ(tmp.read("outside/victim.txt"), "victim");
    EXPECT_FALSE(tmp.exists("work/d/Victim.txt"));
    EXPECT_FALSE(tmp.exists("work/d/victim.txt"));
    EXPECT_EQ(tmp.read("work/d/a.txt"), "a");
}

} // namespace
} // namespace quorvane::test
