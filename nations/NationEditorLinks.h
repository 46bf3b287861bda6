// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>

namespace keel {

// The carrier editor's side of the nation editor: it reads nations, classes and platforms from
// the nation editor's working copy, and is told which of its lists to build again after a
// change there.
class CarrierLists {
public:
    virtual ~CarrierLists() = default;
    virtual void RefreshNationList() = 0;
    // Only the nation at `index` was renamed: the others, and their number, are as they were.
    virtual void RefreshNationName(std::size_t /*index*/) { RefreshNationList(); }
    virtual void RefreshShipClassList() = 0;
    virtual void RefreshAircraftClassList() = 0;
    virtual void RefreshAircraftNameList() = 0;
};

} // namespace keel
