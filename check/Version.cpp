// SPDX-License-Identifier: MIT
#include "check/Version.h"

namespace keel {

std::string_view keelcheckVersion() {
    return KEEL_CHECK_VERSION;
}

} // namespace keel
