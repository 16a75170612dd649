#pragma once
// File access shared by every reader and writer: names found without regard
// to case (data is often made on Windows), sorted directory listings, bounded
// line reads and atomic replacement of a file.

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

/// Compares two names without regard to ASCII case.
bool equalsNoCase(std::string_view a, std::string_view b);

/// Orders names without regard to ASCII case (ties broken by the bytes), the
/// order an NTFS listing gives.
bool lessNoCase(std::string_view a, std::string_view b);

/// Upper-cases ASCII letters (other bytes, UTF-8 included, are kept).
std::string toUpper(std::string_view text);
char toUpper(char c);

/// The path of an existing file or directory that matches `path` component by
/// component: the exact name first, else the one entry of that directory whose
/// name matches without regard to case. Returns `path` unchanged when nothing
/// matches (so a writer creates it as given).
std::string resolvePath(const std::string& path);

/// fopen on the resolved path. A directory is never returned as a file.
std::FILE* openFile(const std::string& path, const char* mode);

/// Matches `name` against a pattern with "*" and "?" without regard to case.
bool wildcardMatch(std::string_view pattern, std::string_view name);

/// Names of the entries of `directory` (resolved without regard to case) that
/// match `pattern`, sorted with lessNoCase; "." and ".." are never listed.
/// Returns nullopt when the directory cannot be listed.
std::optional<std::vector<std::string>> listDirectory(const std::string& directory,
                                                      std::string_view pattern = "*");

/// Reads one piece of a text line the way fgets does with a buffer of
/// `maxChars` + 1 bytes: at most `maxChars` characters, ending after a line
/// end. The piece is cut at a NUL byte. Returns false at end of file when
/// nothing was read.
bool readLinePiece(std::FILE* file, std::string& piece, std::size_t maxChars = 79);

/// Replaces the file at `path` with `content`: written to a temporary file in
/// the same directory and renamed over the old one, so a failed write leaves
/// the old file as it was. Returns false on any failure. The name is
/// resolved without regard to case unless `exactName` is set.
bool writeFileAtomically(const std::string& path, std::string_view content, bool exactName = false);

/// Joins a directory and a name with "/" (an empty directory gives the name).
std::string joinPath(std::string_view directory, std::string_view name);

}  // namespace orvane
