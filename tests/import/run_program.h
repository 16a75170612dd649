#pragma once
// Runs orvane-import as a person would, bounded in time, and keeps what it
// printed.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace orvane::import::testing {

struct ProgramRun {
    int status = -1;
    std::string out, err;
};

inline std::string quoted(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

inline std::string slurp(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

inline ProgramRun runImportProgram(const std::vector<std::string>& arguments, const std::filesystem::path& scratch) {
    std::string command = "timeout 120 " + quoted(ORVANE_BINARY_DIR "/import/orvane-import");
    for (const std::string& a : arguments) command += " " + quoted(a);
    auto out = scratch / "stdout.txt", err = scratch / "stderr.txt";
    command += " >" + quoted(out.string()) + " 2>" + quoted(err.string()) + " </dev/null";
    int raw = std::system(command.c_str());
    ProgramRun run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = slurp(out);
    run.err = slurp(err);
    return run;
}

/// Names in a directory (recursively), sorted, with each file's bytes.
inline std::vector<std::pair<std::string, std::string>> snapshot(const std::filesystem::path& dir) {
    std::vector<std::pair<std::string, std::string>> files;
    for (const auto& e : std::filesystem::recursive_directory_iterator(dir))
        files.emplace_back(std::filesystem::relative(e.path(), dir).string(),
                           e.is_regular_file() ? slurp(e.path()) : std::string("<dir>"));
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace orvane::import::testing
