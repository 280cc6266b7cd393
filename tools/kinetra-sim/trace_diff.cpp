#include "kinetra-sim/trace_diff.h"

#include <algorithm>
#include <fstream>
#include <optional>
#include <vector>

#include "kinetra-sim/trace_event.h"

namespace kinetra_sim {
namespace {

using tafjson::Json;

// Traces longer than this are compared by position after their common start and end: the
// alignment's table grows with the product of the two lengths.
constexpr std::size_t kMaxAlignedCells = 16'000'000;
// Longest value a change shows before it is cut.
constexpr std::size_t kShownValue = 120;

struct Event {
    std::size_t lineNumber = 0;
    Json line;        // without its time
    std::string key;  // what an event must share with its counterpart to count as changed
};

// The trace's events; nullopt after writing the file and line that is not a trace line.
std::optional<std::vector<Event>> ReadTrace(const std::string& path, std::ostream& messages) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        messages << "kinetra-sim diff: cannot read " << path << "\n";
        return std::nullopt;
    }
    std::vector<Event> events;
    std::string text;
    for (std::size_t number = 1; std::getline(in, text); ++number) {
        if (!text.empty() && text.back() == '\r') {
            text.pop_back();
        }
        if (text.empty()) {
            continue;
        }
        Json line;
        tafjson::JsonError error;
        if (!tafjson::parseJson(text, line, error) || !line.is_object()) {
            messages << "kinetra-sim diff: " << path << ":" << number << ": "
                     << (error.message.empty() ? "not a JSON object"
                                               : "invalid JSON: " + error.message)
                     << "\n";
            return std::nullopt;
        }
        Event event{number, WithoutTime(line), {}};
        event.key = EventEnd(event.line, "from") + ">" + EventEnd(event.line, "to") + " " +
                    EventLabel(event.line);
        // A reply's return value is among its fields, not what makes it the same event.
        if (const auto ret = event.key.find(", ret "); ret != std::string::npos) {
            event.key.resize(ret);
        }
        events.push_back(std::move(event));
    }
    return events;
}

std::string Shown(const Json* value) {
    if (value == nullptr) {
        return "(none)";
    }
    std::string text = tafjson::printJson(*value, tafjson::JsonLayout::OneLine);
    text.pop_back();
    return text.size() > kShownValue ? text.substr(0, kShownValue - 3) + "..." : text;
}

std::string Join(const std::string& path, const std::string& name) {
    return path.empty() ? name : path + "." + name;
}

// Every place where `a` and `b` differ, by field name ("tUpdater.sVersion") and list
// position ("vImage[1]").
void Differences(const std::string& path, const Json* a, const Json* b,
                 std::vector<std::string>& found) {
    if (a != nullptr && b != nullptr && *a == *b) {
        return;
    }
    if (a != nullptr && b != nullptr && a->is_object() && b->is_object()) {
        for (const auto& [key, value] : a->items()) {
            Differences(Join(path, key), &value, tafjson::findMember(*b, key), found);
        }
        for (const auto& [key, value] : b->items()) {
            if (tafjson::findMember(*a, key) == nullptr) {
                Differences(Join(path, key), nullptr, &value, found);
            }
        }
        return;
    }
    if (a != nullptr && b != nullptr && a->is_array() && b->is_array()) {
        for (std::size_t i = 0; i < std::max(a->size(), b->size()); ++i) {
            Differences(path + "[" + std::to_string(i) + "]", i < a->size() ? &(*a)[i] : nullptr,
                        i < b->size() ? &(*b)[i] : nullptr, found);
        }
        return;
    }
    found.push_back((path.empty() ? std::string("value") : path) + " " + Shown(a) + " -> " +
                    Shown(b));
}

// What differs between two events with one key: their fields by name, then the line's other
// members (a return value, a request id, a channel).
std::vector<std::string> Changes(const Json& a, const Json& b) {
    std::vector<std::string> found;
    const Json fieldsA = EventFields(a);
    const Json fieldsB = EventFields(b);
    Differences("", &fieldsA, &fieldsB, found);
    Json restA = a;
    Json restB = b;
    for (const char* member : {"payload", "request", "response", "args", "hex"}) {
        restA.erase(member);
        restB.erase(member);
    }
    Differences("", &restA, &restB, found);
    if (found.empty() && a != b) {
        // Only the bytes differ where the fields read the same (a wire type, a cut payload).
        found.push_back("bytes " + EventHex(a) + " -> " + EventHex(b));
    }
    return found;
}

// Pairs of indexes of events that share their key, in order, as many as can be: the longest
// common subsequence of the keys between the common start and end.
std::vector<std::pair<std::size_t, std::size_t>> Align(const std::vector<Event>& a,
                                                       const std::vector<Event>& b) {
    std::vector<std::pair<std::size_t, std::size_t>> pairs;
    std::size_t head = 0;
    while (head < a.size() && head < b.size() && a[head].key == b[head].key) {
        pairs.emplace_back(head, head);
        ++head;
    }
    std::size_t tail = 0;
    while (tail < a.size() - head && tail < b.size() - head &&
           a[a.size() - 1 - tail].key == b[b.size() - 1 - tail].key) {
        ++tail;
    }
    const std::size_t n = a.size() - head - tail;
    const std::size_t m = b.size() - head - tail;
    if (n * m <= kMaxAlignedCells) {
        // lengths[i][j]: the longest common run of a[head+i..] and b[head+j..].
        std::vector<std::uint32_t> lengths((n + 1) * (m + 1), 0);
        const auto at = [&](std::size_t i, std::size_t j) -> std::uint32_t& {
            return lengths[i * (m + 1) + j];
        };
        for (std::size_t i = n; i-- > 0;) {
            for (std::size_t j = m; j-- > 0;) {
                at(i, j) = a[head + i].key == b[head + j].key
                               ? at(i + 1, j + 1) + 1
                               : std::max(at(i + 1, j), at(i, j + 1));
            }
        }
        for (std::size_t i = 0, j = 0; i < n && j < m;) {
            if (a[head + i].key == b[head + j].key) {
                pairs.emplace_back(head + i++, head + j++);
            } else if (at(i + 1, j) >= at(i, j + 1)) {
                ++i;
            } else {
                ++j;
            }
        }
    } else {
        for (std::size_t i = 0; i < std::min(n, m); ++i) {
            if (a[head + i].key == b[head + i].key) {
                pairs.emplace_back(head + i, head + i);
            }
        }
    }
    for (std::size_t i = 0; i < tail; ++i) {
        pairs.emplace_back(a.size() - tail + i, b.size() - tail + i);
    }
    return pairs;
}

std::string Described(const Event& event) {
    return EventEnd(event.line, "from") + " -> " + EventEnd(event.line, "to") + "  " +
           EventLabel(event.line);
}

}  // namespace

int DiffTraces(const std::string& pathA, const std::string& pathB, std::ostream& out,
               std::ostream& messages) {
    const auto a = ReadTrace(pathA, messages);
    if (!a) {
        return kDiffUnreadable;
    }
    const auto b = ReadTrace(pathB, messages);
    if (!b) {
        return kDiffUnreadable;
    }
    std::size_t onlyA = 0;
    std::size_t onlyB = 0;
    std::size_t changed = 0;
    std::size_t nextA = 0;
    std::size_t nextB = 0;
    const auto unmatched = [&](std::size_t untilA, std::size_t untilB) {
        for (; nextA < untilA; ++nextA, ++onlyA) {
            out << "only in A  (line " << (*a)[nextA].lineNumber << ")  " << Described((*a)[nextA])
                << "\n";
        }
        for (; nextB < untilB; ++nextB, ++onlyB) {
            out << "only in B  (line " << (*b)[nextB].lineNumber << ")  " << Described((*b)[nextB])
                << "\n";
        }
    };
    for (const auto& [i, j] : Align(*a, *b)) {
        unmatched(i, j);
        const Event& eventA = (*a)[i];
        const Event& eventB = (*b)[j];
        if (eventA.line != eventB.line) {
            ++changed;
            out << "changed    (lines " << eventA.lineNumber << ", " << eventB.lineNumber << ")  "
                << Described(eventA) << ":";
            const char* separator = " ";
            for (const auto& change : Changes(eventA.line, eventB.line)) {
                out << separator << change;
                separator = "; ";
            }
            out << "\n";
        }
        nextA = i + 1;
        nextB = j + 1;
    }
    unmatched(a->size(), b->size());
    if (onlyA + onlyB + changed == 0) {
        out << "the traces match (" << a->size() << " events, times left out)\n";
        return kDiffSame;
    }
    out << changed << " changed, " << onlyA << " only in A (" << pathA << "), " << onlyB
        << " only in B (" << pathB << ")\n";
    return kDiffDiffer;
}

}  // namespace kinetra_sim
