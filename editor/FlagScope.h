// SPDX-License-Identifier: MIT
#pragma once

namespace keel {

// Sets a flag for the life of the object and puts back what it was, whatever the way out of
// the scope, so that scopes of the same flag may nest.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : flag_(flag), previous_(flag) { flag_ = true; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;
    ~FlagScope() { flag_ = previous_; }

private:
    bool& flag_;
    bool previous_;
};

} // namespace keel
