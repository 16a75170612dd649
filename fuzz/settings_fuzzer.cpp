// The settings file "OV.INI": any bytes read into the record, which must stay
// within its field widths, keep its phase choices exclusive, and write a file
// that reads back to the same text.
#include <cmath>

#include "data/settings.h"
#include "fuzz/fuzz_support.h"

using namespace orvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = fuzz::put("OV.INI", fuzz::view(data, size));
    Settings s;
    s.read(path);

    FUZZ_CHECK(s.workingDirectory.size() <= Settings::kWorkingDirectoryWidth);
    FUZZ_CHECK(s.tutorialEvent.size() <= Settings::kTutorialEventWidth);
    FUZZ_CHECK(s.exitLabel.size() <= Settings::kExitLabelWidth);
    FUZZ_CHECK(s.audio >= 0 && s.audio <= 3);
    FUZZ_CHECK(s.view >= 0 && s.view <= 2);
    FUZZ_CHECK(s.buttonHeight > 0 && std::isfinite(s.buttonHeight));
    FUZZ_CHECK(int(s.allPhasesOnCrossSection) + s.pPhasesOnCrossSection + s.sPhasesOnCrossSection <= 1);
    FUZZ_CHECK(s.tutorialSaved == s.tutorial);
    for (const std::string& phase : s.phases) FUZZ_CHECK(!phase.empty() && phase.size() <= 80);

    // What is written reads back as the same record.
    const std::string text = s.text();
    FUZZ_CHECK(s.write(path));
    Settings again;
    again.read(path);
    FUZZ_CHECK(again.text() == text);
    return 0;
}
