// What a row of the engine message table says about a message from the engine: the handlers
// that run for it, in order, each named with the area that binds it, and the messages that
// answer it. Plain constants, so the tools read them without the plug-in's code.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string_view>

namespace kinetra {

enum class ToEngine : std::int32_t;

// Who runs a handler: the game logic, the live logic or the instance itself.
enum class EngineArea : std::uint8_t { games, live, instance };

constexpr std::string_view name(EngineArea area) {
    switch (area) {
        case EngineArea::games:
            return "games";
        case EngineArea::live:
            return "live";
        case EngineArea::instance:
            return "instance";
    }
    return {};
}

struct EngineStep {
    EngineArea area = EngineArea::instance;
    // The name the area binds the handler under (engine_route.h).
    std::string_view handler;
};

namespace step {
constexpr EngineStep games(std::string_view handler) {
    return {EngineArea::games, handler};
}
constexpr EngineStep live(std::string_view handler) {
    return {EngineArea::live, handler};
}
constexpr EngineStep instance(std::string_view handler) {
    return {EngineArea::instance, handler};
}
}  // namespace step

// A short list fixed when the table is compiled; a row longer than `Capacity` does not compile.
template <class T, std::size_t Capacity>
class FixedList {
public:
    constexpr FixedList() = default;
    constexpr FixedList(std::initializer_list<T> items) {
        for (const T& item : items) {
            mItems.at(mSize++) = item;
        }
    }

    constexpr std::size_t size() const { return mSize; }
    constexpr bool empty() const { return mSize == 0; }
    constexpr const T& operator[](std::size_t index) const { return mItems[index]; }
    constexpr const T* begin() const { return mItems.data(); }
    constexpr const T* end() const { return mItems.data() + mSize; }

private:
    std::array<T, Capacity> mItems{};
    std::size_t mSize = 0;
};

// The open notice has the most of both: two handlers, two answers.
using EngineSteps = FixedList<EngineStep, 2>;
using EngineAnswerTypes = FixedList<ToEngine, 2>;

}  // namespace kinetra
