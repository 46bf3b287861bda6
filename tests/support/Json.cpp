// SPDX-License-Identifier: MIT
#include "support/Json.h"

#include <cerrno>
#include <iconv.h>
#include <stdexcept>
#include <vector>

namespace keel::test {

bool isWellFormedUtf8(std::string_view text) {
    // The C library reads UTF-8 up to the old six-byte forms; what it gives as UTF-32 is then
    // held to Unicode's range, without surrogates.
    const iconv_t converter = ::iconv_open("UTF-32LE", "UTF-8");
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        throw std::runtime_error("no UTF-8 converter");
    }
    std::vector<char> in(text.begin(), text.end());
    std::vector<char32_t> out(text.size() + 1);
    char* inAt = in.data();
    std::size_t inLeft = in.size();
    char* outAt = reinterpret_cast<char*>(out.data());
    std::size_t outLeft = out.size() * sizeof(char32_t);
    const std::size_t converted = ::iconv(converter, &inAt, &inLeft, &outAt, &outLeft);
    ::iconv_close(converter);
    if (converted == static_cast<std::size_t>(-1) || inLeft != 0) {
        return false;
    }
    const std::size_t characters = out.size() - outLeft / sizeof(char32_t);
    for (std::size_t i = 0; i < characters; ++i) {
        if (out[i] > 0x10FFFF || (out[i] >= 0xD800 && out[i] <= 0xDFFF)) {
            return false;
        }
    }
    return true;
}

class JsonParser {
public:
    explicit JsonParser(std::string_view text) : text_(text) {}

    Json document() {
        if (!isWellFormedUtf8(text_)) {
            fail("the text is not UTF-8");
        }
        Json value = parseValue();
        skipSpace();
        if (at_ != text_.size()) {
            fail("text after the value");
        }
        return value;
    }

private:
    [[noreturn]] void fail(const std::string& what) const {
        throw std::runtime_error("not JSON at byte " + std::to_string(at_) + ": " + what);
    }
    void skipSpace() {
        while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\n' ||
                                      text_[at_] == '\t' || text_[at_] == '\r')) {
            ++at_;
        }
    }
    char next() {
        if (at_ >= text_.size()) {
            fail("the text ends early");
        }
        return text_[at_++];
    }
    void expect(char c) {
        if (next() != c) {
            fail(std::string("expected '") + c + "'");
        }
    }
    bool take(std::string_view word) {
        if (text_.substr(at_, word.size()) == word) {
            at_ += word.size();
            return true;
        }
        return false;
    }

    Json parseValue() {
        skipSpace();
        Json value;
        if (at_ >= text_.size()) {
            fail("no value");
        }
        const char c = text_[at_];
        if (c == '{') {
            value.value_ = parseObject();
        } else if (c == '[') {
            value.value_ = parseArray();
        } else if (c == '"') {
            value.value_ = parseString();
        } else if (take("null")) {
            value.value_ = nullptr;
        } else if (take("true")) {
            value.value_ = true;
        } else if (take("false")) {
            value.value_ = false;
        } else if (c == '-' || (c >= '0' && c <= '9')) {
            value.value_ = parseInteger();
        } else {
            fail("no value");
        }
        return value;
    }

    Json::Object parseObject() {
        expect('{');
        Json::Object object;
        skipSpace();
        if (take("}")) {
            return object;
        }
        for (;;) {
            skipSpace();
            std::string key = parseString();
            skipSpace();
            expect(':');
            if (!object.emplace(std::move(key), parseValue()).second) {
                fail("a member named twice");
            }
            skipSpace();
            if (take("}")) {
                return object;
            }
            expect(',');
        }
    }

    Json::Array parseArray() {
        expect('[');
        Json::Array array;
        skipSpace();
        if (take("]")) {
            return array;
        }
        for (;;) {
            array.push_back(parseValue());
            skipSpace();
            if (take("]")) {
                return array;
            }
            expect(',');
        }
    }

    std::int64_t parseInteger() {
        const std::size_t start = at_;
        if (text_[at_] == '-') {
            ++at_;
        }
        while (at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9') {
            ++at_;
        }
        if (at_ < text_.size() && (text_[at_] == '.' || text_[at_] == 'e' || text_[at_] == 'E')) {
            fail("only whole numbers are expected");
        }
        return std::stoll(std::string(text_.substr(start, at_ - start)));
    }

    static void appendUtf8(std::string& out, unsigned code) {
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }

    std::string parseString() {
        expect('"');
        std::string out;
        for (;;) {
            const char c = next();
            if (c == '"') {
                return out;
            }
            if (static_cast<unsigned char>(c) < 0x20) {
                fail("a control character in a string");
            }
            if (c != '\\') {
                out += c;
                continue;
            }
            const char escaped = next();
            switch (escaped) {
            case '"':
            case '\\':
            case '/':
                out += escaped;
                break;
            case 'n':
                out += '\n';
                break;
            case 't':
                out += '\t';
                break;
            case 'r':
                out += '\r';
                break;
            case 'b':
                out += '\b';
                break;
            case 'f':
                out += '\f';
                break;
            case 'u': {
                if (at_ + 4 > text_.size()) {
                    fail("a short \\u escape");
                }
                appendUtf8(out, static_cast<unsigned>(
                                    std::stoul(std::string(text_.substr(at_, 4)), nullptr, 16)));
                at_ += 4;
                break;
            }
            default:
                fail("an unknown escape");
            }
        }
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

Json Json::parse(std::string_view text) {
    return JsonParser(text).document();
}

} // namespace keel::test
