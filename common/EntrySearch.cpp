// SPDX-License-Identifier: MIT
#include "common/EntrySearch.h"

#include <algorithm>
#include <array>

namespace keel {
namespace {

char folded(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

} // namespace

EntrySearch::EntrySearch(std::string_view text) {
    folded_.reserve(text.size());
    std::transform(text.begin(), text.end(), std::back_inserter(folded_), folded);
    digitsOnly_ = !folded_.empty() &&
                  std::all_of(folded_.begin(), folded_.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool EntrySearch::matches(std::string_view name, std::size_t number, int numberWidth) const {
    if (folded_.empty()) {
        return true;
    }
    const auto inName = std::search(name.begin(), name.end(), folded_.begin(), folded_.end(),
                                    [](char inEntry, char wanted) { return folded(inEntry) == wanted; });
    if (inName != name.end()) {
        return true;
    }
    if (!digitsOnly_) {
        return false;
    }
    std::array<char, 24> digits{};
    std::size_t length = 0;
    do {
        digits[digits.size() - 1 - length++] = static_cast<char>('0' + number % 10);
        number /= 10;
    } while (number != 0 && length < digits.size());
    while (length < static_cast<std::size_t>(numberWidth) && length < digits.size()) {
        digits[digits.size() - 1 - length++] = '0';
    }
    const std::string_view written(digits.data() + digits.size() - length, length);
    return written.find(folded_) != std::string_view::npos;
}

bool EntrySearch::narrows(const EntrySearch& wider) const {
    // A name holding this text holds the other's; digits alone in this text are digits alone in
    // the other's, and a number holding these holds those.
    return folded_.find(wider.folded_) != std::string::npos;
}

} // namespace keel
