#pragma once
// The event catalogue: every event file of the working directory, and the
// stations of the event the map shows in its station mode.

#include <string>
#include <vector>

#include "data/event.h"
#include "data/station.h"

namespace orvane {

/// Every "*.evt" file of the current directory in listing order
/// (case-insensitive name order).
extern std::vector<Event> catalogue;

/// The stations of the event shown in the map's station mode.
extern std::vector<Station> stationList;

/// Empties `catalogue` and reads every "*.evt" file of the current directory
/// into it. A file that cannot be read is still listed with the values the
/// event reader leaves (its `fileName` empty).
void scanCatalogue();

/// The events of the "*.evt" files of `directory`, in listing order.
std::vector<Event> readCatalogue(const std::string& directory);

/// Index of the catalogue entry whose file name equals `fileName` without
/// regard to case; -1 when there is none.
int findCatalogueEvent(const std::vector<Event>& events, const std::string& fileName);

}  // namespace orvane
