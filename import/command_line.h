#pragma once
// The command line of orvane-import.

#include <string>
#include <vector>

#include "import/fetch.h"
#include "import/importer.h"

namespace orvane::import {

struct CommandLine {
    ImportOptions import;
    FetchOptions fetch;
    bool fetchMode = false;
    bool help = false;
    bool quiet = false;
};

/// Parses the arguments (without the program name). False with `error` for
/// an unknown option, a missing or malformed value, or a missing part.
bool parseCommandLine(const std::vector<std::string>& arguments, CommandLine& line, std::string& error);

/// The usage text.
std::string usage();

}  // namespace orvane::import
