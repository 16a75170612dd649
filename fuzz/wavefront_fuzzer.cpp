// Wavefront tables: an index file and a data file of any bytes, read over
// clocks taken from the input and over every index entry. The table opens
// only with a positive step; each record passed on has its own points, a
// short name and the time of the step it was found in.
#include <cstring>

#include "fuzz/fuzz_support.h"
#include "model/travel_time_table.h"

using namespace orvane;

namespace {

std::uint16_t take16(std::string_view& input) {
    std::uint16_t v = 0;
    if (input.size() >= 2) {
        std::memcpy(&v, input.data(), 2);
        input.remove_prefix(2);
    }
    return v;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Layout of an input: a byte k, k 16-bit clocks, the 16-bit length of
    // the index file, the index file, the data file.
    std::string_view input = fuzz::view(data, size);
    std::vector<int> clocks;
    if (!input.empty()) {
        std::size_t k = static_cast<unsigned char>(input[0]) % 9;
        input.remove_prefix(1);
        for (std::size_t i = 0; i < k; ++i) clocks.push_back(static_cast<std::int16_t>(take16(input)));
    }
    std::size_t indexLength = std::min<std::size_t>(take16(input), input.size());
    fuzz::put("OV0.INX", input.substr(0, indexLength));
    fuzz::put("OV0.BIN", input.substr(indexLength));

    TravelTimeTable table;
    bool loaded = table.loadTravelTimeTables(10.0f);
    FUZZ_CHECK(loaded == table.available());
    if (!loaded) {
        table.readTimeStep(10, {}, [](const WavefrontRecord&) { FUZZ_CHECK(false); });
        return 0;
    }
    FUZZ_CHECK(table.timeStep() > 0);
    FUZZ_CHECK(table.entryCount() >= 1 && table.entryCount() <= 32768);

    for (std::size_t i = 0; i < std::min<std::size_t>(table.entryCount(), 40); ++i)
        clocks.push_back(static_cast<int>(std::min<std::size_t>(i * table.timeStep(), 32767)));
    clocks.push_back(32767);
    clocks.push_back(-32768);

    int wanted = 0;
    for (int t : clocks) {
        bool first = true;
        std::int16_t step = 0;
        table.readTimeStep(
            t, [&wanted](std::string_view name) { return name.size() <= 11 && (++wanted % 3 != 0); },
            [&](const WavefrontRecord& r) {
                FUZZ_CHECK(t >= 1);
                FUZZ_CHECK(r.phaseName.size() <= 11);
                FUZZ_CHECK(!r.points.empty());
                if (first) step = r.stepTime;
                first = false;
                FUZZ_CHECK(r.stepTime == step);
                // Every point is readable.
                long sum = 0;
                for (const WavefrontPoint& p : r.points) sum += p.along + p.across;
                (void)sum;
            });
    }
    return 0;
}
