// SPDX-License-Identifier: MIT
#pragma once

#include <QIcon>

namespace keel {

// The program's own icons, drawn rather than shipped: a rounded tile with a short legend,
// legible at tool-bar size on light and dark themes alike.
QIcon tileIcon(const QString& legend, const QColor& tile);

} // namespace keel
