// SPDX-License-Identifier: MIT
#pragma once

#include <QIcon>
#include <QImage>
#include <QString>

namespace keel {

// The name under which the desktop knows the program: its desktop entry, its icon in the icon
// theme and its AppStream metainfo all bear it.
inline constexpr const char* desktopId = "example.brinewatch.keelbook";

// The program's icon, a keel and a wave line on a dark disc, drawn from one description: as
// pixels at any size for the windows and the icon theme's PNG sizes, and as SVG for its
// scalable entry, so that the desktop shows the icon the windows show.
QImage programIconImage(int size);
QString programIconSvg();
QIcon programIcon();

} // namespace keel
