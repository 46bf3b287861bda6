// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>

namespace keel {

// The project's version, as the build gives it.
std::string_view keelcheckVersion();

} // namespace keel
