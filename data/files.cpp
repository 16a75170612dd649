#include "data/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace orvane {

namespace {

// ASCII only: in a Latin-1 locale tolower would also change the bytes of
// UTF-8 characters.
unsigned char lower(char c) {
    auto u = static_cast<unsigned char>(c);
    return u >= 'A' && u <= 'Z' ? static_cast<unsigned char>(u - 'A' + 'a') : u;
}

// The entry of `directory` named `name` without regard to case, if exactly
// one such entry exists (several would make the choice arbitrary).
std::optional<std::string> findEntryNoCase(const fs::path& directory, const std::string& name) {
    std::error_code ec;
    fs::directory_iterator it(directory.empty() ? fs::path(".") : directory, ec);
    if (ec) return std::nullopt;
    std::optional<std::string> found;
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec) break;
        std::string entry = it->path().filename().string();
        if (equalsNoCase(entry, name)) {
            if (found) return std::nullopt;
            found = entry;
        }
    }
    return found;
}

}  // namespace

bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

bool lessNoCase(std::string_view a, std::string_view b) {
    std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        unsigned char x = lower(a[i]), y = lower(b[i]);
        if (x != y) return x < y;
    }
    if (a.size() != b.size()) return a.size() < b.size();
    return a < b;
}

char toUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

std::string toUpper(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = toUpper(c);
    return out;
}

std::string resolvePath(const std::string& path) {
    if (path.empty()) return path;
    std::error_code ec;
    if (fs::exists(fs::symlink_status(path, ec))) return path;

    fs::path input(path);
    fs::path resolved;
    bool first = true;
    for (const fs::path& part : input) {
        std::string name = part.string();
        fs::path candidate = first ? part : resolved / part;
        first = false;
        if (name.empty() || name == "/" || name == "." || name == ".." ||
            fs::exists(fs::symlink_status(candidate, ec))) {
            resolved = candidate;
            continue;
        }
        auto match = findEntryNoCase(resolved, name);
        if (!match) return path;
        resolved = resolved.empty() ? fs::path(*match) : resolved / *match;
    }
    return resolved.string();
}

std::FILE* openFile(const std::string& path, const char* mode) {
    std::string real = resolvePath(path);
    std::error_code ec;
    if (fs::is_directory(real, ec)) return nullptr;
    return std::fopen(real.c_str(), mode);
}

bool wildcardMatch(std::string_view pattern, std::string_view name) {
    // Iterative matcher with one back-track point: linear in practice and no
    // recursion on hostile patterns.
    std::size_t p = 0, n = 0, star = std::string_view::npos, mark = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || lower(pattern[p]) == lower(name[n]))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            mark = n;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            n = ++mark;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

std::optional<std::vector<std::string>> listDirectory(const std::string& directory,
                                                      std::string_view pattern) {
    std::string real = directory.empty() ? std::string(".") : resolvePath(directory);
    std::error_code ec;
    fs::directory_iterator it(real, ec);
    if (ec) return std::nullopt;
    std::vector<std::string> names;
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec) return std::nullopt;
        std::string name = it->path().filename().string();
        if (name == "." || name == "..") continue;
        if (wildcardMatch(pattern, name)) names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return lessNoCase(a, b); });
    return names;
}

bool readLinePiece(std::FILE* file, std::string& piece, std::size_t maxChars) {
    piece.clear();
    if (!file) return false;
    bool any = false;
    bool cut = false;
    for (std::size_t count = 0; count < maxChars; ++count) {
        int c = std::getc(file);
        if (c == EOF) break;
        any = true;
        if (c == '\0') cut = true;
        else if (!cut) piece.push_back(static_cast<char>(c));
        if (c == '\n') break;
    }
    return any;
}

bool writeFileAtomically(const std::string& path, std::string_view content, bool exactName) {
    std::string target = exactName ? path : resolvePath(path);
    fs::path targetPath(target);
    fs::path dir = targetPath.parent_path();
    std::string pattern =
        (dir.empty() ? std::string() : dir.string() + "/") + "." +
        targetPath.filename().string() + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    int fd = ::mkstemp(name.data());
    if (fd < 0) return false;

    // Keep the permissions of the file being replaced, else the usual ones.
    struct stat old {};
    mode_t mode;
    if (::stat(target.c_str(), &old) == 0) {
        mode = old.st_mode & 07777;
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    bool ok = ::fchmod(fd, mode) == 0;

    const char* data = content.data();
    std::size_t left = content.size();
    while (ok && left > 0) {
        ssize_t n = ::write(fd, data, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            ok = false;
            break;
        }
        data += n;
        left -= static_cast<std::size_t>(n);
    }
    if (ok && ::fsync(fd) != 0) ok = false;
    if (::close(fd) != 0) ok = false;
    if (ok && ::rename(name.data(), target.c_str()) != 0) ok = false;
    if (!ok) ::unlink(name.data());
    return ok;
}

std::string joinPath(std::string_view directory, std::string_view name) {
    if (directory.empty()) return std::string(name);
    std::string out(directory);
    if (out.back() != '/') out.push_back('/');
    out.append(name);
    return out;
}

}  // namespace orvane
