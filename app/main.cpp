// The viewer, orvane.
#include "app/my_app.h"
#include "data/command_line.h"

namespace {

const orvane::ProgramInfo kProgram{
    "orvane", "[--user-data]",
    "Shows how the waves of an earthquake travel through and around the Earth: a globe, a cross-section\n"
    "of the Earth and the seismograms of the stations, animated together. Reads OV.INI, the event files\n"
    "and everything else from the current directory.",
    {{"--user-data", "start in $XDG_DATA_HOME/orvane, made with the demonstration data at first"}}};

}  // namespace

int main(int argc, char** argv) {
    const orvane::CommandLine line = orvane::readCommandLine(kProgram, argc, argv);
    if (line.exit) return line.status;
    return orvane::runViewer(argc, argv, line.has("--user-data"));
}
