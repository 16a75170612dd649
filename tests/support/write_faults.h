#pragma once
// The ways a write of the programs fails in the field: the disk fills up
// (a file-size limit), the directory is read-only, or a directory stands
// where the file goes. Each write runs in a child process that meets the
// fault, so the test process itself keeps its limits and privileges.

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <set>
#include <string>

namespace orvane {

enum class WriteFault { DiskFull, ReadOnlyDirectory, DirectoryInPlace };

inline constexpr WriteFault kWriteFaults[] = {WriteFault::DiskFull, WriteFault::ReadOnlyDirectory,
                                              WriteFault::DirectoryInPlace};

inline const char* faultName(WriteFault fault) {
    switch (fault) {
        case WriteFault::DiskFull: return "disk full";
        case WriteFault::ReadOnlyDirectory: return "read-only directory";
        default: return "directory in place of the file";
    }
}

/// What became of a write under a fault.
struct FaultOutcome {
    std::optional<bool> result;  ///< what the write returned; nullopt if the child died
    bool previousIntact = false;  ///< the old file (or the directory) is as it was
    bool nothingElse = false;     ///< no file was left beside it
};

inline std::string slurpFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

/// The write said it failed, kept what was stored and left nothing beside it.
inline void expectFailedCleanly(const FaultOutcome& out) {
    EXPECT_EQ(out.result, false) << "the write did not say it failed (or died)";
    EXPECT_TRUE(out.previousIntact) << "what was stored before is damaged";
    EXPECT_TRUE(out.nothingElse) << "a file was left beside it";
}

/// Puts `previous` at `path` (a directory for DirectoryInPlace), then runs
/// `write` in a child process under `fault` and looks at what is left.
inline FaultOutcome writeUnderFault(WriteFault fault, const std::filesystem::path& path,
                                    const std::string& previous, const std::function<bool()>& write) {
    namespace fs = std::filesystem;
    const fs::path dir = path.parent_path();
    std::error_code ec;
    if (fault == WriteFault::DirectoryInPlace) {
        fs::create_directories(path / "inside", ec);
    } else {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << previous;
    }
    std::set<fs::path> before;
    for (const auto& entry : fs::directory_iterator(dir)) before.insert(entry.path());
    if (fault == WriteFault::ReadOnlyDirectory) {
        // Root ignores permission bits, so the child gives up root first
        // and needs to reach the directory as anybody.
        const fs::path temp = fs::temp_directory_path();
        for (fs::path up = dir.parent_path(); up.string().size() > temp.string().size() &&
                                              up.string().rfind(temp.string(), 0) == 0;
             up = up.parent_path())
            fs::permissions(up, fs::perms::others_exec | fs::perms::others_read, fs::perm_options::add, ec);
        fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                                 fs::perms::others_exec | fs::perms::group_read | fs::perms::group_exec,
                        fs::perm_options::replace, ec);
    }

    FaultOutcome outcome;
    pid_t child = fork();
    if (child == 0) {
        alarm(60);
        if (fault == WriteFault::DiskFull) {
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit limit{32, 32};
            setrlimit(RLIMIT_FSIZE, &limit);
        }
        if (fault == WriteFault::ReadOnlyDirectory && geteuid() == 0) {
            if (setresgid(65534, 65534, 65534) != 0 || setresuid(65534, 65534, 65534) != 0) _exit(3);
        }
        _exit(write() ? 0 : 1);
    }
    int status = 0;
    if (child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) <= 1)
        outcome.result = WEXITSTATUS(status) == 0;
    if (fault == WriteFault::ReadOnlyDirectory)
        fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add, ec);

    if (fault == WriteFault::DirectoryInPlace)
        outcome.previousIntact = fs::is_directory(path / "inside");
    else
        outcome.previousIntact = fs::is_regular_file(path) && slurpFile(path) == previous;
    std::set<fs::path> after;
    for (const auto& entry : fs::directory_iterator(dir)) after.insert(entry.path());
    outcome.nothingElse = after == before;
    return outcome;
}

}  // namespace orvane
