#include "model/table_writers.h"

#include <algorithm>
#include <cmath>
#include <charconv>

namespace orvane {

namespace {

void putU16(std::string& out, std::uint16_t v) {
    out.push_back(static_cast<char>(v & 0xff));
    out.push_back(static_cast<char>(v >> 8));
}

void putI32(std::string& out, std::int32_t v) {
    auto u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((u >> (8 * i)) & 0xff));
}

void putHeader(std::string& out, const std::string& name, std::uint16_t waveType, int time,
               std::size_t count) {
    char field[12] = {};
    std::copy_n(name.data(), std::min<std::size_t>(name.size(), 11), field);
    out.append(field, sizeof field);
    putU16(out, waveType);
    putU16(out, static_cast<std::uint16_t>(std::clamp(time, 0, 32767)));
    putU16(out, static_cast<std::uint16_t>(count));
    putU16(out, 0);
}

}  // namespace

std::string formatTravelTimeTable(const std::vector<std::vector<double>>& columns) {
    std::string out;
    std::size_t rows = columns.empty() ? 0 : columns.front().size();
    // "%5zu" and "%7.1f" in the "C" locale whatever the process's locale:
    // readers take a "." only.
    auto put = [&out](std::to_chars_result r, char* cell, std::size_t width) {
        std::size_t n = r.ec == std::errc() ? static_cast<std::size_t>(r.ptr - cell) : 0;
        if (n < width) out.append(width - n, ' ');
        out.append(cell, n);
    };
    char cell[400];
    for (std::size_t d = 0; d < rows; ++d) {
        put(std::to_chars(cell, cell + sizeof cell, d), cell, 5);
        for (const auto& column : columns) {
            double v = d < column.size() && std::isfinite(column[d]) ? column[d] : 0.0;
            put(std::to_chars(cell, cell + sizeof cell, v, std::chars_format::fixed, 1), cell, 7);
        }
        out += '\n';
    }
    return out;
}

EncodedWavefronts encodeWavefronts(const std::vector<WavefrontStep>& steps) {
    EncodedWavefronts out;
    for (const WavefrontStep& step : steps) {
        putI32(out.index, static_cast<std::int32_t>(out.data.size()));
        bool any = false;
        for (const FrontRecord& record : step.records) {
            // The count field is 16 bits; longer fronts are cut into records.
            std::size_t begin = 0;
            do {
                std::size_t count = std::min<std::size_t>(record.points.size() - begin, 65535);
                putHeader(out.data, record.phase, record.waveType, step.time, count);
                for (std::size_t i = begin; i < begin + count; ++i) {
                    putU16(out.data, static_cast<std::uint16_t>(record.points[i].along));
                    putU16(out.data, static_cast<std::uint16_t>(record.points[i].across));
                }
                begin += count;
                any = true;
            } while (begin < record.points.size());
        }
        if (!any) putHeader(out.data, "P", kWaveTypeP, step.time, 0);
    }
    return out;
}

}  // namespace orvane
