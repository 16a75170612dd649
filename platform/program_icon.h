#pragma once
// The programs' icon: the Earth with the wavefronts of an earthquake over a
// seismogram. The pictures are made from dist/icons/orvane.svg at build time,
// the same ones the desktop's icon theme gets on installation.

#include <QIcon>

namespace orvane {

/// The icon at every size the icon theme has (16 to 256 pixels).
QIcon programIcon();

}  // namespace orvane
