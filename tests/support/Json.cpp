// SPDX-License-Identifier: MIT
#include "support/Json.h"

#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace keel::test {
namespace {

// Refuses a member named twice in one object, which the library's own parser lets through
// (keeping the last).
class RepeatedMemberCheck : public nlohmann::json_sax<JsonDocument> {
public:
    bool null() override { return true; }
    bool boolean(bool) override { return true; }
    bool number_integer(number_integer_t) override { return true; }
    bool number_unsigned(number_unsigned_t) override { return true; }
    bool number_float(number_float_t, const string_t&) override { return true; }
    bool string(string_t&) override { return true; }
    bool binary(binary_t&) override { return true; }
    bool start_object(std::size_t) override {
        members_.emplace_back();
        return true;
    }
    bool key(string_t& name) override {
        if (!members_.back().insert(name).second) {
            throw std::runtime_error("not JSON: the member \"" + name + "\" named twice");
        }
        return true;
    }
    bool end_object() override {
        members_.pop_back();
        return true;
    }
    bool start_array(std::size_t) override { return true; }
    bool end_array() override { return true; }
    bool parse_error(std::size_t, const std::string&,
                     const nlohmann::detail::exception& fault) override {
        throw std::runtime_error(std::string("not JSON: ") + fault.what());
    }

private:
    std::vector<std::set<std::string>> members_;
};

} // namespace

JsonDocument parseJson(std::string_view text) {
    RepeatedMemberCheck check;
    JsonDocument::sax_parse(text, &check);
    return JsonDocument::parse(text);
}

bool isWellFormedUtf8(std::string_view text) {
    try {
        (void)nlohmann::json(std::string(text)).dump();
        return true;
    } catch (const nlohmann::json::type_error&) {
        return false;
    }
}

} // namespace keel::test
