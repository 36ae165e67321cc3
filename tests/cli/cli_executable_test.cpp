// The quorvane-cli executable itself: streams and exit statuses as a shell sees them.
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

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

    // What the user typed is shown inert: an ESC in an argument never reaches the terminal.
    const Exit escape = runCli(tmp, "transform \"$(printf -- '--bad\\033[2J')\"");
    EXPECT_EQ(escape.status, 2);
    EXPECT_EQ(escape.err, "quorvane-cli: unknown option --bad\\x1b[2J\n");

    const Exit names = runCli(tmp, "transform --case upper --expand-dashes", "a-b\nc\n");
    EXPECT_EQ(names.status, 0);
    EXPECT_EQ(names.out, "A - B\nC\n");
}

TEST(CliExecutable, LanguageFileGivesTheRulesTheirNames)
{
    TempDir tmp;
    tmp.file("en.lng",
        "LANGID=1033\n[$CONSTANTS]\nSENZA_NOME=Untitled\nFILENAME=File name\n"
        "NUMERAZIONE=Number\nSEPARATORE=Separator\n");
    const std::string language = "--language '" + (tmp / "en.lng") + "' ";

    // Deleting the whole base name leaves a name that would hide the file; it gets one.
    const Exit italian = runCli(tmp, "transform --case keep --delete song", "song.mp3\n");
    EXPECT_EQ(italian.out, "Senza nome.mp3\n");
    const Exit nameless
        = runCli(tmp, "transform --case keep --delete song " + language, "song.mp3\n");
    EXPECT_EQ(nameless.status, 0) << nameless.err;
    EXPECT_EQ(nameless.out, "Untitled.mp3\n");

    // The file's element names are the elements; the built-in ones become literal text.
    const Exit layout = runCli(tmp,
        "transform --case keep " + language
            + "--layout Number --layout Separator --layout 'File name' --layout Numerazione",
        "b.mp3\na.mp3\n");
    EXPECT_EQ(layout.status, 0) << layout.err;
    EXPECT_EQ(layout.out, "01 - bNumerazione.mp3\n02 - aNumerazione.mp3\n");
}

TEST(CliExecutable, LanguageFileThatDoesNotLoadIsOneLineAndStatusTwo)
{
    TempDir tmp;
    tmp.file("twice.lng", "LANGID=1033\n[$CONSTANTS]\nSENZA_NOME=a\nSENZA_NOME=b\n");
    tmp.file("nolangid.lng", "[$CONSTANTS]\nSENZA_NOME=a\n");
    struct Case
    {
        std::string file;
        std::string error;
    };
    const std::vector<Case> cases {
        { "twice.lng",
            "quorvane-cli: --language: Loading translations failed. Line 3: Duplicate constant "
            "name (\"SENZA_NOME\")\n" },
        { "nolangid.lng",
            "quorvane-cli: --language: " + (tmp / "nolangid.lng")
                + " is not a language file (it has no LANGID)\n" },
        { "missing.lng", "" },
    };
    for (const Case& c : cases) {
        tmp.file("work/a.txt", "1");
        const Exit e = runCli(tmp,
            "rename '" + (tmp / "work") + "' --case upper --language '" + (tmp / c.file) + "'");
        EXPECT_EQ(e.status, 2) << c.file;
        EXPECT_TRUE(e.out.empty()) << c.file;
        EXPECT_EQ(std::count(e.err.begin(), e.err.end(), '\n'), 1) << e.err;
        if (!c.error.empty()) {
            EXPECT_EQ(e.err, c.error);
        } else {
            EXPECT_EQ(e.err.rfind("quorvane-cli: --language: ", 0), 0U) << e.err;
        }
        // Nothing was renamed with texts the user did not ask for.
        EXPECT_EQ(tmp.read("work/a.txt"), "1") << c.file;
    }
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

TEST(CliExecutable, EveryCommandIsReachable)
{
    TempDir tmp;
    tmp.file("d/a.txt");
    const Exit albums = runCli(tmp, "albums '" + (tmp / "absent.ini") + "'");
    EXPECT_EQ(albums.status, 2);
    EXPECT_EQ(std::count(albums.err.begin(), albums.err.end(), '\n'), 1) << albums.err;
    // The commands that read their own options are reached through the same program.
    const Exit listing = runCli(tmp, "listing '" + (tmp / "d") + "' --no-dates");
    EXPECT_EQ(listing.status, 0) << listing.err;
    EXPECT_NE(listing.out.find("a.txt"), std::string::npos) << listing.out;
    EXPECT_EQ(runCli(tmp, "check-update --no-such-option").status, 2);
    const Exit help = runCli(tmp, "--help");
    for (const char* command : { "albums INI", "listing DIR", "check-update" })
        EXPECT_NE(help.out.find(command), std::string::npos) << command;
}

/// Starts the executable with `arguments`, its output going to files of `tmp`; no shell, so
/// that the returned process is the program itself and can be sent signals.
pid_t startCli(const TempDir& tmp, std::vector<std::string> arguments)
{
    arguments.insert(arguments.begin(), QUORVANE_CLI);
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 1);
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    const std::string out = tmp / "stdout";
    const std::string err = tmp / "stderr";
    const pid_t pid = ::fork();
    if (pid == 0) {
        // The runner may have ignored or blocked the signals; the program must see them.
        struct sigaction defaults = {};
        defaults.sa_handler = SIG_DFL;
        ::sigaction(SIGINT, &defaults, nullptr);
        ::sigaction(SIGTERM, &defaults, nullptr);
        sigset_t none;
        sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        const int outFd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int errFd = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (outFd < 0 || errFd < 0 || ::dup2(outFd, 1) < 0 || ::dup2(errFd, 2) < 0)
            ::_exit(126);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    return pid;
}

/// True once `pid` runs the program and has its own handler for `signal` (the SigCgt mask of
/// /proc/PID/status). Until the child has called exec it shows the test's own handlers, and
/// a signal sent then would meet the program before it installed its own.
bool catchesSignal(pid_t pid, int signal)
{
    std::ifstream cmdline("/proc/" + std::to_string(pid) + "/cmdline");
    std::string program;
    std::getline(cmdline, program, '\0');
    if (program != QUORVANE_CLI)
        return false;
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with("SigCgt:"))
            return ((std::stoull(line.substr(7), nullptr, 16) >> (signal - 1)) & 1U) != 0;
    }
    return false;
}

TEST(CliExecutable, SignalStopsTheRunWithEveryFileUnderOneOfItsNames)
{
    constexpr int kFiles = 20000;
    const auto name = [](const char* format, int i) {
        std::array<char, 32> buffer {};
        std::snprintf(buffer.data(), buffer.size(), format, i);
        return std::string(buffer.data());
    };
    for (const int signal : { SIGINT, SIGTERM }) {
        TempDir tmp;
        tmp.dir("d");
        for (int i = 0; i < kFiles; ++i)
            tmp.file(name("d/f%05d.txt", i));

        const pid_t pid = startCli(tmp, { "rename", tmp / "d", "--case", "upper" });
        ASSERT_GT(pid, 0);
        // A signal that came before the handlers would simply end the process.
        using Clock = std::chrono::steady_clock;
        const auto deadline = Clock::now() + std::chrono::seconds(30);
        int raw = 0;
        while (!catchesSignal(pid, signal)) {
            ASSERT_EQ(::waitpid(pid, &raw, WNOHANG), 0) << "ended before the handlers were set";
            ASSERT_LT(Clock::now(), deadline);
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
        // Let it rename a few entries first, so that the stop falls in the middle of the run;
        // the run takes far longer than this wait.
        const auto renaming = Clock::now() + std::chrono::milliseconds(50);
        while (!tmp.exists("d/F00000.TXT") && Clock::now() < renaming)
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        ASSERT_EQ(::kill(pid, signal), 0);
        ASSERT_EQ(::waitpid(pid, &raw, 0), pid);

        ASSERT_TRUE(WIFEXITED(raw)) << "ended by signal " << WTERMSIG(raw);
        EXPECT_EQ(WEXITSTATUS(raw), 128 + signal);
        const std::string err = tmp.read("stderr");
        EXPECT_NE(err.find(std::string("stopped by ") + (signal == SIGINT ? "SIGINT" : "SIGTERM")
                      + "; not finished: " + tmp / "d/"),
            std::string::npos)
            << err;
        const std::string out = tmp.read("stdout");
        EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << "the summary line";

        int renamed = 0;
        for (int i = 0; i < kFiles; ++i) {
            const bool old = tmp.exists(name("d/f%05d.txt", i));
            const bool renamedNow = tmp.exists(name("d/F%05d.TXT", i));
            EXPECT_NE(old, renamedNow) << i;
            renamed += renamedNow ? 1 : 0;
        }
        EXPECT_LT(renamed, kFiles);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(tmp / "d"),
                      std::filesystem::directory_iterator {}),
            kFiles);
    }
}

} // namespace
} // namespace quorvane::test
