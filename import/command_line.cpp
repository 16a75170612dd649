#include "import/command_line.h"

#include <map>

#include "import/time_text.h"

namespace orvane::import {

std::string usage() {
    return "Usage:\n"
           "  orvane-import [--workdir DIR] [--metadata FILE]...\n"
           "                (--origin YYYY-MM-DDTHH:MM:SS[.s] --lat DEG --lon DEG --depth KM --mag M --name TEXT\n"
           "                 | --quakeml FILE | --event-text FILE)\n"
           "                [--stations all|N|STA,STA,...] [--components Z|ZNE] [--decimate]\n"
           "                MSEED_FILE_OR_DIR...\n"
           "  orvane-import --fetch [--workdir DIR] (--event-id ID | --start TIME [--end TIME] [--min-mag M])\n"
           "                [--network NET,NET] [--channel BH?] [--min-distance DEG] [--max-distance DEG]\n"
           "                [--stations all|N|STA,...] [--components Z|ZNE] [--decimate]\n"
           "                [--service URL] [--event-service URL] [--station-service URL]\n"
           "                [--dataselect-service URL] [--retries N] [--timeout SECONDS]\n"
           "\n"
           "Makes an event for the Orvane viewer in the working directory (default: the current\n"
           "one) from miniSEED recordings and their station metadata (FDSN station text or\n"
           "StationXML): the event file YYYYMMDDHH.evt, its directory of SAC files named STA.CHA\n"
           "and the new stations' lines in ZOZERO.STA. Horizontal pairs at other azimuths than\n"
           "north and east are turned to them. By default a dozen stations spread from 10 to\n"
           "170 degrees are shown. --fetch gets event, metadata and waveforms from FDSN web\n"
           "services (default " + FetchOptions{}.service + ").\n"
           "On any error nothing in the working directory changes.\n";
}

bool parseCommandLine(const std::vector<std::string>& arguments, CommandLine& line, std::string& error) {
    EventParameters event;
    std::map<std::string, bool> eventParts;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        if (a == "-h" || a == "--help") {
            line.help = true;
            return true;
        }
        if (a == "--fetch") {
            line.fetchMode = true;
            continue;
        }
        if (a == "--decimate") {
            line.import.decimate = true;
            continue;
        }
        if (a == "--quiet") {
            line.quiet = true;
            continue;
        }
        if (a.size() < 2 || a.compare(0, 2, "--") != 0) {
            line.import.inputs.push_back(a);
            continue;
        }
        if (a == "--") {
            line.import.inputs.insert(line.import.inputs.end(), arguments.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                                      arguments.end());
            break;
        }
        // Every other option takes a value, given as "--name VALUE" or "--name=VALUE".
        std::string name = a, value;
        if (std::size_t eq = a.find('='); eq != std::string::npos) {
            name = a.substr(0, eq);
            value = a.substr(eq + 1);
        } else if (i + 1 < arguments.size()) {
            value = arguments[++i];
        } else {
            error = a + " needs a value";
            return false;
        }
        auto number = [&](double& into) {
            auto v = parseNumber(value);
            if (!v) error = name + ": \"" + value + "\" is not a number";
            else into = *v;
            return v.has_value();
        };
        if (name == "--workdir") line.import.workdir = value;
        else if (name == "--metadata") line.import.metadataFiles.push_back(value);
        else if (name == "--quakeml") line.import.quakemlFile = value;
        else if (name == "--event-text") line.import.eventTextFile = value;
        else if (name == "--origin") {
            auto t = parseIsoTime(value);
            if (!t || value.find('T') == std::string::npos) {
                error = "--origin: \"" + value + "\" is not a time as YYYY-MM-DDTHH:MM:SS[.s]";
                return false;
            }
            event.origin = *t;
            eventParts["origin"] = true;
        } else if (name == "--lat") {
            if (!number(event.latitude)) return false;
            eventParts["lat"] = true;
        } else if (name == "--lon") {
            if (!number(event.longitude)) return false;
            eventParts["lon"] = true;
        } else if (name == "--depth") {
            if (!number(event.depth)) return false;
            eventParts["depth"] = true;
        } else if (name == "--mag") {
            if (!number(event.magnitude)) return false;
            eventParts["mag"] = true;
        } else if (name == "--name") {
            event.name = value;
            eventParts["name"] = true;
        } else if (name == "--stations") {
            if (!parseStationChoice(value, line.import.stations)) {
                error = "--stations: give all, a number above 0, or station codes separated by commas";
                return false;
            }
        } else if (name == "--components") {
            for (char c : value)
                if (c != 'Z' && c != 'N' && c != 'E') {
                    error = "--components: use the letters Z, N and E";
                    return false;
                }
            if (value.empty()) {
                error = "--components: use the letters Z, N and E";
                return false;
            }
            line.import.components = value;
        } else if (name == "--service") line.fetch.service = value;
        else if (name == "--event-service") line.fetch.eventService = value;
        else if (name == "--station-service") line.fetch.stationService = value;
        else if (name == "--dataselect-service") line.fetch.dataselectService = value;
        else if (name == "--event-id") line.fetch.eventId = value;
        else if (name == "--start") line.fetch.startTime = value;
        else if (name == "--end") line.fetch.endTime = value;
        else if (name == "--min-mag") {
            if (!number(line.fetch.minMagnitude)) return false;
        } else if (name == "--network") line.fetch.networks = value;
        else if (name == "--channel") line.fetch.channels = value;
        else if (name == "--min-distance") {
            if (!number(line.fetch.minDistance)) return false;
        } else if (name == "--max-distance") {
            if (!number(line.fetch.maxDistance)) return false;
        } else if (name == "--retries") {
            double r = 0;
            if (!number(r)) return false;
            if (r < 1 || r > 10) {
                error = "--retries: from 1 to 10";
                return false;
            }
            line.fetch.retries = static_cast<int>(r);
        } else if (name == "--retry-delay") {
            if (!number(line.fetch.retryDelay)) return false;
            if (line.fetch.retryDelay < 0 || line.fetch.retryDelay > 600) {
                error = "--retry-delay: from 0 to 600 seconds";
                return false;
            }
        } else if (name == "--timeout") {
            double t = 0;
            if (!number(t)) return false;
            if (t < 1 || t > 3600) {
                error = "--timeout: from 1 to 3600 seconds";
                return false;
            }
            line.fetch.connectTimeout = std::min(t, 60.0);
            line.fetch.stallTimeout = t;
        } else {
            error = "unknown option " + name;
            return false;
        }
    }
    if (!eventParts.empty()) {
        for (const char* part : {"origin", "lat", "lon", "depth", "mag", "name"})
            if (!eventParts.count(part)) {
                error = std::string("the event needs --") + part + " too (or give --quakeml FILE instead)";
                return false;
            }
        line.import.event = event;
    }
    int sources = (line.import.event ? 1 : 0) + (line.import.quakemlFile.empty() ? 0 : 1) +
                  (line.import.eventTextFile.empty() ? 0 : 1);
    if (line.fetchMode) {
        if (sources > 0 || !line.import.inputs.empty() || !line.import.metadataFiles.empty()) {
            error = "--fetch takes the event, metadata and recordings from the data centre; give none of them";
            return false;
        }
        if (line.fetch.eventId.empty() && line.fetch.startTime.empty()) {
            error = "--fetch needs --event-id ID or --start TIME";
            return false;
        }
        if (!(line.fetch.minDistance >= 0 && line.fetch.minDistance < line.fetch.maxDistance &&
              line.fetch.maxDistance <= 180)) {
            error = "the distances must satisfy 0 <= --min-distance < --max-distance <= 180";
            return false;
        }
        return true;
    }
    if (sources != 1) {
        error = sources == 0 ? "no event given: use --origin, --lat, --lon, --depth, --mag and --name, or --quakeml FILE"
                             : "give the event one way only: the event options, --quakeml or --event-text";
        return false;
    }
    if (line.import.metadataFiles.empty()) {
        error = "no station metadata given: use --metadata FILE";
        return false;
    }
    if (line.import.inputs.empty()) {
        error = "no recordings given: name miniSEED files or directories";
        return false;
    }
    return true;
}

}  // namespace orvane::import
