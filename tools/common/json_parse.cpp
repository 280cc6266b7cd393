// Reading JSON text into a value: nlohmann's strict reader, with the tools' own refusals of
// duplicate member names and of nesting deeper than they follow.
#include <unordered_set>
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

    // The names seen are kept in a hash set beside the object: the ordered object itself
    // finds a name by walking its members, which made a large object quadratic to read.
    bool key(std::string& name) {
        if (!open_.back().names.insert(name).second) {
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
        Json& parent = *open_.back().value;
        if (parent.is_array()) {
            parent.push_back(std::move(value));
            return &parent.back();
        }
        // Appended without a search: key() has refused a name seen before.
        auto& members = static_cast<Members&>(parent.get_ref<Json::object_t&>());
        members.emplace_back(std::move(key_), std::move(value));
        return &members.back().second;
    }

    bool put(Json value) {
        place(std::move(value));
        return true;
    }

    bool open(Json container) {
        if (open_.size() >= static_cast<std::size_t>(kMaxJsonDepth)) {
            return fail("nested deeper than " + std::to_string(kMaxJsonDepth) + " levels");
        }
        open_.push_back({place(std::move(container)), {}});
        return true;
    }

    bool close() {
        open_.pop_back();
        return true;
    }

    Json& root_;
    JsonError& error_;
    using Members = Json::object_t::Container;
    struct OpenContainer {
        Json* value;
        std::unordered_set<std::string> names;  // of an object
    };
    // The containers being filled, outermost first; each points into its parent, which
    // grows only after it is closed.
    std::vector<OpenContainer> open_;
    std::string key_;
};

}  // namespace

bool parseJson(std::string_view text, Json& value, JsonError& error) {
    error = {};
    ValueBuilder builder(value, error);
    return Json::sax_parse(text.begin(), text.end(), &builder);
}

}  // namespace tafjson
