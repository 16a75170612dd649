#pragma once
// Fetching what an import needs from FDSN web services (event, station,
// dataselect) with libcurl, then importing it. Downloads go to a scratch
// directory beside the working directory that is removed whatever happens.

#include <atomic>
#include <functional>
#include <string>

#include "import/importer.h"

namespace orvane::import {

struct FetchOptions {
    std::string service = "https://service.iris.edu";  ///< base of all three services
    std::string eventService, stationService, dataselectService;  ///< each overrides `service`
    std::string eventId;             ///< the catalogue's id, or else:
    std::string startTime, endTime;  ///< a window in which the largest event is taken
    double minMagnitude = 6.0;
    std::string networks = "IU,II";
    std::string channels = "BH?";
    double minDistance = 10, maxDistance = 170;  ///< degrees
    int retries = 3;               ///< tries of one request
    double retryDelay = 2;         ///< seconds before the first retry, doubled after each
    double connectTimeout = 20;    ///< seconds
    double stallTimeout = 60;      ///< seconds without any byte before a request is given up
    std::size_t maxBytes = 512u << 20;  ///< largest answer taken
};

/// One HTTP answer.
struct HttpAnswer {
    long status = 0;     ///< 0 when no answer came
    std::string body;
    std::string failure;  ///< transfer error when status is 0
};

/// Progress of a transfer: the URL and the bytes received so far.
using ByteProgress = std::function<void(const std::string& url, std::size_t bytes)>;

/// GET with retries for failed connections, dropped transfers and the
/// answers 429, 500, 502, 503 and 504. `cancel` aborts between and within
/// requests.
HttpAnswer httpGet(const std::string& url, const FetchOptions& options, const ByteProgress& progress,
                   const std::atomic<bool>* cancel);

/// A clear sentence for an answer that is not 200.
std::string describeFailure(const std::string& what, const HttpAnswer& answer);

/// Fetches the event, the station metadata and the waveforms and imports
/// them into `import.workdir` (whose own event and metadata fields are not
/// used). On failure nothing is left in the working directory.
bool runFetch(const FetchOptions& fetch, const ImportOptions& import, ImportReport& report, std::string& error,
              const Progress& progress = {}, const ByteProgress& bytes = {},
              const std::atomic<bool>* cancel = nullptr);

/// Percent-encodes a query value.
std::string urlEncode(const std::string& text);

}  // namespace orvane::import
