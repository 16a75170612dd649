#pragma once
// Runs a write in a child process under a file-size limit, the way a full
// disk makes it fail, and reports what the write returned.

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <functional>
#include <optional>

namespace orvane {

/// The result of `write` in a child whose files may not exceed `limitBytes`;
/// nullopt when the child did not finish normally.
inline std::optional<bool> resultUnderFileSizeLimit(const std::function<bool()>& write,
                                                    rlim_t limitBytes) {
    pid_t child = fork();
    if (child < 0) return std::nullopt;
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{limitBytes, limitBytes};
        setrlimit(RLIMIT_FSIZE, &limit);
        _exit(write() ? 0 : 1);
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) return std::nullopt;
    return WEXITSTATUS(status) == 0;
}

}  // namespace orvane
