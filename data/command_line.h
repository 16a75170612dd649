#pragma once
// The command line every program reads the same way: --help and --version
// print to standard output and end the program with status 0 before any
// window exists; an unknown option or a wrong number of operands prints a
// usage line to standard error and ends it with status 2.

#include <cstddef>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

/// A flag a program accepts besides --help and --version.
struct ProgramOption {
    std::string_view name;  ///< "--user-data"
    std::string_view help;  ///< one line for --help
};

struct ProgramInfo {
    std::string_view name;      ///< "orvane"
    std::string_view synopsis;  ///< what follows the name in the usage line
    std::string_view summary;   ///< what the program does, for --help
    std::vector<ProgramOption> options;
    std::size_t minOperands = 0;
    std::size_t maxOperands = 0;
};

/// No limit on the number of operands.
inline constexpr std::size_t kAnyOperands = static_cast<std::size_t>(-1);

struct CommandLine {
    bool exit = false;  ///< end the program now with `status`
    int status = 0;
    std::vector<std::string> options;  ///< the program options given, by name
    std::vector<std::string> operands;

    bool has(std::string_view option) const;
};

/// The version of the Orvane programs, "0.1.0".
std::string_view programVersion();

/// Reads the arguments after argv[0]. "--" ends the options; "-" alone is an
/// operand.
CommandLine readCommandLine(const ProgramInfo& info, int argc, const char* const* argv, std::ostream& out,
                            std::ostream& err);
/// The same on the standard streams.
CommandLine readCommandLine(const ProgramInfo& info, int argc, const char* const* argv);

/// Prints "NAME: message" and the usage line to `err`; returns 2, the status
/// of a usage error.
int usageError(const ProgramInfo& info, std::string_view message, std::ostream& err);
int usageError(const ProgramInfo& info, std::string_view message);

}  // namespace orvane
