// SPDX-License-Identifier: MIT
#include "common/NameCompare.h"

#include <algorithm>

namespace keel {
namespace {

constexpr Byte foldToUpper(Byte c) { return (c >= 'a' && c <= 'z') ? Byte(c - 'a' + 'A') : c; }
constexpr Byte foldToLower(Byte c) { return (c >= 'A' && c <= 'Z') ? Byte(c - 'A' + 'a') : c; }

ConstByteSpan untilTerminator(ConstByteSpan name) {
    const auto end = std::find(name.begin(), name.end(), Byte{0});
    return name.first(static_cast<std::size_t>(end - name.begin()));
}

template <Byte (*Fold)(Byte)> int compareFolded(ConstByteSpan a, ConstByteSpan b) {
    a = untilTerminator(a);
    b = untilTerminator(b);
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const int difference = int(Fold(a[i])) - int(Fold(b[i]));
        if (difference != 0) {
            return difference;
        }
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

} // namespace

int compareEditorNames(ConstByteSpan a, ConstByteSpan b) { return compareFolded<foldToUpper>(a, b); }

bool equalEditorNames(ConstByteSpan a, ConstByteSpan b) { return compareEditorNames(a, b) == 0; }

int compareMergeNames(ConstByteSpan a, ConstByteSpan b) { return compareFolded<foldToLower>(a, b); }

std::string editorNameKey(ConstByteSpan name) {
    const ConstByteSpan text = untilTerminator(name);
    std::string key(text.size(), '\0');
    std::transform(text.begin(), text.end(), key.begin(),
                   [](Byte c) { return static_cast<char>(foldToUpper(c)); });
    return key;
}

} // namespace keel
