#include "kinetra-sim/expectation.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "kinetra-sim/trace_event.h"

namespace kinetra_sim {
namespace {

using tafjson::Json;

// The MATCH keys and what each must hold.
enum class Kind { text, number, flag, object };
constexpr std::pair<const char*, Kind> kMatchKeys[] = {
    {"from", Kind::text},     {"to", Kind::text},       {"type", Kind::number},
    {"function", Kind::text}, {"call", Kind::text},     {"uri", Kind::number},
    {"timeout", Kind::flag},  {"fields", Kind::object}, {"args", Kind::object},
};

bool HasKind(const Json& value, Kind kind) {
    switch (kind) {
        case Kind::text:
            return value.is_string();
        case Kind::number:
            return value.is_number_unsigned() || (value.is_number_integer() && value >= 0);
        case Kind::flag:
            return value.is_boolean();
        case Kind::object:
            return value.is_object();
    }
    return false;
}

// `expected` holds within `actual`: objects by the names they give, arrays by position, other
// values equal (numbers by value).
bool Contains(const Json& expected, const Json& actual) {
    if (expected.is_object()) {
        if (!actual.is_object()) {
            return false;
        }
        for (const auto& [key, value] : expected.items()) {
            const Json* found = tafjson::findMember(actual, key);
            if (found == nullptr || !Contains(value, *found)) {
                return false;
            }
        }
        return true;
    }
    if (expected.is_array()) {
        if (!actual.is_array() || actual.size() < expected.size()) {
            return false;
        }
        for (std::size_t i = 0; i < expected.size(); ++i) {
            if (!Contains(expected[i], actual[i])) {
                return false;
            }
        }
        return true;
    }
    return expected == actual;
}

const Json& MemberOr(const Json& line, const char* key, const Json& otherwise) {
    const Json* found = line.is_object() ? tafjson::findMember(line, key) : nullptr;
    return found != nullptr ? *found : otherwise;
}

// Whether one MATCH key holds for the line.
bool KeyHolds(const std::string& key, const Json& expected, const Json& line) {
    static const Json none;
    static const Json no(false);
    if (key == "function") {
        const Json& function = MemberOr(line, "function", none);
        const Json& servant = MemberOr(line, "servant", none);
        return function == expected ||
               (function.is_string() && servant.is_string() &&
                servant.get<std::string>() + "/" + function.get<std::string>() == expected);
    }
    if (key == "uri") {
        return MemberOr(line, "push", none) == expected;
    }
    if (key == "timeout") {
        return MemberOr(line, "timeout", no) == expected;
    }
    if (key == "fields") {
        return Contains(expected, EventFields(line));
    }
    return Contains(expected, MemberOr(line, key.c_str(), none));
}

// How many of the MATCH keys hold: the nearest events are those where most do.
std::size_t Closeness(const Json& match, const Json& line) {
    std::size_t holding = 0;
    for (const auto& [key, expected] : match.items()) {
        holding += KeyHolds(key, expected, line) ? 1 : 0;
    }
    return holding;
}

std::string OneLine(const Json& value) {
    std::string text = tafjson::printJson(value, tafjson::JsonLayout::OneLine);
    text.pop_back();
    return text.size() > 200 ? text.substr(0, 197) + "..." : text;
}

void Quote(std::ostream& messages, const Json& line) {
    messages << "    " << EventSummary(line) << "  " << OneLine(EventFields(line, true)) << "\n";
}

// The events among `lines` where most MATCH keys hold, at most three, in trace order.
void QuoteNearest(std::ostream& messages, const Json& match, const std::vector<Json>& lines,
                  std::size_t from) {
    std::vector<std::pair<std::size_t, std::size_t>> ranked;  // closeness, index
    for (std::size_t i = from; i < lines.size(); ++i) {
        ranked.emplace_back(Closeness(match, lines[i]), i);
    }
    std::ranges::stable_sort(ranked,
                             [](const auto& a, const auto& b) { return a.first > b.first; });
    ranked.resize(std::min<std::size_t>(ranked.size(), 3));
    std::ranges::sort(ranked, {}, &std::pair<std::size_t, std::size_t>::second);
    for (const auto& [closeness, index] : ranked) {
        Quote(messages, lines[index]);
    }
}

}  // namespace

bool ReadExpectation(const Json& step, const std::string& path, ExpectStep& expect,
                     std::string& error) {
    expect.path = path;
    expect.none = step.contains("expect_none");
    const char* matchKey = expect.none ? "expect_none" : "expect";
    const char* windowKey = expect.none ? "for_ms" : "within_ms";
    expect.window = expect.none ? kDefaultExpectNoneFor : kDefaultExpectWithin;
    for (const auto& [key, value] : step.items()) {
        if (key == windowKey) {
            std::int64_t milliseconds = 0;
            if (!tafjson::toInt64(value, milliseconds) || milliseconds < 0 ||
                milliseconds > 3'600'000) {
                error = path + "." + key + ": must be a whole number of milliseconds up to 3600000";
                return false;
            }
            expect.window = std::chrono::milliseconds(milliseconds);
        } else if (key != matchKey) {
            error = path + "." + key + ": unknown key";
            return false;
        }
    }
    expect.match = step[matchKey];
    if (!expect.match.is_object() || expect.match.empty()) {
        error = path + "." + matchKey +
                ": must be an object with any of from, to, type, function, call, uri, timeout, "
                "fields, args";
        return false;
    }
    for (const auto& [key, value] : expect.match.items()) {
        const auto known = std::ranges::find(kMatchKeys, key, &std::pair<const char*, Kind>::first);
        const std::string where = path + "." + matchKey + "." + key;
        if (known == std::end(kMatchKeys)) {
            error = where + ": unknown key";
            return false;
        }
        if (!HasKind(value, known->second)) {
            const char* what[] = {"a string", "a whole number", "true or false", "an object"};
            error = where + ": must be " + what[static_cast<int>(known->second)];
            return false;
        }
    }
    return true;
}

bool MatchesEvent(const Json& match, const Json& line) {
    for (const auto& [key, expected] : match.items()) {
        if (!KeyHolds(key, expected, line)) {
            return false;
        }
    }
    return true;
}

bool CheckExpectation(const ExpectStep& expect, TraceEvents& events, std::size_t from,
                      std::ostream& messages) {
    const auto found =
        events.WaitFor(from, std::chrono::steady_clock::now() + expect.window,
                       [&](const Json& line) { return MatchesEvent(expect.match, line); });
    if (found.has_value() != expect.none) {
        return true;
    }
    const std::vector<Json> lines = events.Lines();
    messages << "kinetra-sim: " << expect.path << ": ";
    if (expect.none) {
        messages << "expected no event " << OneLine(expect.match) << " for "
                 << expect.window.count() << " ms after the previous step, but saw\n";
        Quote(messages, lines[*found]);
        return false;
    }
    messages << "expected " << OneLine(expect.match) << " within " << expect.window.count()
             << " ms after the previous step; ";
    if (from < lines.size()) {
        messages << "the nearest events seen:\n";
        QuoteNearest(messages, expect.match, lines, from);
    } else {
        messages << "no event came after it; the last before it:\n";
        QuoteNearest(messages, expect.match, lines,
                     lines.size() - std::min<std::size_t>(lines.size(), 3));
    }
    return false;
}

}  // namespace kinetra_sim
