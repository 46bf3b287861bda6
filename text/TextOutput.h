// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace keel {

// Takes the next piece of a text; false when it could not be written, which ends the writing.
using TextSink = std::function<bool(std::string_view piece)>;

// Gathers a text and hands it on in pieces of about a megabyte, so that a large text is never
// held whole.
class TextPieces {
public:
    explicit TextPieces(const TextSink& sink) : sink_(sink) { text_.reserve(pieceSize + pieceSize / 4); }

    std::string& text() { return text_; }
    // Hands the text on once it has grown to a piece.
    bool flushFull() { return text_.size() < pieceSize || flush(); }
    bool flush() {
        const bool written = text_.empty() || sink_(text_);
        text_.clear();
        return written;
    }

private:
    static constexpr std::size_t pieceSize = std::size_t{1} << 20;
    const TextSink& sink_;
    std::string text_;
};

// The whole text a writer hands on.
template <typename Write> std::string wholeText(Write write) {
    std::string whole;
    write([&](std::string_view piece) {
        whole += piece;
        return true;
    });
    return whole;
}

} // namespace keel
