// Reading JSON text into a value: nlohmann's strict reader, with the tools' own refusals of
// duplicate member names and of nesting deeper than they follow.
#include <utility>
#include <vector>

#include "common/json.h"

namespace tafjson {
namespace {

// Builds the value from the reader's events. The reader keeps its own state in a stack, not
// in recursion; refusing depth here keeps every later walk of the value bounded.
class ValueBuilder {
public:
    ValueBuilder(Json& root, JsonError& error) : root_(root), error_(error) {}

    bool null() { return put(nullptr); }
    bool boolean(bool value) { return put(value); }
    bool number_integer(Json::number_integer_t value) { return put(value); }
    bool number_unsigned(Json::number_unsigned_t value) { return put(value); }
    bool number_float(Json::number_float_t value, const std::string&) { return put(value); }
    bool string(std::string& value) { return put(std::move(value)); }
    bool binary(Json::binary_t&) { return false; }  // JSON text has no binary values

    bool start_object(std::size_t) { return open(Json::object()); }
    bool start_array(std::size_t) { return open(Json::array()); }
    bool end_object() { return close(); }
    bool end_array() { return close(); }

    bool key(std::string& name) {
        if (open_.back()->contains(name)) {
            return fail("duplicate member \"" + name + "\"");
        }
        key_ = std::move(name);
        return true;
    }

    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& ex) {
        // The reader's text reads "[json.exception.parse_error.N] parse error at line L,
        // column C: why"; the tools say where as a byte offset instead.
        const std::string what = ex.what();
        const std::size_t why = what.find(": ", what.find("parse error"));
        error_.message = why == std::string::npos ? what : what.substr(why + 2);
        const auto* parseError = dynamic_cast<const nlohmann::detail::parse_error*>(&ex);
        error_.offset = parseError != nullptr && parseError->byte > 0 ? parseError->byte - 1 : 0;
        return false;
    }

private:
    bool fail(std::string message) {
        error_.message = std::move(message);
        return false;
    }

    Json* place(Json value) {
        if (open_.empty()) {
            root_ = std::move(value);
            return &root_;
        }
        Json& parent = *open_.back();
        if (parent.is_array()) {
            parent.push_back(std::move(value));
            return &parent.back();
        }
        return &(parent[key_] = std::move(value));
    }

    bool put(Json value) {
        place(std::move(value));
        return true;
    }

    bool open(Json container) {
        if (open_.size() >= static_cast<std::size_t>(kMaxJsonDepth)) {
            return fail("nested deeper than " + std::to_string(kMaxJsonDepth) + " levels");
        }
        open_.push_back(place(std::move(container)));
        return true;
    }

    bool close() {
        open_.pop_back();
        return true;
    }

    Json& root_;
    JsonError& error_;
    // The containers being filled, outermost first; each points into its parent, which
    // grows only after it is closed.
    std::vector<Json*> open_;
    std::string key_;
};

}  // namespace

bool parseJson(std::string_view text, Json& value, JsonError& error) {
    error = {};
    ValueBuilder builder(value, error);
    return Json::sax_parse(text.begin(), text.end(), &builder);
}

}  // namespace tafjson
