#include "import/fetch.h"

#include <curl/curl.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <thread>
#include <stdlib.h>

#include "data/station.h"
#include "import/metadata.h"
#include "import/time_text.h"

namespace orvane::import {

namespace fs = std::filesystem;

namespace {

struct Transfer {
    std::string* body;
    std::size_t limit;
    bool tooLarge = false;
    const ByteProgress* progress;
    const std::string* url;
    const std::atomic<bool>* cancel;
};

size_t onData(char* data, size_t size, size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    std::size_t n = size * count;
    if (t->body->size() + n > t->limit) {
        t->tooLarge = true;
        return 0;
    }
    t->body->append(data, n);
    if (*t->progress) (*t->progress)(*t->url, t->body->size());
    return n;
}

int onProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    auto* t = static_cast<Transfer*>(user);
    return t->cancel && t->cancel->load() ? 1 : 0;
}

bool worthRetrying(const HttpAnswer& a) {
    return a.status == 0 || a.status == 429 || a.status == 500 || a.status == 502 || a.status == 503 ||
           a.status == 504;
}

std::string serviceUrl(const std::string& own, const std::string& base, const char* name) {
    std::string root = own.empty() ? base : own;
    while (!root.empty() && root.back() == '/') root.pop_back();
    // A base given down to the service ("…/fdsnws/event/1") is taken as is.
    if (root.find("/fdsnws/") != std::string::npos) return root + "/query?";
    return root + "/fdsnws/" + name + "/1/query?";
}

// Sleeps in small steps so an interruption is not kept waiting.
bool pause(double seconds, const std::atomic<bool>* cancel) {
    auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end) {
        if (cancel && cancel->load()) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

struct CurlGlobal {
    CurlGlobal() { curl_global_init(CURL_GLOBAL_DEFAULT); }
    ~CurlGlobal() { curl_global_cleanup(); }
};

}  // namespace

std::string urlEncode(const std::string& text) {
    static const char* kHex = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        if (std::isalnum(c) || c == '-' || c == '_' || c == '.' || c == '~' || c == '*' || c == '?' || c == ',' ||
            c == ':') {
            out.push_back(static_cast<char>(c));
        } else {
            out.push_back('%');
            out.push_back(kHex[c >> 4]);
            out.push_back(kHex[c & 15]);
        }
    }
    return out;
}

HttpAnswer httpGet(const std::string& url, const FetchOptions& options, const ByteProgress& progress,
                   const std::atomic<bool>* cancel) {
    static CurlGlobal global;
    HttpAnswer answer;
    double delay = options.retryDelay;
    for (int attempt = 1; attempt <= std::max(1, options.retries); ++attempt) {
        answer = {};
        CURL* curl = curl_easy_init();
        if (!curl) {
            answer.failure = "cannot start a transfer";
            return answer;
        }
        Transfer t{&answer.body, options.maxBytes, false, &progress, &url, cancel};
        char message[CURL_ERROR_SIZE] = {};
        curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
        curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, onData);
        curl_easy_setopt(curl, CURLOPT_WRITEDATA, &t);
        curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, onProgress);
        curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &t);
        curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
        curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, message);
        curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
        curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 5L);
        curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
        curl_easy_setopt(curl, CURLOPT_USERAGENT, "orvane-import/1.0");
        curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(options.connectTimeout * 1000));
        curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
        curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, std::max(1L, static_cast<long>(options.stallTimeout)));
        curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
        CURLcode code = curl_easy_perform(curl);
        if (code == CURLE_OK) {
            curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &answer.status);
        } else if (t.tooLarge) {
            answer.failure = "the answer is larger than " + std::to_string(options.maxBytes >> 20) + " MiB";
        } else if (code == CURLE_ABORTED_BY_CALLBACK) {
            answer.failure = "interrupted";
        } else {
            answer.failure = message[0] ? message : curl_easy_strerror(code);
        }
        curl_easy_cleanup(curl);
        if (t.tooLarge || (cancel && cancel->load())) return answer;
        if (!worthRetrying(answer) || attempt == std::max(1, options.retries)) break;
        if (!pause(delay, cancel)) {
            answer.failure = "interrupted";
            answer.status = 0;
            return answer;
        }
        delay *= 2;
    }
    return answer;
}

std::string describeFailure(const std::string& what, const HttpAnswer& a) {
    std::string firstLine = a.body.substr(0, std::min(a.body.find('\n'), std::size_t{200}));
    std::string detail = firstLine.empty() ? std::string() : " (" + firstLine + ")";
    switch (a.status) {
        case 0: return what + ": " + a.failure;
        case 204: return what + ": the data centre has no data for this request";
        case 400: return what + ": the data centre refused the request as malformed" + detail;
        case 401:
        case 403: return what + ": the data centre does not allow this request (HTTP " + std::to_string(a.status) + ")";
        case 404: return what + ": not found at the data centre (HTTP 404)" + detail;
        case 413: return what + ": the request is too large for the data centre; ask for fewer stations or less time";
        case 414: return what + ": the request's address is too long for the data centre";
        case 429: return what + ": the data centre asks to wait (too many requests); try again later";
        case 500:
        case 502:
        case 503:
        case 504:
            return what + ": the data centre failed (HTTP " + std::to_string(a.status) + "); try again later";
        default: return what + ": unexpected answer HTTP " + std::to_string(a.status) + detail;
    }
}

bool runFetch(const FetchOptions& fetch, const ImportOptions& import, ImportReport& report, std::string& error,
              const Progress& progress, const ByteProgress& bytes, const std::atomic<bool>* cancel) {
    auto say = [&](const std::string& what, std::size_t done, std::size_t total) {
        if (progress) progress(what, done, total);
    };
    std::error_code ec;
    fs::path workdir = import.workdir.empty() ? fs::path(".") : fs::path(import.workdir);
    if (!fs::is_directory(workdir, ec)) {
        error = "the working directory " + workdir.string() + " does not exist";
        return false;
    }

    // 1. The event.
    std::string url = serviceUrl(fetch.eventService, fetch.service, "event");
    if (!fetch.eventId.empty()) {
        url += "eventid=" + urlEncode(fetch.eventId) + "&format=text";
    } else if (!fetch.startTime.empty()) {
        auto start = parseIsoTime(fetch.startTime);
        auto end = parseIsoTime(fetch.endTime.empty() ? isoTime(std::floor(std::chrono::duration<double>(
                                                                     std::chrono::system_clock::now().time_since_epoch())
                                                                     .count()))
                                                      : fetch.endTime);
        if (!start || !end || *end <= *start) {
            error = "the time window needs --start (and --end) as YYYY-MM-DDTHH:MM:SS, the end after the start";
            return false;
        }
        url += "starttime=" + isoTime(*start) + "&endtime=" + isoTime(*end) + "&minmagnitude=" +
               fixed(fetch.minMagnitude, 1) + "&orderby=magnitude&limit=1&format=text";
    } else {
        error = "--fetch needs --event-id ID or --start TIME (with --end and --min-mag)";
        return false;
    }
    say("Asking for the event", 0, 0);
    HttpAnswer answer = httpGet(url, fetch, bytes, cancel);
    if (answer.status != 200) {
        error = describeFailure("event", answer);
        if (answer.status == 204 || answer.status == 404) error = "event: no event found for this request";
        return false;
    }
    std::vector<EventParameters> events = parseEventText(answer.body);
    if (events.empty()) {
        error = "event: the data centre's answer holds no event line";
        return false;
    }
    // The largest, whatever order the catalogue answered in.
    EventParameters event = *std::max_element(events.begin(), events.end(),
                                              [](const auto& a, const auto& b) { return a.magnitude < b.magnitude; });
    if (std::string problem = event.problem(); !problem.empty()) {
        error = "event: " + problem;
        return false;
    }
    say("Event " + event.name + ", M " + fixed(event.magnitude, 1) + ", " + isoTime(event.origin, 1), 0, 0);

    // Downloads are kept apart until the import has placed its result.
    std::string pattern = (workdir / ".orvane-fetch-XXXXXX").string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (!::mkdtemp(name.data())) {
        error = "cannot create a temporary directory in " + workdir.string();
        return false;
    }
    fs::path scratch = name.data();
    struct Remove {
        fs::path path;
        ~Remove() {
            std::error_code e;
            fs::remove_all(path, e);
        }
    } remover{scratch};

    auto save = [&](const fs::path& path, const std::string& content) {
        std::ofstream out(path, std::ios::binary);
        out << content;
        out.close();
        if (!out) error = "cannot write " + path.string();
        return static_cast<bool>(out);
    };

    // 2. The stations, with their channels, operating at the origin.
    const int limit = timeLimitFor(fetch.maxDistance);
    const double start = event.origin - 60, end = event.origin + limit;
    std::string where = "network=" + urlEncode(fetch.networks) + "&channel=" + urlEncode(fetch.channels) +
                        "&latitude=" + fixed(event.latitude, 4) + "&longitude=" + fixed(event.longitude, 4) +
                        "&minradius=" + fixed(fetch.minDistance, 2) + "&maxradius=" + fixed(fetch.maxDistance, 2) +
                        "&starttime=" + isoTime(start) + "&endtime=" + isoTime(end);
    say("Asking for the stations", 0, 0);
    std::string stationUrl = serviceUrl(fetch.stationService, fetch.service, "station");
    answer = httpGet(stationUrl + where + "&level=channel&format=text", fetch, bytes, cancel);
    if (answer.status != 200) {
        error = describeFailure("stations", answer);
        if (answer.status == 204 || answer.status == 404) error = "stations: no station of " + fetch.networks +
                                                                  " with " + fetch.channels + " channels in range";
        return false;
    }
    fs::path channelsFile = scratch / "channels.txt";
    if (!save(channelsFile, answer.body)) return false;
    std::vector<std::string> metadataFiles{channelsFile.string()};
    // Station names for the descriptions; the import does without them.
    HttpAnswer names = httpGet(stationUrl + where + "&level=station&format=text", fetch, bytes, cancel);
    if (names.status == 200 && save(scratch / "stations.txt", names.body))
        metadataFiles.push_back((scratch / "stations.txt").string());

    Metadata metadata;
    if (!parseStationText(answer.body, metadata, "stations") || metadata.channels.empty()) {
        error = "stations: the data centre's answer holds no channel lines";
        return false;
    }
    // Stations as the import will see them, to fetch in the order worth showing.
    std::vector<ImportStation> candidates;
    std::map<std::pair<std::string, std::string>, std::size_t> index;
    for (const ChannelMetadata& c : metadata.channels) {
        auto key = std::make_pair(c.id.network, c.id.station);
        auto [it, fresh] = index.emplace(key, candidates.size());
        if (fresh) {
            ImportStation s;
            s.network = c.id.network;
            s.station = c.id.station;
            s.latitude = c.latitude;
            s.longitude = c.longitude;
            GreatCircle arc = greatCircle(static_cast<float>(event.latitude), static_cast<float>(event.longitude),
                                          static_cast<float>(c.latitude), static_cast<float>(c.longitude));
            s.distance = arc.arc;
            s.azimuth = arc.backAzimuth;
            candidates.push_back(s);
        }
        ImportStation& s = candidates[it->second];
        char letter = std::fabs(c.dip) >= 85 ? 'Z' : s.has('N') ? 'E' : 'N';
        if (!s.has(letter)) s.components.push_back(Component{letter, c.id.channel, 0, 0, {}, {}});
    }
    std::vector<std::size_t> order;
    const StationChoice& choice = import.stations;
    std::size_t wanted = candidates.size();
    if (choice.kind == StationChoice::Kind::Spread) {
        order = spreadOrder(candidates);
        wanted = std::min(choice.count, candidates.size());
    } else if (choice.kind == StationChoice::Kind::All) {
        for (std::size_t i = 0; i < candidates.size(); ++i) order.push_back(i);
    } else {
        if (!chooseStations(candidates, choice, order, error)) return false;
        wanted = order.size();
    }

    // 3. The waveforms, station by station, until enough have data.
    std::string dataUrl = serviceUrl(fetch.dataselectService, fetch.service, "dataselect");
    std::size_t got = 0, tried = 0;
    std::vector<std::string> notes;
    for (std::size_t i : order) {
        if (got >= wanted) break;
        const ImportStation& s = candidates[i];
        std::string label = s.network + "." + s.station;
        say("Station " + std::to_string(got + 1) + " of " + std::to_string(wanted) + ": " + label, got, wanted);
        ++tried;
        HttpAnswer data = httpGet(dataUrl + "network=" + urlEncode(s.network) + "&station=" + urlEncode(s.station) +
                                      "&location=*&channel=" + urlEncode(fetch.channels) + "&starttime=" +
                                      isoTime(start) + "&endtime=" + isoTime(end),
                                  fetch, bytes, cancel);
        if (cancel && cancel->load()) {
            error = "interrupted";
            return false;
        }
        if (data.status != 200 || data.body.empty()) {
            notes.push_back(describeFailure(label, data));
            continue;
        }
        if (!save(scratch / (label + ".mseed"), data.body)) return false;
        ++got;
    }
    if (got == 0) {
        error = "waveforms: no station had data (" + std::to_string(tried) + " asked)";
        if (!notes.empty()) error += "; " + notes.front();
        return false;
    }

    // 4. The import proper, from the scratch directory.
    ImportOptions options = import;
    options.event = event;
    options.quakemlFile.clear();
    options.eventTextFile.clear();
    options.metadataFiles = metadataFiles;
    options.inputs.clear();
    for (const auto& entry : fs::directory_iterator(scratch, ec))
        if (entry.path().extension() == ".mseed") options.inputs.push_back(entry.path().string());
    std::sort(options.inputs.begin(), options.inputs.end());
    // Only stations with data were fetched; the spread choice was made above.
    if (options.stations.kind == StationChoice::Kind::Spread) options.stations.kind = StationChoice::Kind::All;
    bool ok = runImport(options, report, error, progress, cancel);
    report.notes.insert(report.notes.begin(), notes.begin(), notes.end());
    return ok;
}

}  // namespace orvane::import
