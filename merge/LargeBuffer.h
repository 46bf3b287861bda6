// SPDX-License-Identifier: MIT
#pragma once

#include "common/PageProvision.h"

#include <algorithm>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <span>
#include <type_traits>
#include <utility>

namespace keel {

// A growing array of plain values for keelmerge's buffers of many megabytes. Unlike a vector it
// leaves the elements it adds uninitialised, so that each byte of a buffer is written once, by
// what fills it, and it has the system provide the pages for its elements a stretch at a time
// (see providePages) before they are written: memory that is new to the process otherwise costs
// a page fault per page on first touch, which on a virtual machine is dear.
template <typename T> class LargeBuffer {
    static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>);

public:
    LargeBuffer() = default;
    explicit LargeBuffer(std::size_t size) { resize(size); }
    LargeBuffer(const T* first, std::size_t count) { append(first, count); }
    LargeBuffer(const LargeBuffer&) = delete;
    LargeBuffer& operator=(const LargeBuffer&) = delete;
    LargeBuffer(LargeBuffer&& other) noexcept
        : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)),
          capacity_(std::exchange(other.capacity_, 0)),
          provided_(std::exchange(other.provided_, 0)) {}
    LargeBuffer& operator=(LargeBuffer&& other) noexcept {
        std::swap(data_, other.data_);
        std::swap(size_, other.size_);
        std::swap(capacity_, other.capacity_);
        std::swap(provided_, other.provided_);
        return *this;
    }
    ~LargeBuffer() { std::free(data_); }

    T* data() { return data_; }
    const T* data() const { return data_; }
    std::size_t size() const { return size_; }
    std::size_t capacity() const { return capacity_; }
    bool empty() const { return size_ == 0; }
    T* begin() { return data_; }
    T* end() { return data_ + size_; }
    const T* begin() const { return data_; }
    const T* end() const { return data_ + size_; }
    // Indexes here are the merge's own, counted from sizes it has checked, never a value read
    // from a file; the sort's inner loops go through them, so they are checked in debug builds.
    T& operator[](std::size_t index) {
        assert(index < size_);
        return data_[index];
    }
    const T& operator[](std::size_t index) const {
        assert(index < size_);
        return data_[index];
    }
    operator std::span<T>() { return {data_, size_}; }
    operator std::span<const T>() const { return {data_, size_}; }

    // Room for exactly this many elements; throws std::bad_alloc when there is no memory for it.
    void reserve(std::size_t count) {
        if (count <= capacity_) {
            return;
        }
        if (count > static_cast<std::size_t>(PTRDIFF_MAX) / sizeof(T)) {
            throw std::bad_alloc();
        }
        void* grown = std::realloc(data_, count * sizeof(T));
        if (grown == nullptr) {
            throw std::bad_alloc();
        }
        if (grown != data_) {
            provided_ = size_; // as far as the elements kept are known to have been written
        }
        data_ = static_cast<T*>(grown);
        capacity_ = count;
    }
    // Elements added are left uninitialised. Their pages are provided now unless the caller
    // will do it with providePages, a stretch at a time.
    void resize(std::size_t count, bool withPages = true) {
        if (count > capacity_) {
            reserve(grownCapacity(count));
        }
        if (withPages) {
            provide(count);
        }
        size_ = count;
    }
    // Has the pages of elements [from, to) provided before they are written.
    void providePages(std::size_t from, std::size_t to) {
        to = std::min(to, capacity_);
        if (from < to) {
            keel::providePages(data_ + from, data_ + to);
        }
        if (from <= provided_ && to > provided_) {
            provided_ = to;
        }
    }
    void clear() { size_ = 0; }
    void push_back(const T& value) {
        if (size_ == capacity_) {
            reserve(grownCapacity(size_ + 1));
        }
        if (size_ == provided_) {
            provideAhead(size_ + 1);
        }
        data_[size_++] = value;
    }
    void append(const T* first, std::size_t count) {
        if (count > capacity_ - size_) {
            reserve(grownCapacity(size_ + count));
        }
        if (count > provided_ - size_) {
            provideAhead(size_ + count);
        }
        if (count > 0) {
            std::memcpy(data_ + size_, first, count * sizeof(T));
        }
        size_ += count;
    }

private:
    // Elements are added a few at a time: their pages are asked for a stretch ahead.
    static constexpr std::size_t aheadBytes = 1 << 20;

    std::size_t grownCapacity(std::size_t needed) const {
        return std::max(needed, capacity_ + capacity_ / 2);
    }
    void provide(std::size_t count) {
        if (count > provided_) {
            keel::providePages(data_ + provided_, data_ + count);
            provided_ = count;
        }
    }
    void provideAhead(std::size_t count) {
        provide(std::min(capacity_, std::max(count, provided_ + aheadBytes / sizeof(T))));
    }

    T* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
    std::size_t provided_ = 0; // the elements whose pages are there
};

} // namespace keel
