// SPDX-License-Identifier: MIT
// The buffers and the writer keelmerge's merge is built on.
#include "merge/LargeBuffer.h"
#include "merge/PieceWriter.h"

#include <gtest/gtest.h>

#include <numeric>
#include <stdexcept>
#include <thread>
#include <vector>

namespace keel {
namespace {

TEST(LargeBuffer, KeepsItsElementsAsItGrowsAndMoves) {
    LargeBuffer<std::uint32_t> numbers;
    for (std::uint32_t i = 0; i < 300000; ++i) {
        numbers.push_back(i);
    }
    std::vector<std::uint32_t> more(5000);
    std::iota(more.begin(), more.end(), 300000u);
    numbers.append(more.data(), more.size());
    ASSERT_EQ(numbers.size(), 305000u);
    for (std::uint32_t i = 0; i < numbers.size(); ++i) {
        ASSERT_EQ(numbers[i], i);
    }

    LargeBuffer<std::uint32_t> moved = std::move(numbers);
    EXPECT_TRUE(numbers.empty());
    EXPECT_EQ(moved.size(), 305000u);
    moved.resize(10);
    moved.resize(20);
    EXPECT_EQ(moved[9], 9u); // what it kept is there, what it took back is not asked for
    moved.reserve(moved.capacity() + (8 << 20));
    EXPECT_EQ(moved[9], 9u);
}

TEST(LargeBuffer, PagesProvidedAheadAreTheBuffersOwn) {
    LargeBuffer<Byte> bytes;
    bytes.reserve(6 << 20);
    bytes.resize(5 << 20, false);
    for (std::size_t at = 0; at < bytes.size(); at += readPieceSize) {
        bytes.providePages(at, at + readPieceSize);
        std::fill(bytes.begin() + at, bytes.begin() + std::min(bytes.size(), at + readPieceSize),
                  static_cast<Byte>(at >> 20));
    }
    const Byte tail[3] = {7, 8, 9};
    bytes.append(tail, 3);
    EXPECT_EQ(bytes[0], 0);
    EXPECT_EQ(bytes[(3 << 20) + 5], 3);
    EXPECT_EQ(bytes[5 << 20], 7);
    EXPECT_EQ(bytes.size(), (5u << 20) + 3);
}

// What a writer handed these pieces gave its sink, and on which threads.
struct Written {
    std::vector<ByteVector> pieces;
    std::vector<std::thread::id> threads;
};

TEST(PieceWriter, WritesThePiecesInTheOrderTheyWereHandedOver) {
    Written written;
    const ContentSink sink = [&](ConstByteSpan piece) {
        written.pieces.emplace_back(piece.begin(), piece.end());
        written.threads.push_back(std::this_thread::get_id());
        return true;
    };
    std::vector<ByteVector> handed;
    {
        PieceWriter writer(sink, 100);
        for (int i = 0; i < 50; ++i) {
            Byte* piece = writer.piece();
            ASSERT_NE(piece, nullptr);
            const std::size_t size = 1 + static_cast<std::size_t>(i * 37) % 100;
            for (std::size_t j = 0; j < size; ++j) {
                piece[j] = static_cast<Byte>(i + j);
            }
            handed.emplace_back(piece, piece + size);
            writer.hand(size);
        }
        EXPECT_TRUE(writer.finish());
    }
    EXPECT_EQ(written.pieces, handed);
    for (const std::thread::id thread : written.threads) {
        EXPECT_EQ(thread, written.threads.front()) << "one call at a time, from one thread";
    }
}

TEST(PieceWriter, ASinkThatFailsIsCalledNoMore) {
    int calls = 0;
    const ContentSink sink = [&](ConstByteSpan) { return ++calls < 3; };
    PieceWriter writer(sink, 10);
    for (int i = 0; i < 20; ++i) {
        Byte* piece = writer.piece();
        if (piece == nullptr) {
            break; // the sink has failed: no more pieces
        }
        writer.hand(10);
    }
    EXPECT_FALSE(writer.finish());
    EXPECT_EQ(calls, 3);
}

TEST(PieceWriter, WhatTheSinkThrowsComesOutOfFinish) {
    const ContentSink sink = [](ConstByteSpan) -> bool { throw std::runtime_error("disk gone"); };
    PieceWriter writer(sink, 10);
    writer.piece();
    writer.hand(10);
    EXPECT_THROW(writer.finish(), std::runtime_error);
}

TEST(PieceWriter, GivenUpWithoutFinishItWritesNothingMore) {
    int calls = 0;
    const ContentSink sink = [&](ConstByteSpan) {
        ++calls;
        return true;
    };
    {
        PieceWriter writer(sink, 10);
        writer.piece();
        writer.hand(10);
        writer.piece();
    } // as when an exception leaves the gathering
    EXPECT_LE(calls, 1);
}

} // namespace
} // namespace keel
