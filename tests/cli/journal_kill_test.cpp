// quorvane-cli rename killed at random moments, and quorvane-cli undo afterwards; the
// journal's command-line face (history, undo, --no-journal, an unwritable journal).
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quorvane::test {
namespace {

using Snapshot = std::map<std::string, std::string>;

/// Every entry below `root` with what it holds ("/" for a directory), by exact name bytes.
Snapshot snapshot(const std::string& root)
{
    Snapshot all;
    for (const auto& e : std::filesystem::recursive_directory_iterator(root))
        all[e.path().string()] = e.is_directory() ? "/" : readFile(e.path().string());
    return all;
}

/// Starts quorvane-cli with `args` and XDG_STATE_HOME=`state`, output thrown away.
pid_t startCli(const std::vector<std::string>& args, const std::string& state)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int devNull = ::open("/dev/null", O_WRONLY);
        ::dup2(devNull, 1);
        ::dup2(devNull, 2);
        ::setenv("XDG_STATE_HOME", state.c_str(), 1);
        std::vector<char*> argv { const_cast<char*>(QUORVANE_CLI) };
        for (const std::string& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        ::execv(QUORVANE_CLI, argv.data());
        ::_exit(127);
    }
    return pid;
}

/// The exit status, or -signal when a signal ended it.
int waitFor(pid_t pid)
{
    int raw = 0;
    ::waitpid(pid, &raw, 0);
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -WTERMSIG(raw);
}

int runCli(const std::vector<std::string>& args, const std::string& state)
{
    return waitFor(startCli(args, state));
}

/// A few thousand files with spaces, accents and bytes that are not UTF-8 in their names,
/// random contents, and subdirectories the run renames too.
void populate(const TempDir& tmp, unsigned seed)
{
    std::mt19937 random(seed);
    const std::vector<std::string> stems { "track one", "città", "caf\xe9", "x\xff\xfe y",
        "m\xc3\xbcsik - live" };
    for (int d = 0; d < 3; ++d) {
        const std::string dir = "disc " + std::to_string(d) + (d == 2 ? " \xe0" : "");
        for (int i = 0; i < 700; ++i) {
            std::string content(random() % 64, '\0');
            for (char& c : content)
                c = static_cast<char>(random());
            tmp.file(
                dir + "/" + stems[i % stems.size()] + " " + std::to_string(i) + ".mp3", content);
        }
    }
}

TEST(CliJournal, RunKilledAtRandomMomentsIsUndoneToTheLastByte)
{
    TempDir work;
    // How long a whole run takes here, so that the kills fall across all of it.
    std::chrono::microseconds runTime {};
    {
        TempDir tmp;
        populate(tmp, 0);
        const auto start = std::chrono::steady_clock::now();
        ASSERT_EQ(
            runCli({ "rename", tmp.path(), "--case", "upper", "--recursive" }, work / "calibrate"),
            0);
        runTime = std::chrono::duration_cast<std::chrono::microseconds>(
            std::chrono::steady_clock::now() - start);
    }
    int cutMidRun = 0;
    for (unsigned seed = 1; seed <= 20; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        TempDir tmp;
        const std::string state = work / ("state" + std::to_string(seed));
        populate(tmp, seed);
        const Snapshot before = snapshot(tmp.path());

        std::mt19937 random(seed);
        const pid_t pid
            = startCli({ "rename", tmp.path(), "--case", "upper", "--recursive" }, state);
        std::this_thread::sleep_for(std::chrono::microseconds(random() % (runTime.count() + 1)));
        ::kill(pid, SIGKILL);
        (void)waitFor(pid);
        const Snapshot killed = snapshot(tmp.path());
        if (killed != before && killed.size() == before.size())
            ++cutMidRun;

        // Killed before its plan was on disk, the run renamed nothing and left no run.
        const int undo = runCli({ "undo" }, state);
        EXPECT_TRUE(undo == 0 || (undo == 2 && killed == before)) << "undo status " << undo;
        EXPECT_EQ(snapshot(tmp.path()), before);
    }
    EXPECT_GT(cutMidRun, 0) << "no kill fell among the renames";
}

TEST(CliJournal, UnwritableJournalRefusesTheRunAndNoJournalAllowsIt)
{
    TempDir tmp;
    tmp.file("dir/a.txt");
    tmp.file("state"); // a file where the state directory should be
    const std::string dir = tmp / "dir";

    EXPECT_EQ(runCli({ "rename", dir }, tmp / "state"), 2);
    EXPECT_TRUE(tmp.exists("dir/a.txt"));
    EXPECT_EQ(runCli({ "rename", dir, "--no-journal" }, tmp / "state"), 0);
    EXPECT_TRUE(tmp.exists("dir/A.txt"));
}

TEST(CliJournal, UndoStatusesSayWhatWasRestored)
{
    TempDir tmp;
    tmp.file("dir/a.txt");
    tmp.file("dir/b.txt");
    const std::string dir = tmp / "dir";
    const std::string state = tmp / "state";

    EXPECT_EQ(runCli({ "undo" }, state), 2); // nothing recorded yet
    ASSERT_EQ(runCli({ "rename", dir }, state), 0);
    std::filesystem::rename(tmp / "dir/B.txt", tmp / "dir/moved.txt");
    EXPECT_EQ(runCli({ "undo" }, state), 1); // B.txt is no longer where the run left it
    EXPECT_TRUE(tmp.exists("dir/a.txt"));
    EXPECT_TRUE(tmp.exists("dir/moved.txt"));
    std::filesystem::rename(tmp / "dir/moved.txt", tmp / "dir/B.txt");
    EXPECT_EQ(runCli({ "undo" }, state), 0); // the rest, now that it is back
    EXPECT_TRUE(tmp.exists("dir/b.txt"));
    EXPECT_EQ(runCli({ "undo" }, state), 1); // twice is refused
    EXPECT_EQ(runCli({ "undo", "no-such-run" }, state), 2);
    EXPECT_EQ(runCli({ "history", "extra" }, state), 2);
}

} // namespace
} // namespace quorvane::test
