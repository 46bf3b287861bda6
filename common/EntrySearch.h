// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace keel {

// What a find box looks for in the entries of a list: a text within the entry's name, ASCII
// letter case ignored, the name's bytes compared as they stand in the files' code page. A
// text of digits alone also finds the entries whose number, written as the list writes it
// (zero-padded to its width), holds those digits: "0123" finds entry 0123.
class EntrySearch {
public:
    EntrySearch() = default;
    explicit EntrySearch(std::string_view text);

    bool empty() const { return folded_.empty(); }
    bool matches(std::string_view name, std::size_t number, int numberWidth) const;
    // Whether every entry this search finds is among those `wider` finds, so that only those
    // need be looked at again: this text holds the other's.
    bool narrows(const EntrySearch& wider) const;

private:
    bool inName(std::string_view name) const;

    std::string folded_;
    bool digitsOnly_ = false;
};

} // namespace keel
