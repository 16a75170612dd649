// The station description file "ZOZERO.STA": every line, read in pieces of
// at most 89 characters as event loading reads it, parses into a station
// with a short code, a name of at most 31 characters and finite coordinates.
#include <cmath>

#include "data/files.h"
#include "data/station.h"
#include "fuzz/fuzz_support.h"

using namespace orvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = fuzz::put("ZOZERO.STA", fuzz::view(data, size));
    std::FILE* file = openFile(path, "r");
    FUZZ_CHECK(file);
    std::string piece;
    while (readLinePiece(file, piece, 89)) {
        FUZZ_CHECK(piece.size() <= 89);
        Station station(piece);
        FUZZ_CHECK(station.stationCode.size() <= 7);
        FUZZ_CHECK(station.stationName.size() <= 31);
        FUZZ_CHECK(std::isfinite(station.latitude) && std::isfinite(station.longitude));
        FUZZ_CHECK(station.stationCode.find_first_of(" \t\n") == std::string::npos);
    }
    std::fclose(file);
    return 0;
}
