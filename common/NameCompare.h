// SPDX-License-Identifier: MIT
#pragma once

#include "common/Bytes.h"

#include <string>

namespace keel {

// Record names are zero-terminated texts that open a record. Both comparisons stop at the
// terminator or at the end of the span they are given, whichever comes first, so a name that
// fills its field without a terminator never runs into the next field: pass the name field,
// not the whole record.

// The editor's comparison: a-z compare as A-Z, every other byte by its unsigned value, and a
// name sorts before every longer name that begins with it. Returns <0, 0 or >0.
int compareEditorNames(ConstByteSpan a, ConstByteSpan b);
bool equalEditorNames(ConstByteSpan a, ConstByteSpan b);

// The merge tool's comparison: A-Z compare as a-z, otherwise as above. The two differ for
// names holding the characters between the two alphabets ('[' to '`').
int compareMergeNames(ConstByteSpan a, ConstByteSpan b);

// The editor's key of a name for hashed look-ups: the name up to its terminator with a-z
// folded to A-Z, so that two names are equal for the editor exactly when their keys are.
std::string editorNameKey(ConstByteSpan name);

} // namespace keel
