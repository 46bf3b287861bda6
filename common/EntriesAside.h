// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

namespace keel {

// The length of a nested list (a nation's classes, a class's platforms, a carrier's aircraft
// types) follows a count box that acts at every keystroke, so typing 15 over 5 passes through
// 1 and typing 40000 passes through 4, 40, 400 and 4000. Entries that a lower count drops are
// therefore kept aside, in order, and a higher count takes them back before it makes new ones:
// no keystrokes that end on a count N lose an entry 1..N that the list held. The entries aside
// are let go once the record is accepted or shown anew.
template <typename Entry> class EntriesAside {
public:
    // Makes the list `count` long: the entries past it are put aside, the nearest one last
    // taken; missing entries come back from aside first, then from `make`.
    template <typename Make> void resize(std::vector<Entry>& list, std::size_t count, Make make) {
        while (list.size() > count) {
            aside_.push_back(std::move(list.back()));
            list.pop_back();
        }
        while (list.size() < count) {
            if (aside_.empty()) {
                list.push_back(make());
            } else {
                list.push_back(std::move(aside_.back()));
                aside_.pop_back();
            }
        }
    }

    std::size_t size() const { return aside_.size(); }
    void clear() { aside_.clear(); }

private:
    std::vector<Entry> aside_; // the entry just past the list's end is the last one
};

} // namespace keel
