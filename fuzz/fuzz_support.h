#pragma once
// What every fuzz target shares: a scratch directory of its own (the readers
// take file names, so each input is written to a file first), a way to cut
// one input into several files, and a check that stops the run with a
// message when a reader breaks a promise without crashing.

#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace orvane::fuzz {

/// A directory for this process, removed when it ends; the process works in it.
inline const std::filesystem::path& scratch() {
    static const std::filesystem::path dir = [] {
        // Memory-backed when the machine has it: the writers under test sync
        // every file they replace.
        std::error_code ec;
        std::filesystem::path base = std::filesystem::is_directory("/dev/shm", ec) && ::access("/dev/shm", W_OK) == 0
                                         ? std::filesystem::path("/dev/shm")
                                         : std::filesystem::temp_directory_path();
        std::string pattern = (base / "orvane-fuzz-XXXXXX").string();
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        if (!::mkdtemp(name.data())) std::abort();
        std::filesystem::path made(name.data());
        std::filesystem::current_path(made);
        static const std::filesystem::path removed = made;
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(removed, ec);
        });
        return made;
    }();
    return dir;
}

/// Writes `bytes` to `name` inside the scratch directory; returns its path.
inline std::string put(const std::string& name, std::string_view bytes) {
    std::filesystem::path path = scratch() / name;
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path.string();
}

inline std::string_view view(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

/// Stops the run when a promise of the reader does not hold.
#define FUZZ_CHECK(condition)                                                      \
    do {                                                                           \
        if (!(condition)) {                                                        \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, \
                         #condition);                                              \
            std::abort();                                                          \
        }                                                                          \
    } while (0)

/// One file of a bundle: a name and its bytes.
struct Part {
    std::string name;
    std::string_view bytes;
};

/// Cuts an input into files. The bytes before the first "@@FILE NAME\n"
/// line are the first part (named `firstName`); each marker line starts a
/// further part named NAME. Names keep only letters, digits, "." and "_"
/// and at most 15 characters, so every part lands inside the scratch
/// directory.
inline std::vector<Part> splitBundle(std::string_view input, const std::string& firstName) {
    static constexpr std::string_view kMarker = "@@FILE ";
    std::vector<Part> parts;
    std::string name = firstName;
    while (true) {
        std::size_t at = input.find(kMarker);
        parts.push_back({name, input.substr(0, at)});
        if (at == std::string_view::npos) break;
        input.remove_prefix(at + kMarker.size());
        std::size_t end = input.find('\n');
        std::string_view raw = input.substr(0, end);
        name.clear();
        for (char c : raw) {
            bool keep = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                        c == '.' || c == '_';
            if (keep && name.size() < 15) name.push_back(c);
        }
        if (name.empty() || name == "." || name == "..") name = "_";
        input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
    }
    return parts;
}

}  // namespace orvane::fuzz
