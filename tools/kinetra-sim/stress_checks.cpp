#include "kinetra-sim/stress_checks.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>

#include "plugin/engine_inbound.h"

namespace kinetra_sim {
namespace {

std::uint32_t Number(kinetra::FromEngine type) {
    return static_cast<std::uint32_t>(kinetra::number(type));
}
std::uint32_t Number(kinetra::ToEngine type) {
    return static_cast<std::uint32_t>(kinetra::number(type));
}

bool IsOwn(std::uint32_t type) {
    return std::ranges::any_of(kinetra::kOwnMessages,
                               [type](kinetra::ToEngine own) { return Number(own) == type; });
}

std::uint64_t CountOf(const std::map<std::uint32_t, std::uint64_t>& counts, std::uint32_t type) {
    const auto found = counts.find(type);
    return found == counts.end() ? 0 : found->second;
}

// Reads `digits` decimal digits at `at`.
bool Digits(const std::string& line, std::size_t& at, std::size_t digits) {
    for (std::size_t end = at + digits; at < end; ++at) {
        if (at >= line.size() || !std::isdigit(static_cast<unsigned char>(line[at]))) {
            return false;
        }
    }
    return true;
}

bool Literal(const std::string& line, std::size_t& at, std::string_view text) {
    if (line.compare(at, text.size(), text) != 0) {
        return false;
    }
    at += text.size();
    return true;
}

// "%-6d": digits, padded with spaces to six characters at least.
bool PaddedNumber(const std::string& line, std::size_t& at) {
    const std::size_t start = at;
    if (!Digits(line, at, 1)) {
        return false;
    }
    while (at < line.size() && std::isdigit(static_cast<unsigned char>(line[at]))) {
        ++at;
    }
    while (at < line.size() && line[at] == ' ') {
        ++at;
    }
    return at - start >= 6;
}

// A header's middle inside a line's text: two lines written over each other.
bool HasHeaderPiece(const std::string& line, std::size_t from) {
    return line.find("][pid:", from) != std::string::npos;
}

}  // namespace

void TrafficLedger::Engine(const sim::EngineTraffic& traffic) {
    std::lock_guard lock(mMutex);
    if (traffic.direction == sim::EngineTraffic::Direction::toPlugin) {
        ++mTotals.toPlugin;
        if (traffic.channel == sim::SimEngine::kChannel) {
            ++mToPlugin[traffic.type];
        }
        return;
    }
    ++mTotals.toEngine;
    ++mToEngine[traffic.type];
    if (traffic.type == Number(kinetra::ToEngine::kAudioData)) {
        ++mTotals.audioBlocks;
    }
}

void TrafficLedger::Server(const sim::ServerTraffic& traffic) {
    std::lock_guard lock(mMutex);
    switch (traffic.kind) {
        case sim::ServerTraffic::Kind::request:
            ++mRequests;
            ++mTotals.requests;
            break;
        case sim::ServerTraffic::Kind::reply:
            ++mAnswered;
            break;
        case sim::ServerTraffic::Kind::push:
            ++mTotals.pushes;
            break;
    }
}

Broken TrafficLedger::CheckAnswers() const {
    std::lock_guard lock(mMutex);
    for (const auto& [type, sent] : mToEngine) {
        if (IsOwn(type)) {
            continue;
        }
        std::uint64_t asked = 0;
        for (const auto& route : kinetra::kInboundRoutes) {
            if (std::ranges::any_of(route.answers, [sentType = type](kinetra::ToEngine answer) {
                    return Number(answer) == sentType;
                })) {
                asked += CountOf(mToPlugin, Number(route.type));
            }
        }
        if (sent > asked) {
            return "unsolicited answer: the plug-in sent " + std::to_string(sent) +
                   " messages of type " + std::to_string(type) + " for " + std::to_string(asked) +
                   " engine messages that it answers";
        }
    }
    return std::nullopt;
}

Broken TrafficLedger::CheckRequests(std::size_t stillHeld) const {
    std::lock_guard lock(mMutex);
    if (stillHeld > 0 || mAnswered != mRequests) {
        return "unanswered request: " + std::to_string(mRequests) + " requests, " +
               std::to_string(mAnswered) + " answered or timed out, " + std::to_string(stillHeld) +
               " still held by the servers";
    }
    return std::nullopt;
}

bool IsWellFormedLogLine(const std::string& line) {
    std::size_t at = 0;
    const bool header = Literal(line, at, "[") && Digits(line, at, 4) && Literal(line, at, "-") &&
                        Digits(line, at, 2) && Literal(line, at, "-") && Digits(line, at, 2) &&
                        Literal(line, at, " ") && Digits(line, at, 2) && Literal(line, at, ":") &&
                        Digits(line, at, 2) && Literal(line, at, ":") && Digits(line, at, 2) &&
                        Literal(line, at, " ") && Digits(line, at, 3) &&
                        Literal(line, at, "][pid:") && PaddedNumber(line, at) &&
                        Literal(line, at, "][tid:") && PaddedNumber(line, at) &&
                        Literal(line, at, "]");
    if (!header) {
        return false;
    }
    for (const std::string_view level : {"dbg ", "inf ", "act ", "war ", "err "}) {
        if (line.compare(at, level.size(), level) == 0) {
            return !HasHeaderPiece(line, at);
        }
    }
    return false;
}

LogCheck::LogCheck(std::string path, std::string secretMarker)
    : mPath(std::move(path)), mSecretMarker(std::move(secretMarker)) {
    std::ifstream in(mPath, std::ios::binary | std::ios::ate);
    mOffset = in ? static_cast<std::uint64_t>(in.tellg()) : 0;
}

Broken LogCheck::CheckNewLines() {
    std::ifstream in(mPath, std::ios::binary | std::ios::ate);
    if (!in) {
        return std::nullopt;
    }
    const auto size = static_cast<std::uint64_t>(in.tellg());
    // Rotated since the last check: the new file holds only new lines.
    if (size < mOffset) {
        mOffset = 0;
    }
    in.seekg(static_cast<std::streamoff>(mOffset));
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        const std::string line = text.substr(start, end - start);
        // The text of a line is written unchanged, line breaks from the engine or the servers
        // included: what follows one belongs to the line above, when there is one.
        const bool continues = mLines > 0 && !line.starts_with("[") && !HasHeaderPiece(line, 0);
        if (continues) {
            ++mContinued;
        } else if (!IsWellFormedLogLine(line)) {
            return "malformed log line: \"" + line + "\"";
        } else {
            ++mLines;
        }
        if (line.find(mSecretMarker) != std::string::npos) {
            return "secret in the log: \"" + line + "\"";
        }
    }
    if (start != text.size()) {
        return "malformed log line: \"" + text.substr(start) + "\" has no CR LF";
    }
    mOffset += text.size();
    return std::nullopt;
}

Broken HeapTrend::Check() const {
    if (mSamples.size() < kHeapMinCycles) {
        return std::nullopt;
    }
    const std::size_t early = *std::max_element(mSamples.begin() + 1, mSamples.begin() + 4);
    const std::size_t late = *std::min_element(mSamples.end() - 3, mSamples.end());
    if (late > early + kHeapMargin) {
        return "growing heap: " + Describe();
    }
    return std::nullopt;
}

std::string HeapTrend::Describe() const {
    if (mSamples.size() < kHeapMinCycles) {
        return "heap not judged (" + std::to_string(mSamples.size()) + " cycles, " +
               std::to_string(kHeapMinCycles) + " needed)";
    }
    const std::size_t early = *std::max_element(mSamples.begin() + 1, mSamples.begin() + 4);
    const std::size_t late = *std::min_element(mSamples.end() - 3, mSamples.end());
    return "heap early " + std::to_string(early / 1024) + " KiB, late " +
           std::to_string(late / 1024) + " KiB";
}

}  // namespace kinetra_sim
