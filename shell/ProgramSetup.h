// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace keel {

// The program's title: the main window's caption and the caption of its error boxes.
QString programTitle();

// Names the running program and gives it its icon. Nothing is set that the toolkit would add
// to the caption of every window: each window shows exactly its own caption.
void setUpProgram();

} // namespace keel
