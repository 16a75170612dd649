#include "tools/demo/texts.h"

#include <cmath>
#include <cstdio>
#include <sstream>

namespace orvane {
namespace {

std::string format(const char* pattern, double value) {
    char text[64];
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}

const char* const kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                               "July",    "August",   "September", "October", "November", "December"};

std::string latitudeText(double latitude) {
    return format("%.2f", std::fabs(latitude)) + (latitude < 0 ? " degrees south" : " degrees north");
}

std::string longitudeText(double longitude) {
    return format("%.2f", std::fabs(longitude)) + (longitude < 0 ? " degrees west" : " degrees east");
}

// ---------------------------------------------------------------- views ---

constexpr std::string_view kMapEvents = R"(Choose an earthquake

Each grey box on the map is one earthquake. The box stands at the epicentre: the point on the surface right above the place where the rock broke. The box shows the earthquake's name and date.

Touch a box to see where, when and how deep the earthquake was, and how strong (its magnitude). Then press GO to watch its waves travel through the Earth, or Select Stations to choose which recordings you want to see.

The earthquakes here are real. They were chosen because each one teaches something: a great shallow earthquake, a very deep one, earthquakes on the edges of different plates.

<more "MAGNITUDE.INF">)";

constexpr std::string_view kMagnitude = R"(What does magnitude mean?

Magnitude measures the size of an earthquake: how much energy it set free. The scale is logarithmic. One step up in magnitude means about 32 times more energy, so a magnitude 9 earthquake sets free about 1000 times as much energy as a magnitude 7.

The magnitudes shown here are moment magnitudes (Mw). They come from the size of the fault that broke, how far its two sides slipped, and how stiff the rock is. A magnitude 9 earthquake breaks a fault hundreds of kilometres long, and its sides slip by tens of metres.

Depth matters too. Most earthquakes happen in the top 50 km, but where one plate sinks beneath another, earthquakes happen as deep as 700 km.)";

constexpr std::string_view kMapStations = R"(Choose the stations

The blue squares are seismic stations: places where a seismometer records the ground's motion all the time. The star is the earthquake.

Each station records three components: up and down (Z, shown as a dot), north and south (N-S, a vertical bar) and east and west (E-W, a horizontal bar). A red mark means that recording will be shown; a white mark means it will not.

Touch a station to switch its components on or off, for this station alone or for all stations at once. Touch the earthquake star when you are done.

Choose stations at many different distances: near stations record the waves soon after the earthquake, far stations record them many minutes later.)";

constexpr std::string_view k3D = R"(The globe

This view shows the Earth from space. The star marks the epicentre, the small circles mark the seismic stations.

As the clock runs, coloured circles spread from the epicentre over the surface. Each circle shows how far one kind of wave has travelled:

<PRE>
  red     P  - the first, fastest wave, a push-pull (compression) wave
  red     PP - a P wave that bounced once off the surface
  cyan    S  - the slower shear wave, which shakes from side to side
  cyan    SS - an S wave that bounced once off the surface
  yellow  surface waves - slow, large waves that travel along the surface
</PRE>

The P and S circles are waves that travelled through the inside of the Earth. When a circle reaches a station, the station's seismogram shows the arrival.

<more "3D_MORE.INF">)";

constexpr std::string_view k3DMore = R"(Why are the circles not evenly spaced?

Waves travel faster deeper in the Earth, because the rock there is stiffer. A wave that goes to a far station dives deeper and so travels faster on the way. That is why the P circle seems to speed up as it spreads.

Surface waves stay near the surface and travel at about 3.4 to 3.8 km per second, so they fall further and further behind the P and S waves. The yellow band shows that spread: long waves travel faster than short ones (this is called dispersion), so the band grows wider as it travels.

Far from the epicentre, beyond about 103 degrees, the direct P wave fades: the Earth's core bends it away. The P circle then shows the weak wave that is bent around the core.)";

constexpr std::string_view kXS = R"(The cross-section

This view cuts the Earth in half through the earthquake, like slicing an apple. The grey disc is the mantle, the inner circles are the liquid outer core and the solid inner core. The star is the focus: where the rock broke, at the earthquake's depth.

As the clock runs, the wave fronts spread from the focus. Red fronts are P waves (compression), cyan fronts are S waves (shear). Where a front meets a boundary, new fronts are born: reflected waves bounce back, and P waves that enter the core continue as the core wave K.

S waves cannot travel through the liquid outer core. Watch how the S front stops at the core.

<more "XS_MORE.INF">)";

constexpr std::string_view kXSMore = R"(Wave names

Seismologists name a wave after its path, one letter for each part of it:

<PRE>
  P    compression wave in the mantle or crust
  S    shear wave in the mantle or crust
  K    compression wave in the liquid outer core
  I    compression wave in the solid inner core
  c    reflection at the core-mantle boundary (PcP, ScS)
  p, s the first part goes up and bounces off the surface (pP, sS)
  diff the wave creeps along the core-mantle boundary (Pdiff)
</PRE>

So PKP is a P wave that crossed the outer core, PKIKP one that crossed the inner core too, and SKS an S wave that crossed the outer core as a compression wave.

The shadow zone. Between about 103 and 142 degrees from the epicentre the direct P wave does not arrive: the core bends it away, and the waves that cross the core (PKP) come out further away. Only a weak wave enters the shadow: the dashed front Pdiff, diffracted along the core-mantle boundary (Sdiff is its S twin). This shadow told Beno Gutenberg in 1913 how big the core is. Because S waves do not arrive on the far side of the Earth at all, seismologists learned that the outer core is liquid. In 1936 Inge Lehmann found weak waves inside the shadow zone and concluded that the Earth has a solid inner core.)";

constexpr std::string_view kSeis = R"(The seismograms

Each trace is the recording of one station: the ground's motion over time, with time running from left to right and the minutes after the earthquake along the bottom. The traces are sorted by the station's distance from the earthquake: the nearest station is at the top. Watch each trace wiggle when a wave arrives.

Switch on the seismogram labels in the Phases dialog (Label phases on view: Seismogram) to see marks where the P, PP, S and SS waves are expected, computed from a model of the Earth, and to hear each arrival.

Look at the order: first P, then S, then the large surface waves. The farther the station, the longer the time between P and S. Seismologists use that time to find how far away an earthquake was.

<more "SEIS_MORE.INF">)";

constexpr std::string_view kSeisMore = R"(Reading a seismogram

The P wave arrives first. It shakes the ground mostly up and down, so it is largest on the vertical component (Z).

The S wave arrives next. It shakes the ground from side to side, so it is largest on the horizontal components (N-S and E-W).

Surface waves come last and are usually the largest. Rayleigh waves roll the ground like ocean waves and show on the vertical and the horizontal components. Love waves shake the ground sideways and show on the horizontal components only. Long waves arrive first, short ones later: the wave train spreads out.

Finding the epicentre. The time between P and S grows with distance: about 5 minutes at 30 degrees (3300 km), about 11 minutes at 90 degrees (10,000 km). With the distances from three stations, circles around the stations cross at the epicentre.

About these recordings. The seismograms of this demonstration were computed for teaching from a model of the Earth, not recorded. Each event's information text says how to replace them with real recordings.)";

constexpr std::string_view kSynthetic = R"(Synthetic seismograms, and how to use real ones

The seismograms of this demonstration were computed, not recorded. For each station the arrival times of the waves P, pP, PP, PcP, S, sS, SS, ScS, SKS and the core wave PKIKP come from the ak135 model of the Earth, the same model that draws the wave fronts and the arrival marks. The times are computed for the focal depth of the table the viewer uses for the event (the nearest table depth above the focus, for example 0 km for the Tohoku earthquake, 29 km deep), so that the marks fall on the waves; the true depth would shift them by a few seconds. Each wave is a short pulse whose size shrinks with distance and grows with the magnitude. The surface waves are computed with dispersion (long waves first) and are turned to the north-south and east-west directions from the direction of the earthquake. A little background noise is added. The shapes are simplified; the times follow the model.

To use real recordings instead: download the seismograms (miniSEED) and the station descriptions of the same stations and time from a seismic data centre, convert each to a SAC file with the program mseed2sac, put them in the event's directory in place of these files, and choose them with the station selection or the maintenance program orvane-maint. The README of Orvane explains each step.)";

// ------------------------------------------------------------- tutorial ---

constexpr std::string_view kTutorialMap = R"(Welcome to the tutorial

This tutorial shows you what happens inside the Earth during a great earthquake: the Tohoku earthquake of 11 March 2011 near Japan, magnitude 9.1.

You will see where the earthquake happened, how the P wave and the S wave travel through the Earth, why the core casts a shadow, how the surface waves follow, and how the seismometers around the world record all of it.

The tutorial starts the earthquake by itself. Press Continue at any time to go on, or Cancel to explore on your own.)";

constexpr std::string_view kTutorialEpicentre = R"(The epicentre

The earthquake broke about 29 km deep off the coast of northern Japan, where the Pacific plate sinks beneath Japan. The star on the globe marks the epicentre, the point on the surface right above it. The star in the cross-section marks the focus itself, inside the Earth.

The small circles are seismic stations around the world. The waves have just left the focus: watch them spread. The clock in the panel counts minutes after the earthquake.)";

constexpr std::string_view kTutorialP = R"(The P wave

The red circle and the red front are the P wave (P for primary): it pushes and pulls the rock in the direction it travels, like sound in air. It is the fastest seismic wave, about 6 km per second near the surface and almost 14 km per second deep in the mantle.

Look at the cross-section: the front curves because the wave travels faster where the rock is deeper. After about 14 minutes the P wave reaches the edge of the core's shadow, 103 degrees from the epicentre.)";

constexpr std::string_view kTutorialS = R"(The S wave

The cyan circle and front are the S wave (S for secondary): it shakes the rock from side to side, across the direction it travels. It is slower than P, so it arrives second at every station.

S waves cannot travel through liquids. In the cross-section the S front is reaching the core: the liquid outer core stops it, and only its reflection (ScS) comes back up. This is how we know the outer core is liquid.)";

constexpr std::string_view kTutorialSurface = R"(The surface waves

The yellow band on the globe shows the surface waves. They travel along the surface, not through the inside, at about 3.5 km per second: much slower than P and S.

Surface waves are the largest waves on most seismograms and cause much of the damage near an earthquake. Long surface waves travel faster than short ones, so the band grows wider as it travels. Only shallow earthquakes make strong surface waves.)";

constexpr std::string_view kTutorialShadow = R"(The shadow zone

Look at the cross-section again. The outer core slows the P wave and bends it, like a lens. Between about 103 and 142 degrees from the epicentre the direct P wave does not arrive: this is the shadow zone.

Stations in the shadow zone record only a weak wave bent around the core: the dashed red front, Pdiff, which creeps along the core and leaks back up into the shadow. Later the PKP waves that crossed the core arrive. In 1913 Beno Gutenberg used this shadow to measure the size of the core: about 3480 km in radius.)";

constexpr std::string_view kTutorialSeismograms = R"(The seismograms

The traces show the recordings of the stations, nearest at the top. On each one, first the P wave arrives, then the S wave, then the large surface waves. With the seismogram labels on (Phases dialog), marks show when each wave is expected.

The farther the station, the longer the wait between P and S. Seismologists measure this time at three or more stations to find where an earthquake happened.

These seismograms were computed for teaching from a model of the Earth; the Info button of the event tells more.)";

constexpr std::string_view kTutorialEnd = R"(The end of the tutorial

You have followed the waves of a great earthquake through the Earth. Soon the tutorial returns to the map of earthquakes.

Try the others: the deep Bolivia earthquake has almost no surface waves but very clear reflections, and the earthquakes in Chile and Turkey are recorded by stations at very different distances. Use the Info buttons to learn more about each view.)";

// ----------------------------------------------------------------- help ---

struct HelpTopic {
    int number;
    std::string_view title;
    std::string_view body;  // HTML
};

constexpr HelpTopic kHelpTopics[] = {
    {1002, "Audio",
     R"(<p>The <b>Audio</b> dialog chooses the sound made when a wave reaches a station.</p>
<ul>
<li><b>No sound</b>: silence.</li>
<li><b>PC speaker</b>: a short beep at each arrival.</li>
<li><b>Earthquake</b>: the seismogram itself is played as sound, speeded up so that you can hear the ground move.</li>
<li><b>Chime</b>: a short chime at each arrival.</li>
</ul>
<p>Press <b>OK</b> to keep the choice; it is saved in the settings file <code>OV.INI</code>.</p>)"},
    {1005, "Event selection and the event editor",
     R"(<p>The <b>Event Selection</b> dialog lists every event file (<code>*.evt</code>) of the working directory. Pick one and press <b>OK</b> to start it.</p>
<p>In the maintenance program the same list opens the chosen event in the <b>event editor</b>, where you can change its name, date, origin time, latitude, longitude, depth, magnitude, time acceleration, time window and view angle. A new event is saved under a name made from its date and hour, for example <code>2011031105.evt</code>; its seismogram files go in the directory of the same name without the extension.</p>)"},
    {1015, "Controls",
     R"(<p>The <b>Controls</b> dialog of the maintenance program sets how the viewer behaves:</p>
<ul>
<li><b>Title bar</b>, <b>Menu bar</b>: whether the viewer's window has them.</li>
<li><b>Can Exit</b>: whether the user may end the program (turn off for an unattended display).</li>
<li><b>Can select view</b>: whether the view layout may be changed.</li>
<li><b>Run from script</b>: run every event of the working directory in turn.</li>
<li><b>Display Earthquake Information</b>: show the event's information text when a run starts.</li>
<li><b>Right button restarts</b>: the right mouse button returns to the map.</li>
<li><b>Show Welcome screen</b>: start with the opening picture.</li>
<li><b>Run Tutorial</b>: start with the guided tutorial.</li>
<li><b>Select components</b>: touching an event on the map first shows its details and station choice.</li>
<li><b>Show Slider</b>: show the speed slider in the control panel.</li>
</ul>)"},
    {1016, "Station components",
     R"(<p>The <b>Station Components</b> dialog shows one station: its code and name, its position, its distance from the earthquake (the great-circle arc, in degrees) and the back azimuth (the direction from the station towards the earthquake).</p>
<p>Tick the components to show: <b>Z</b> (up and down), <b>N-S</b> (north and south), <b>E-W</b> (east and west). A greyed box means the station has no recording of that component.</p>
<p>Choose <b>This Station</b> to change only this station, or <b>All Stations</b> to give every station the same choice. <b>OK</b> saves the choice in the event file.</p>)"},
    {1019, "Phases",
     R"(<p>The <b>Phases</b> dialog chooses which waves (phases) the cross-section shows and where their names are written.</p>
<ul>
<li><b>Label phases on view</b>: write the names on the Earth view, the cross-section and the seismograms.</li>
<li><b>All</b>: every phase.</li>
<li><b>P plus all phases generated by P</b>, <b>S plus all phases generated by S</b>: the waves that start as P or as S.</li>
<li><b>Those indicated below</b>: only the phases typed in the eight boxes, for example <code>P</code>, <code>PKP</code>, <code>ScS</code>.</li>
</ul>
<p>Phase names: P and S in the mantle, K in the outer core, I in the inner core, c a reflection at the core, a lower-case p or s a first leg going up to the surface.</p>)"},
    {1020, "The maintenance program",
     R"(<p><b>orvane-maint</b> prepares the viewer for a class or an exhibition. It works in the current directory, the viewer's working directory.</p>
<ul>
<li><b>Events</b>: create a new event file or edit an existing one (see <a href="1005.html">Event selection and the event editor</a>).</li>
<li><b>Settings</b>: the same dialogs as the viewer (<a href="1002.html">Audio</a>, <a href="1019.html">Phases</a>, views) and the <a href="1015.html">Controls</a>, all saved in <code>OV.INI</code>.</li>
<li><b>Timeouts</b>: how long the viewer waits for a touch before it goes on by itself.</li>
<li><b>Information files</b>: open the texts behind the Info buttons in a text editor.</li>
</ul>
<p>To make an event from recorded seismograms, see the section "Recorded data" of the README.</p>)"},
    {1024, "Relative speed",
     R"(<p>The <b>Relative Speed</b> dialog sets how many seconds of the earthquake pass in one second on the screen. 20 is the usual speed: one hour of waves in three minutes. Negative values run the clock backwards; 0 stops it.</p>
<p>The choice holds for the event being shown.</p>)"},
    {1026, "Time window",
     R"(<p>The <b>Time Window</b> dialog sets how many minutes of each seismogram are visible at once, from 5 minutes to 1 hour. A short window shows the shape of each wave; a long window shows P, S and the surface waves together.</p>
<p>The choice holds for the event being shown.</p>)"},
    {1029, "Event information",
     R"(<p>The <b>Event Information</b> dialog shows the earthquake touched on the map: its name, date and origin time (universal time), the latitude and longitude of the epicentre (degrees; south and west are negative), the depth of the focus in kilometres and the magnitude.</p>
<p><b>GO</b> starts the earthquake. <b>Select Stations</b> shows the stations that recorded it on the map, where you can choose the recordings to show (see <a href="1016.html">Station components</a>). <b>Cancel</b> returns to the map.</p>)"},
};

std::string htmlPage(std::string_view title, std::string_view body) {
    std::string page = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>Orvane help: ";
    page += title;
    page += "</title>\n<style>body{font-family:sans-serif;max-width:44em;margin:2em auto;line-height:1.45}"
            "h1{color:#a00}code{background:#eee}</style>\n</head>\n<body>\n<h1>";
    page += title;
    page += "</h1>\n";
    page += body;
    page += "\n<p><a href=\"index.html\">All help topics</a></p>\n</body>\n</html>\n";
    return page;
}

}  // namespace

std::string wrapText(std::string_view text, std::size_t width) {
    std::string out;
    bool preformatted = false;
    std::istringstream lines{std::string(text)};
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind("<PRE>", 0) == 0) preformatted = true;
        if (preformatted || line.size() <= width) {
            out += line;
            out += '\n';
        } else {
            std::istringstream words(line);
            std::string word, current;
            while (words >> word) {
                if (!current.empty() && current.size() + 1 + word.size() > width) {
                    out += current;
                    out += '\n';
                    current.clear();
                }
                current += current.empty() ? word : " " + word;
            }
            out += current;
            out += '\n';
        }
        if (line.rfind("</PRE>", 0) == 0) preformatted = false;
    }
    return out;
}

std::vector<TextFile> informationTexts() {
    return {
        {"MAP_EV.INF", wrapText(kMapEvents)},     {"MAGNITUDE.INF", wrapText(kMagnitude)},
        {"MAP_ST.INF", wrapText(kMapStations)},   {"3D.INF", wrapText(k3D)},
        {"3D_MORE.INF", wrapText(k3DMore)},       {"XS.INF", wrapText(kXS)},
        {"XS_MORE.INF", wrapText(kXSMore)},       {"SEIS.INF", wrapText(kSeis)},
        {"SEIS_MORE.INF", wrapText(kSeisMore)},   {"SYNTH.INF", wrapText(kSynthetic)},
    };
}

std::string eventInformationText(const DemoEvent& event, const std::vector<SelectedStation>& stations) {
    std::string text;
    text += "The " + std::string(event.name) + " earthquake\n\n";
    text += std::string(kMonths[(event.month - 1) % 12]) + " " + std::to_string(event.day) + ", " +
            std::to_string(event.year) + ", at " + toEvent(event).originTime +
            " universal time. Magnitude " + format("%.1f", event.magnitude) + ", depth " +
            format("%.0f", event.depth) + " km. Epicentre " + latitudeText(event.latitude) + ", " +
            longitudeText(event.longitude) + ".\n\n";
    text += std::string(event.story) + "\n\n";
    text += "What to look for. " + std::string(event.lookFor) + "\n\n";
    if (!stations.empty()) {
        text += "The seismograms are those of " + std::to_string(stations.size()) + " stations, from " +
                std::string(stations.front().station->code) + " (" + std::string(stations.front().station->site) +
                ", " + format("%.0f", stations.front().distance) + " degrees away) to " +
                std::string(stations.back().station->code) + " (" + std::string(stations.back().station->site) +
                ", " + format("%.0f", stations.back().distance) + " degrees away).\n\n";
    }
    text += "These seismograms are synthetic: they were computed for teaching from the ak135 model of the "
            "Earth, not recorded. The arrival times follow the model; the wave shapes are simplified. To show real "
            "recordings instead, put SAC files converted from a data centre's miniSEED with mseed2sac into "
            "this event's directory and choose them with Select Stations (the README's section \"Recorded "
            "data\" explains how). Press More... for details.\n";
    text += "<more \"SYNTH.INF\">\n";
    return wrapText(text);
}

std::vector<TutorialStep> tutorialSteps() {
    return {
        {0, 30, "TUT_MAP.INF"},    {10, 40, "TUT_EPI.INF"},    {240, 40, "TUT_P.INF"},
        {480, 40, "TUT_S.INF"},    {950, 40, "TUT_SHAD.INF"},  {1300, 40, "TUT_SURF.INF"},
        {1750, 40, "TUT_SEIS.INF"}, {2700, 30, "TUT_END.INF"},  {3200, 10, "TUT_END.INF"},
    };
}

std::string tutorialListText(const std::vector<TutorialStep>& steps) {
    std::string text;
    for (const TutorialStep& step : steps)
        text += std::to_string(step.showAfter) + " " + std::to_string(step.waitLimit) + " " + step.topic + "\n";
    return text;
}

std::vector<TextFile> tutorialTopics() {
    return {
        {"TUT_MAP.INF", wrapText(kTutorialMap)},         {"TUT_EPI.INF", wrapText(kTutorialEpicentre)},
        {"TUT_P.INF", wrapText(kTutorialP)},             {"TUT_S.INF", wrapText(kTutorialS)},
        {"TUT_SURF.INF", wrapText(kTutorialSurface)},    {"TUT_SHAD.INF", wrapText(kTutorialShadow)},
        {"TUT_SEIS.INF", wrapText(kTutorialSeismograms)}, {"TUT_END.INF", wrapText(kTutorialEnd)},
    };
}

std::vector<int> helpTopics() {
    std::vector<int> numbers;
    for (const HelpTopic& topic : kHelpTopics) numbers.push_back(topic.number);
    return numbers;
}

std::vector<TextFile> helpPages() {
    std::vector<TextFile> pages;
    std::string index = "<p>Orvane shows how the waves of an earthquake travel through and around the Earth. "
                        "Each dialog's Help button opens its page here.</p>\n<ul>\n";
    for (const HelpTopic& topic : kHelpTopics) {
        std::string file = std::to_string(topic.number) + ".html";
        pages.push_back({std::string(kHelpFolder) + "/" + file, htmlPage(topic.title, topic.body)});
        index += "<li><a href=\"" + file + "\">" + std::string(topic.title) + "</a></li>\n";
    }
    index += "</ul>\n";
    pages.push_back({std::string(kHelpFolder) + "/index.html", htmlPage("Contents", index)});
    return pages;
}

}  // namespace orvane
