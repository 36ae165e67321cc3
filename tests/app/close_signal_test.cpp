// The program itself ended by SIGTERM, SIGINT or SIGHUP from any state, start-up boxes
// included: it exits within seconds and leaves the settings as an ordinary exit writes them.
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace quorvane::test {
namespace {

using namespace std::chrono_literals;

/// The program's "Version" value.
const std::string kVersion = "Quorvane 0.99";

/// Whether `pid` has a handler for `signal` yet (its SigCgt mask in /proc).
bool catches(pid_t pid, int signal)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("SigCgt:", 0) == 0)
            return ((std::stoull(line.substr(7), nullptr, 16) >> (signal - 1)) & 1U) != 0;
    }
    return false;
}

class CloseSignal : public ::testing::Test
{
protected:
    /// Starts the program with private directories, waits until it catches `signal` and
    /// has had time to open its first box, sends `signal` and returns the exit status
    /// (-1: still running after five seconds, then killed; -2: ended by a signal).
    int startAndSignal(int signal)
    {
        const pid_t child = fork();
        if (child == 0) {
            if (::chdir(work.path().c_str()) != 0)
                _exit(127);
            const std::string env[] = { "QT_QPA_PLATFORM=offscreen", "HOME=" + home.path(),
                "XDG_CONFIG_HOME=" + config.path(), "XDG_STATE_HOME=" + home.path() + "/state",
                "XDG_DATA_HOME=" + home.path() + "/data", "XDG_RUNTIME_DIR=" + home.path(),
                "TMPDIR=" + home.path(), "LC_ALL=C.UTF-8" };
            std::vector<char*> envp;
            for (const std::string& e : env)
                envp.push_back(const_cast<char*>(e.c_str()));
            envp.push_back(nullptr);
            char* argv[] = { const_cast<char*>(QUORVANE_GUI), nullptr };
            ::execve(QUORVANE_GUI, argv, envp.data());
            _exit(127);
        }
        for (int i = 0; i < 200 && !catches(child, signal); ++i)
            std::this_thread::sleep_for(50ms);
        std::this_thread::sleep_for(1500ms);
        ::kill(child, signal);
        int status = 0;
        for (int i = 0; i < 100; ++i) {
            if (::waitpid(child, &status, WNOHANG) == child)
                return WIFEXITED(status) ? WEXITSTATUS(status) : -2;
            std::this_thread::sleep_for(50ms);
        }
        ::kill(child, SIGKILL);
        ::waitpid(child, &status, 0);
        return -1;
    }

    /// The settings file's "key=value" lines.
    [[nodiscard]] std::vector<std::string> lines() const
    {
        std::istringstream in(config.read("Quorvane/Quorvane.ini"));
        std::vector<std::string> result;
        for (std::string line; std::getline(in, line);)
            result.push_back(line);
        return result;
    }
    [[nodiscard]] bool holds(const std::string& line) const
    {
        const std::vector<std::string> all = lines();
        return std::find(all.begin(), all.end(), line) != all.end();
    }

    TempDir config;
    TempDir home;
    TempDir work;
};

TEST_F(CloseSignal, EndsTheProgramFromAnyStartUpBoxAndSavesAsAnExitDoes)
{
    // A first start: the language dialog, then the question about update checks.
    EXPECT_EQ(startAndSignal(SIGTERM), 0) << "first start";
    EXPECT_TRUE(holds("Version=" + kVersion));
    EXPECT_TRUE(holds("Salvate=1") && holds("Salva_Uscita=1") && holds("autoCheckUpdate=0"))
        << "the first exit's settings";

    // A stored language that is not there: the language dialog when the window shows.
    config.file("Quorvane/Quorvane.ini",
        "[General]\nVersion=" + kVersion
            + "\nSalvate=1\nSalva_Uscita=1\nSalva_Opzioni_Base=1\nLanguage=9\n"
              "[Opzioni_Base]\nTipo_Rename=2\n");
    EXPECT_EQ(startAndSignal(SIGINT), 0) << "unknown language";
    EXPECT_TRUE(holds("Language=9") && holds("Tipo_Rename=2"));

    // An upgrade: the question at start-up; and then an ordinary start with no box.
    config.file("Quorvane/Quorvane.ini", "[General]\nVersion=Quorvane 0.9\nSalvate=0\n");
    EXPECT_EQ(startAndSignal(SIGHUP), 0) << "upgrade";
    EXPECT_TRUE(holds("Version=" + kVersion) && holds("autoCheckUpdate=0"));
    EXPECT_EQ(startAndSignal(SIGTERM), 0) << "ordinary start";
    EXPECT_TRUE(holds("Version=" + kVersion));
}

} // namespace
} // namespace quorvane::test
