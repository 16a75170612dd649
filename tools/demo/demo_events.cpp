#include "tools/demo/demo_events.h"

#include <array>
#include <cmath>

namespace orvane {
namespace {

constexpr std::array kEvents{
    DemoEvent{"Deep Bolivia", 1994, 6, 9, 0, 33, 16.2, -13.841, -67.553, 631.3, 8.2,
              "On 9 June 1994 one of the largest deep earthquakes ever recorded broke 631 km below northern Bolivia, "
              "inside the Nazca plate that sinks beneath South America. It was felt as far away as Canada, "
              "yet it did almost no damage: by the time its waves reached the surface they had travelled "
              "more than 600 km through the mantle.",
              "A deep focus makes very clean seismograms. There are almost no surface waves, because the "
              "energy starts far below the surface. Look instead for the depth phase pP: the P wave that "
              "went up first, bounced off the surface above the focus and follows the direct P more than "
              "two minutes later."},
    DemoEvent{"Sumatra-Andaman", 2004, 12, 26, 0, 58, 53.5, 3.295, 95.982, 30.0, 9.1,
              "On 26 December 2004 the Indian plate slipped beneath the Burma microplate along a fault "
              "about 1300 km long, from northern Sumatra to the Andaman Islands. The rupture lasted about "
              "eight to ten minutes. The sea floor was lifted by several metres and the tsunami that followed "
              "killed about 230,000 people around the Indian Ocean.",
              "This is one of the largest earthquakes ever recorded. Watch the surface waves: they are "
              "the largest waves on every seismogram, and they travel around the whole Earth."},
    DemoEvent{"Maule, Chile", 2010, 2, 27, 6, 34, 11.5, -36.122, -72.898, 22.9, 8.8,
              "On 27 February 2010 the Nazca plate slipped beneath South America along about 500 km of "
              "the coast of central Chile. Strong shaking lasted about three minutes and a tsunami struck "
              "the coast. Chile's strict building codes kept the damage far smaller than the size of the "
              "earthquake suggests.",
              "The stations lie mostly to the north and east. Compare a station in North America with "
              "one in Asia, on the other side of the Earth: the far one lies in the core shadow, where "
              "the direct P wave fades and the first clear arrival is PKP, which crossed the core."},
    DemoEvent{"Tohoku, Japan", 2011, 3, 11, 5, 46, 24.1, 38.297, 142.373, 29.0, 9.1,
              "On 11 March 2011 the Pacific plate slipped by up to 50 metres beneath northern Japan, off "
              "the coast of Tohoku. It was the largest earthquake ever recorded in Japan. The tsunami "
              "reached heights of almost 40 metres, flooded hundreds of square kilometres of coast and "
              "damaged the Fukushima Daiichi nuclear power plant.",
              "A shallow, great earthquake: the P and S waves are clear on every seismogram, and the "
              "surface waves that follow are the largest waves of all. The tutorial walks through this "
              "event step by step."},
    DemoEvent{"Gorkha, Nepal", 2015, 4, 25, 6, 11, 26.0, 28.231, 84.731, 8.2, 7.8,
              "On 25 April 2015 the Indian plate slipped beneath Asia under central Nepal, on the fault "
              "that is slowly building the Himalaya. About 9,000 people died, many in Kathmandu and in "
              "mountain villages cut off by landslides.",
              "A very shallow earthquake (about 8 km deep). Shallow earthquakes make strong surface "
              "waves; compare them with the deep Bolivia earthquake, which has almost none."},
    DemoEvent{"Chiapas, Mexico", 2017, 9, 8, 4, 49, 19.2, 15.022, -93.899, 47.4, 8.2,
              "On 8 September 2017 an earthquake broke inside the Cocos plate, off the coast of Chiapas in "
              "southern Mexico, where the plate bends as it sinks beneath North America. It was the "
              "strongest earthquake in Mexico for a century.",
              "Many stations in North America are close to this event. Near stations record P, S and "
              "surface waves close together; far ones record them minutes apart."},
    DemoEvent{"Kahramanmaras, Turkey", 2023, 2, 6, 1, 17, 34.9, 37.226, 37.014, 10.0, 7.8,
              "On 6 February 2023 the East Anatolian Fault broke over more than 300 km in southern Turkey "
              "and northern Syria. Nine hours later a second earthquake of magnitude 7.5 followed nearby. "
              "More than 50,000 people died.",
              "This fault moves sideways (a strike-slip fault). The stations of Europe and Asia are close; "
              "those of the Americas and the Pacific are far. Compare the time between P and S at a near "
              "station and at a far one: that time tells how far away the earthquake is."},
};

}  // namespace

std::span<const DemoEvent> demoEvents() { return kEvents; }

const DemoEvent& tutorialEvent() { return kEvents[3]; }

Event toEvent(const DemoEvent& event) {
    Event e;
    e.name = std::string(event.name);
    e.latitude = static_cast<float>(event.latitude);
    e.longitude = static_cast<float>(event.longitude);
    e.depth = static_cast<float>(event.depth);
    e.magnitude = static_cast<float>(event.magnitude);
    e.year = event.year;
    e.month = event.month;
    e.day = event.day;
    e.hour = event.hour;
    e.minute = event.minute;
    e.second = static_cast<float>(event.second);
    e.timeAcceleration = 20;
    e.timeWindow = 1800;
    e.viewAngle = facingViewAngle(event.longitude);
    e.refreshTexts();
    return e;
}

int facingViewAngle(double longitude) {
    int angle = static_cast<int>(std::lround(longitude / 45.0)) * 45;
    return ((angle % 360) + 360) % 360;
}

}  // namespace orvane
