#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <type_traits>
#include <utility>

#include "base/Assert.h"

namespace zozuz {

// A growable array of trivially copyable values with a movable gap. Inserting or removing at the
// gap costs only the values inserted; moving the gap costs the distance moved. Edits that come
// close to each other, as typing and line-by-line rewriting do, therefore stay cheap however long
// the array is.
//
// Every operation that may allocate does so before it changes anything, so a failed allocation
// leaves the buffer as it was.
template <typename T>
class GapBuffer {
    static_assert(std::is_trivially_copyable_v<T>);

public:
    using Index = std::int64_t;

    GapBuffer() = default;
    GapBuffer(GapBuffer&&) noexcept = default;
    GapBuffer& operator=(GapBuffer&&) noexcept = default;
    GapBuffer(const GapBuffer&) = delete;
    GapBuffer& operator=(const GapBuffer&) = delete;

    Index size() const { return size_; }
    bool empty() const { return size_ == 0; }

    T at(Index i) const { return ref(i); }
    // The value itself, valid until the buffer changes: saves copying a large value for a glance at
    // one of its fields.
    const T& ref(Index i) const {
        ZOZUZ_ASSERT(0 <= i && i < size_);
        return i < gapStart_ ? data_[i] : data_[i + gapLength_];
    }

    // Replaces the whole content with `count` values, leaving `spare` room at the end for growth.
    // The new block is built before the old one is dropped.
    void assign(const T* values, Index count, Index spare) {
        const Index capacity = count + std::max<Index>(spare, 0);
        auto block = capacity > 0 ? std::make_unique_for_overwrite<T[]>(static_cast<std::size_t>(capacity))
                                  : std::unique_ptr<T[]>();
        if (count > 0) std::memcpy(block.get(), values, static_cast<std::size_t>(count) * sizeof(T));
        data_ = std::move(block);
        capacity_ = capacity;
        size_ = count;
        gapStart_ = count;
        gapLength_ = capacity - count;
        assertInvariants();
    }

    // Takes over a block that already holds `count` values followed by `capacity - count` spare
    // ones, instead of copying them: a large text read from a file becomes the buffer as it is.
    void adopt(std::unique_ptr<T[]> block, Index count, Index capacity) {
        ZOZUZ_ASSERT(0 <= count && count <= capacity && (block || capacity == 0));
        data_ = std::move(block);
        capacity_ = capacity;
        size_ = count;
        gapStart_ = count;
        gapLength_ = capacity - count;
        assertInvariants();
    }

    void clear() {
        data_.reset();
        capacity_ = size_ = gapStart_ = gapLength_ = 0;
    }

    // Makes sure that `extra` more values fit without another allocation.
    void reserveExtra(Index extra) {
        if (extra <= gapLength_) return;
        const Index needed = size_ + extra;
        // Grow by at least an eighth so that a run of insertions costs amortised linear time,
        // without doubling a block that may already hold most of the memory of the process.
        const Index capacity = std::max(needed, capacity_ + std::max<Index>(capacity_ / 8, 4096 / sizeof(T)));
        auto block = std::make_unique_for_overwrite<T[]>(static_cast<std::size_t>(capacity));
        // The new block keeps the gap where it was, now wider.
        copyValues(block.get(), data_.get(), gapStart_);
        const Index tail = size_ - gapStart_;
        copyValues(block.get() + (capacity - tail), data_.get() + gapStart_ + gapLength_, tail);
        data_ = std::move(block);
        gapLength_ = capacity - size_;
        capacity_ = capacity;
        assertInvariants();
    }

    void gapTo(Index position) {
        ZOZUZ_ASSERT(0 <= position && position <= size_);
        if (position == gapStart_) return;
        if (gapLength_ > 0) {
            if (position < gapStart_) {
                const Index moved = gapStart_ - position;
                std::memmove(data_.get() + position + gapLength_, data_.get() + position,
                             static_cast<std::size_t>(moved) * sizeof(T));
            } else {
                const Index moved = position - gapStart_;
                std::memmove(data_.get() + gapStart_, data_.get() + gapStart_ + gapLength_,
                             static_cast<std::size_t>(moved) * sizeof(T));
            }
        }
        gapStart_ = position;
        assertInvariants();
    }

    // Replaces `removed` values at `position` with `count` new ones.
    void replace(Index position, Index removed, const T* values, Index count) {
        ZOZUZ_ASSERT(0 <= position && 0 <= removed && position + removed <= size_ && 0 <= count);
        if (removed == count) {
            overwrite(position, values, count);
            return;
        }
        if (count > removed) reserveExtra(count - removed);
        gapTo(position);
        gapLength_ += removed;
        size_ -= removed;
        copyValues(data_.get() + gapStart_, values, count);
        gapStart_ += count;
        gapLength_ -= count;
        size_ += count;
        assertInvariants();
    }

    void insert(Index position, const T* values, Index count) { replace(position, 0, values, count); }
    void erase(Index position, Index count) { replace(position, count, nullptr, 0); }

    // Writes `count` values over those at `position` without moving the gap.
    void overwrite(Index position, const T* values, Index count) {
        ZOZUZ_ASSERT(0 <= position && 0 <= count && position + count <= size_);
        const Index before = std::clamp<Index>(gapStart_ - position, 0, count);
        copyValues(data_.get() + position, values, before);
        copyValues(data_.get() + position + before + gapLength_, values + before, count - before);
    }

    void copyOut(Index start, Index end, T* out) const {
        ZOZUZ_ASSERT(0 <= start && start <= end && end <= size_);
        const Index count = end - start;
        const Index before = std::clamp<Index>(gapStart_ - start, 0, count);
        copyValues(out, data_.get() + start, before);
        copyValues(out + before, data_.get() + start + before + gapLength_, count - before);
    }

    // All values in one contiguous run, for a pass over everything; moves the gap to the end.
    const T* contiguous() {
        gapTo(size_);
        return data_.get();
    }

    // Calls `visit(pointer, count)` for the one or two contiguous pieces that hold [start, end).
    template <typename Visit>
    void forEachPiece(Index start, Index end, Visit&& visit) {
        std::as_const(*this).forEachPiece(start, end, [&visit](const T* values, Index count) {
            visit(const_cast<T*>(values), count);
        });
    }
    template <typename Visit>
    void forEachPiece(Index start, Index end, Visit&& visit) const {
        if (start < gapStart_) {
            const Index stop = std::min(end, gapStart_);
            visit(data_.get() + start, stop - start);
            start = stop;
        }
        if (start < end) visit(data_.get() + start + gapLength_, end - start);
    }

    // Aborts, naming the broken one, unless the invariants stated on the members hold. They cost O(1)
    // to check, so a build with assertions checks them after every change as well.
    void checkInvariants() const {
        ZOZUZ_CHECK(0 <= gapStart_ && gapStart_ <= size_);
        ZOZUZ_CHECK(0 <= gapLength_);
        ZOZUZ_CHECK(size_ + gapLength_ == capacity_);
        ZOZUZ_CHECK(data_ != nullptr || capacity_ == 0);
    }

private:
    void assertInvariants() const {
        if constexpr (kAssertionsOn) checkInvariants();
    }

    static void copyValues(T* to, const T* from, Index count) {
        if (count > 0) std::memcpy(to, from, static_cast<std::size_t>(count) * sizeof(T));
    }

    // The block holds `capacity_` values: the first `gapStart_` values, then the gap of `gapLength_`
    // unused ones, then the remaining `size_ - gapStart_` values. So 0 <= gapStart_ <= size_,
    // gapLength_ >= 0 and size_ + gapLength_ == capacity_; there is a block whenever capacity_ > 0.
    std::unique_ptr<T[]> data_;
    Index capacity_ = 0;
    Index size_ = 0;
    Index gapStart_ = 0;
    Index gapLength_ = 0;
};

}  // namespace zozuz
