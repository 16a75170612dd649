// The command lines of the four programs, run as a person runs them from a
// terminal without any display; and the reader's edge cases.
#include "data/command_line.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <sstream>

namespace orvane {
namespace {

struct Finished {
    int status = -1;
    std::string out, err;
};

Finished run(const std::string& program, const QStringList& args) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(name);
    process.setProcessEnvironment(env);
    process.start(QString::fromStdString(std::string(ORVANE_BINARY_DIR) + "/" + program), args);
    Finished r;
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit) {
        process.kill();
        process.waitForFinished();
        return r;
    }
    r.status = process.exitCode();
    r.out = process.readAllStandardOutput().toStdString();
    r.err = process.readAllStandardError().toStdString();
    return r;
}

struct Program {
    const char* path;
    const char* name;
};
const Program kPrograms[] = {{"app/orvane", "orvane"},
                             {"maint/orvane-maint", "orvane-maint"},
                             {"tools/orvane-demo", "orvane-demo"},
                             {"tools/orvane-tables", "orvane-tables"}};

TEST(ProgramCommandLineTest, HelpAndVersionPrintToStandardOutputWithoutAnyDisplay) {
    for (const Program& p : kPrograms) {
        SCOPED_TRACE(p.name);
        Finished version = run(p.path, {"--version"});
        EXPECT_EQ(version.status, 0);
        EXPECT_EQ(version.out, std::string(p.name) + " " + std::string(programVersion()) + "\n");
        EXPECT_EQ(version.err, "");

        Finished help = run(p.path, {"--help"});
        EXPECT_EQ(help.status, 0);
        EXPECT_EQ(help.out.rfind(std::string("usage: ") + p.name, 0), 0u) << help.out;
        EXPECT_NE(help.out.find("\n  --version  "), std::string::npos) << help.out;
        EXPECT_EQ(help.err, "");
    }
    EXPECT_NE(run("app/orvane", {"--help"}).out.find("--user-data"), std::string::npos);
    // The importer reads its own command line, and answers --version the same way.
    const Finished importer = run("import/orvane-import", {"--version"});
    EXPECT_EQ(importer.status, 0);
    EXPECT_EQ(importer.out, "orvane-import " + std::string(programVersion()) + "\n");
}

TEST(ProgramCommandLineTest, UnknownOptionsAndStrayArgumentsAreUsageErrors) {
    for (const Program& p : kPrograms) {
        SCOPED_TRACE(p.name);
        Finished bad = run(p.path, {"--colour"});
        EXPECT_EQ(bad.status, 2);
        EXPECT_EQ(bad.out, "");
        EXPECT_EQ(bad.err.rfind(std::string(p.name) + ": unknown option --colour\nusage: " + p.name, 0), 0u)
            << bad.err;
    }
    // The viewer reads no arguments; the tools need their directory.
    EXPECT_EQ(run("app/orvane", {"events"}).status, 2);
    EXPECT_EQ(run("maint/orvane-maint", {"--user-data", "x"}).status, 2);
    EXPECT_EQ(run("tools/orvane-demo", {}).status, 2);
    EXPECT_EQ(run("tools/orvane-tables", {"--preview"}).status, 2);
    EXPECT_EQ(run("tools/orvane-tables", {"out", "60"}).status, 2);
    Finished negative = run("tools/orvane-tables", {"--preview", "out", "--", "-5"});
    EXPECT_EQ(negative.status, 2);
    EXPECT_NE(negative.err.find("not a time in seconds: -5"), std::string::npos) << negative.err;
}

// ------------------------------------------------------------- the reader ---

const ProgramInfo kTool{"tool", "[--fast] DIR", "Does things.", {{"--fast", "quickly"}}, 1, 2};

CommandLine read(std::vector<const char*> args, std::string* out = nullptr, std::string* err = nullptr) {
    args.insert(args.begin(), "tool");
    std::ostringstream o, e;
    CommandLine line = readCommandLine(kTool, static_cast<int>(args.size()), args.data(), o, e);
    if (out) *out = o.str();
    if (err) *err = e.str();
    return line;
}

TEST(CommandLineTest, OptionsOperandsAndTheirEnd) {
    CommandLine line = read({"--fast", "a", "--fast"});
    EXPECT_FALSE(line.exit);
    EXPECT_EQ(line.options, std::vector<std::string>{"--fast"});
    EXPECT_EQ(line.operands, std::vector<std::string>{"a"});

    // After "--" everything is an operand, --help included; "-" always is.
    line = read({"--", "--help", "-"});
    EXPECT_FALSE(line.exit);
    EXPECT_FALSE(line.has("--fast"));
    EXPECT_EQ(line.operands, (std::vector<std::string>{"--help", "-"}));
}

TEST(CommandLineTest, FirstDecisiveArgumentWins) {
    std::string out, err;
    CommandLine line = read({"--bogus", "--help"}, &out, &err);
    EXPECT_TRUE(line.exit);
    EXPECT_EQ(line.status, 2);
    EXPECT_EQ(out, "");
    EXPECT_EQ(err, "tool: unknown option --bogus\nusage: tool [--fast] DIR\nTry 'tool --help' for more information.\n");

    // --help ends reading: what follows is not checked.
    line = read({"--help", "--bogus"}, &out, &err);
    EXPECT_TRUE(line.exit);
    EXPECT_EQ(line.status, 0);
    EXPECT_EQ(err, "");
    EXPECT_EQ(out, "usage: tool [--fast] DIR\n\nDoes things.\n\nOptions:\n"
                   "  --fast     quickly\n  --help     show this help and exit\n"
                   "  --version  show the version and exit\n");

    // Options take no values.
    EXPECT_EQ(read({"--fast=yes", "a"}).status, 2);
    EXPECT_EQ(read({"--version=1"}).status, 2);
}

TEST(CommandLineTest, OperandCountsAreChecked) {
    std::string err;
    CommandLine line = read({"--fast"}, nullptr, &err);
    EXPECT_EQ(line.status, 2);
    EXPECT_EQ(err.rfind("tool: missing operand\n", 0), 0u);
    line = read({"a", "b", "c"}, nullptr, &err);
    EXPECT_EQ(line.status, 2);
    EXPECT_EQ(err.rfind("tool: too many arguments\n", 0), 0u);
    EXPECT_FALSE(read({"a", "b"}).exit);
}

}  // namespace
}  // namespace orvane
