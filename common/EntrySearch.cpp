// SPDX-License-Identifier: MIT
#include "common/EntrySearch.h"

#include <algorithm>
#include <array>

namespace keel {
namespace {

char folded(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
char lowered(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

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
    if (inName(name)) {
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

bool EntrySearch::inName(std::string_view name) const {
    // Called for every entry of a list at a keystroke: the places where the text's first
    // character stands, in either case, are looked at, and only there the rest.
    const std::size_t length = folded_.size();
    if (name.size() < length) {
        return false;
    }
    const char* const text = folded_.data();
    const char first = text[0];
    const char firstLower = lowered(first);
    const char* const last = name.data() + (name.size() - length);
    for (const char* at = name.data(); at <= last; ++at) {
        if (*at != first && *at != firstLower) {
            continue;
        }
        std::size_t i = 1;
        while (i < length && folded(at[i]) == text[i]) {
            ++i;
        }
        if (i == length) {
            return true;
        }
    }
    return false;
}

bool EntrySearch::narrows(const EntrySearch& wider) const {
    // A name holding this text holds the other's; digits alone in this text are digits alone in
    // the other's, and a number holding these holds those.
    return folded_.find(wider.folded_) != std::string::npos;
}

} // namespace keel
