#include "data/command_line.h"

#include <algorithm>
#include <iostream>

// The project's version, given by CMake (cmake/Install.cmake).
#ifndef ORVANE_VERSION
#error "ORVANE_VERSION is not defined"
#endif

namespace orvane {

namespace {

constexpr ProgramOption kHelp{"--help", "show this help and exit"};
constexpr ProgramOption kVersion{"--version", "show the version and exit"};

void printUsage(const ProgramInfo& info, std::ostream& stream) {
    stream << "usage: " << info.name;
    if (!info.synopsis.empty()) stream << ' ' << info.synopsis;
    stream << '\n';
}

void printHelp(const ProgramInfo& info, std::ostream& out) {
    printUsage(info, out);
    out << '\n' << info.summary << "\n\nOptions:\n";
    std::vector<ProgramOption> all = info.options;
    all.push_back(kHelp);
    all.push_back(kVersion);
    std::size_t width = 0;
    for (const ProgramOption& o : all) width = std::max(width, o.name.size());
    for (const ProgramOption& o : all)
        out << "  " << o.name << std::string(width - o.name.size() + 2, ' ') << o.help << '\n';
}

}  // namespace

bool CommandLine::has(std::string_view option) const {
    return std::find(options.begin(), options.end(), option) != options.end();
}

std::string_view programVersion() { return ORVANE_VERSION; }

int usageError(const ProgramInfo& info, std::string_view message, std::ostream& err) {
    err << info.name << ": " << message << '\n';
    printUsage(info, err);
    err << "Try '" << info.name << " --help' for more information.\n";
    return 2;
}

int usageError(const ProgramInfo& info, std::string_view message) { return usageError(info, message, std::cerr); }

CommandLine readCommandLine(const ProgramInfo& info, int argc, const char* const* argv, std::ostream& out,
                            std::ostream& err) {
    CommandLine line;
    auto fail = [&](std::string_view message) {
        line.exit = true;
        line.status = usageError(info, message, err);
        return line;
    };
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i] ? argv[i] : "";
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            line.operands.emplace_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
        } else if (arg == kHelp.name) {
            printHelp(info, out);
            line.exit = true;
            return line;
        } else if (arg == kVersion.name) {
            out << info.name << ' ' << programVersion() << '\n';
            line.exit = true;
            return line;
        } else if (std::any_of(info.options.begin(), info.options.end(),
                               [&](const ProgramOption& o) { return o.name == arg; })) {
            if (!line.has(arg)) line.options.emplace_back(arg);
        } else {
            return fail("unknown option " + std::string(arg));
        }
    }
    if (line.operands.size() < info.minOperands) return fail("missing operand");
    if (line.operands.size() > info.maxOperands)
        return fail(info.maxOperands == 0 ? "unexpected argument " + line.operands.front()
                                          : "too many arguments");
    return line;
}

CommandLine readCommandLine(const ProgramInfo& info, int argc, const char* const* argv) {
    return readCommandLine(info, argc, argv, std::cout, std::cerr);
}

}  // namespace orvane
