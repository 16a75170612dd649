#include "tools/demo/station_table.h"

#include <array>

namespace orvane {
namespace {

// IRIS/USGS (IU) and IRIS/IDA (II) networks.
constexpr std::array kStations{
    GlobalStation{"IU", "ANMO", 34.9459, -106.4572, "Albuquerque, New Mexico, USA"},
    GlobalStation{"IU", "HRV", 42.5064, -71.5583, "Harvard, Massachusetts, USA"},
    GlobalStation{"IU", "CCM", 38.0557, -91.2446, "Cathedral Cave, Missouri, USA"},
    GlobalStation{"IU", "COLA", 64.8736, -147.8616, "College Outpost, Alaska, USA"},
    GlobalStation{"IU", "COR", 44.5855, -123.3046, "Corvallis, Oregon, USA"},
    GlobalStation{"IU", "TUC", 32.3098, -110.7847, "Tucson, Arizona, USA"},
    GlobalStation{"IU", "SSPA", 40.6358, -77.8876, "Standing Stone, Pennsylvania, USA"},
    GlobalStation{"IU", "KIP", 21.4200, -158.0112, "Kipapa, Hawaii, USA"},
    GlobalStation{"IU", "SJG", 18.1091, -66.1500, "San Juan, Puerto Rico"},
    GlobalStation{"IU", "TEIG", 20.2263, -88.2763, "Tepich, Yucatan, Mexico"},
    GlobalStation{"IU", "OTAV", 0.2376, -78.4508, "Otavalo, Ecuador"},
    GlobalStation{"IU", "LVC", -22.6127, -68.9111, "Limon Verde, Chile"},
    GlobalStation{"IU", "SAML", -8.9489, -63.1831, "Samuel, Brazil"},
    GlobalStation{"IU", "PTCN", -25.0713, -130.0953, "Pitcairn Island"},
    GlobalStation{"IU", "RAR", -21.2125, -159.7733, "Rarotonga, Cook Islands"},
    GlobalStation{"IU", "PMSA", -64.7744, -64.0489, "Palmer Station, Antarctica"},
    GlobalStation{"IU", "QSPA", -89.9289, 144.4382, "South Pole, Antarctica"},
    GlobalStation{"IU", "CASY", -66.2792, 110.5364, "Casey Station, Antarctica"},
    GlobalStation{"IU", "SFJD", 66.9961, -50.6208, "Sondre Stromfjord, Greenland"},
    GlobalStation{"IU", "KONO", 59.6491, 9.5982, "Kongsberg, Norway"},
    GlobalStation{"IU", "KEV", 69.7565, 27.0035, "Kevo, Finland"},
    GlobalStation{"IU", "PAB", 39.5446, -4.3499, "San Pablo, Spain"},
    GlobalStation{"IU", "ANTO", 39.8680, 32.7934, "Ankara, Turkey"},
    GlobalStation{"IU", "GNI", 40.1480, 44.7410, "Garni, Armenia"},
    GlobalStation{"IU", "KMBO", -1.1271, 37.2525, "Kilima Mbogo, Kenya"},
    GlobalStation{"IU", "LSZ", -15.2779, 28.1882, "Lusaka, Zambia"},
    GlobalStation{"IU", "TSUM", -19.2022, 17.5838, "Tsumeb, Namibia"},
    GlobalStation{"IU", "CHTO", 18.8141, 98.9443, "Chiang Mai, Thailand"},
    GlobalStation{"IU", "BJT", 40.0183, 116.1679, "Baijiatuan, Beijing, China"},
    GlobalStation{"IU", "INCN", 37.4776, 126.6239, "Incheon, Republic of Korea"},
    GlobalStation{"IU", "MAJO", 36.5457, 138.2041, "Matsushiro, Japan"},
    GlobalStation{"IU", "YSS", 46.9587, 142.7604, "Yuzhno-Sakhalinsk, Russia"},
    GlobalStation{"IU", "MA2", 59.5756, 150.7700, "Magadan, Russia"},
    GlobalStation{"IU", "TIXI", 71.6341, 128.8667, "Tiksi, Russia"},
    GlobalStation{"IU", "TATO", 24.9735, 121.4971, "Taipei, Taiwan"},
    GlobalStation{"IU", "GUMO", 13.5893, 144.8684, "Guam, Mariana Islands"},
    GlobalStation{"IU", "DAV", 7.0697, 125.5791, "Davao, Philippines"},
    GlobalStation{"IU", "HNR", -9.4387, 159.9475, "Honiara, Solomon Islands"},
    GlobalStation{"IU", "FUNA", -8.5259, 179.1966, "Funafuti, Tuvalu"},
    GlobalStation{"IU", "CTAO", -20.0882, 146.2545, "Charters Towers, Australia"},
    GlobalStation{"IU", "NWAO", -32.9277, 117.2390, "Narrogin, Australia"},
    GlobalStation{"IU", "SNZO", -41.3087, 174.7043, "South Karori, New Zealand"},
    GlobalStation{"IU", "KBS", 78.9154, 11.9385, "Ny-Alesund, Spitsbergen"},
    GlobalStation{"II", "AAK", 42.6390, 74.4942, "Ala-Archa, Kyrgyzstan"},
    GlobalStation{"II", "ALE", 82.5033, -62.3500, "Alert, Canada"},
    GlobalStation{"II", "ARU", 56.4302, 58.5625, "Arti, Russia"},
    GlobalStation{"II", "ASCN", -7.9327, -14.3601, "Butt Crater, Ascension Island"},
    GlobalStation{"II", "BFO", 48.3301, 8.3296, "Black Forest Observatory, Germany"},
    GlobalStation{"II", "BORG", 64.7474, -21.3268, "Borgarnes, Iceland"},
    GlobalStation{"II", "BRVK", 53.0581, 70.2828, "Borovoye, Kazakhstan"},
    GlobalStation{"II", "DGAR", -7.4121, 72.4525, "Diego Garcia, Chagos Islands"},
    GlobalStation{"II", "ESK", 55.3167, -3.2050, "Eskdalemuir, Scotland"},
    GlobalStation{"II", "HOPE", -54.2836, -36.4879, "Hope Point, South Georgia Island"},
    GlobalStation{"II", "KDAK", 57.7828, -152.5835, "Kodiak Island, Alaska, USA"},
    GlobalStation{"II", "KURK", 50.7154, 78.6202, "Kurchatov, Kazakhstan"},
    GlobalStation{"II", "LVZ", 67.8979, 34.6514, "Lovozero, Russia"},
    GlobalStation{"II", "MBAR", -0.6019, 30.7382, "Mbarara, Uganda"},
    GlobalStation{"II", "MSEY", -4.6737, 55.4792, "Mahe, Seychelles"},
    GlobalStation{"II", "NIL", 33.6506, 73.2686, "Nilore, Pakistan"},
    GlobalStation{"II", "NNA", -11.9875, -76.8422, "Nana, Peru"},
    GlobalStation{"II", "OBN", 55.1146, 36.5674, "Obninsk, Russia"},
    GlobalStation{"II", "PALK", 7.2728, 80.7022, "Pallekele, Sri Lanka"},
    GlobalStation{"II", "RPN", -27.1267, -109.3344, "Rapa Nui, Easter Island"},
    GlobalStation{"II", "SHEL", -15.9594, -5.7455, "Horse Pasture, St. Helena Island"},
    GlobalStation{"II", "SUR", -32.3797, 20.8117, "Sutherland, South Africa"},
    GlobalStation{"II", "TAU", -42.9099, 147.3204, "Hobart, Tasmania, Australia"},
    GlobalStation{"II", "WRAB", -19.9336, 134.3600, "Tennant Creek, Australia"},
    GlobalStation{"II", "XPFO", 33.6107, -116.4555, "Pinon Flat, California, USA"},
};

}  // namespace

std::span<const GlobalStation> globalStations() { return kStations; }

}  // namespace orvane
