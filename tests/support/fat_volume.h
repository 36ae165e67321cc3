// A real FAT file system for one test: an image made by mkfs.vfat, mounted read-write with
// FUSE's fusefat under a directory the test created, unmounted when the test ends.
#pragma once

#include "support/temp_dir.h"

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quorvane::test {

/// Runs a program found on PATH, its output into `output` (a file), and gives its exit
/// status, or -1 with `error` set when it could not be started.
inline int runProgram(
    const std::vector<std::string>& command, const std::string& output, std::string& error)
{
    std::vector<char*> argv;
    argv.reserve(command.size() + 1);
    for (const std::string& word : command)
        argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_addopen(
        &actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    ::posix_spawn_file_actions_adddup2(&actions, 1, 2);
    pid_t pid = 0;
    const int spawned = ::posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        error = "cannot start " + command[0] + ": " + std::strerror(spawned);
        return -1;
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) { }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

/// Mounts a fresh FAT image below `dir`. Check usable() first: skipped() says why the test
/// cannot run here (no /dev/fuse, no permission to mount), failure() what went wrong
/// otherwise. root() is the mounted volume, without a final "/".
class FatVolume
{
public:
    explicit FatVolume(const TempDir& dir)
        : m_image(dir / "fat.img")
        , m_root(dir / "fat")
        , m_log(dir / "fat.log")
    {
        if (::access("/dev/fuse", F_OK) != 0) {
            m_skipped = "/dev/fuse is missing: no FUSE file systems here";
            return;
        }
        if (::access("/dev/fuse", R_OK | W_OK) != 0) {
            m_skipped = "no permission to open /dev/fuse";
            return;
        }
        if (::mkdir(m_root.c_str(), 0700) != 0) {
            m_failure = "cannot create " + m_root;
            return;
        }
        // mkfs.vfat lives in sbin, which an ordinary user's PATH may lack.
        std::string mkfs = "mkfs.vfat";
        for (const char* path : { "/usr/sbin/mkfs.vfat", "/sbin/mkfs.vfat" }) {
            if (::access(path, X_OK) == 0) {
                mkfs = path;
                break;
            }
        }
        if (!run({ "truncate", "-s", "4M", m_image }) || !run({ mkfs, m_image }))
            return;
        // fusefat mounts read-only unless told otherwise.
        if (!run({ "fusefat", "-o", "rw+", m_image, m_root })) {
            const std::string log = readFile(m_log);
            if (log.find("ermission denied") != std::string::npos
                || log.find("not permitted") != std::string::npos) {
                m_skipped = "no permission to mount a FUSE file system: " + log;
                m_failure.clear();
            }
            return;
        }
        struct stat mounted = {};
        struct stat parent = {};
        if (::stat(m_root.c_str(), &mounted) != 0 || ::stat(dir.path().c_str(), &parent) != 0
            || mounted.st_dev == parent.st_dev) {
            m_failure = "fusefat returned but nothing is mounted on " + m_root;
            return;
        }
        m_mounted = true;
    }
    ~FatVolume()
    {
        if (!m_mounted)
            return;
        // The temporary directory is removed next: it must not reach into the volume.
        if (!run({ "fusermount", "-u", m_root }) && !run({ "umount", m_root }))
            (void)run({ "fusermount", "-u", "-z", m_root });
    }
    FatVolume(const FatVolume&) = delete;
    FatVolume& operator=(const FatVolume&) = delete;

    [[nodiscard]] bool usable() const { return m_mounted; }
    [[nodiscard]] const std::string& skipped() const { return m_skipped; }
    [[nodiscard]] const std::string& failure() const { return m_failure; }
    [[nodiscard]] const std::string& root() const { return m_root; }
    /// A new directory "work/" on the volume, with its final "/": a volume root is not
    /// where a run works. Empty when it could not be made.
    [[nodiscard]] std::string makeWorkDirectory() const
    {
        const std::string work = m_root + "/work/";
        return ::mkdir(work.c_str(), 0700) == 0 ? work : std::string();
    }

private:
    bool run(const std::vector<std::string>& command)
    {
        std::string error;
        const int status = runProgram(command, m_log, error);
        if (status == 0)
            return true;
        if (m_failure.empty())
            m_failure = status < 0
                ? error
                : command[0] + " failed (" + std::to_string(status) + "): " + readFile(m_log);
        return false;
    }

    std::string m_image;
    std::string m_root;
    std::string m_log;
    std::string m_skipped;
    std::string m_failure;
    bool m_mounted = false;
};

} // namespace quorvane::test
