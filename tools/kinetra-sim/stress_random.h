// The stress run's random choices and its random records: every field of a record filled
// from its table, secrets (tokens, cookies, key words) with a marker the log must never show.
#pragma once

#include <cstdint>
#include <map>
#include <random>
#include <string>
#include <type_traits>
#include <vector>

#include "taf/codec.h"

namespace kinetra_sim {

// Starts every secret the run makes up. Upper case and a digit: the random texts, bytes and
// hex renderings the run produces never contain it by chance.
std::string SecretMarker(std::uint64_t seed);

class StressRandom {
public:
    StressRandom(std::uint64_t seed, std::string secretMarker)
        : mEngine(seed), mSecretMarker(std::move(secretMarker)) {}

    // True with the given chance.
    bool Chance(double probability) { return std::bernoulli_distribution(probability)(mEngine); }
    // Uniform in [low, high].
    std::uint64_t Between(std::uint64_t low, std::uint64_t high) {
        return std::uniform_int_distribution<std::uint64_t>(low, high)(mEngine);
    }
    template <class Container>
    const auto& Pick(const Container& items) {
        return items[Between(0, items.size() - 1)];
    }
    // Mostly small numbers (flags, game ids, types), sometimes extremes.
    std::int64_t Number();
    // Lower-case letters, up to a dozen.
    std::string Text();
    std::string Secret() { return mSecretMarker + Text(); }
    taf::Bytes RandomBytes(std::size_t most);
    // A valid encoding cut short, damaged or kept whole.
    taf::Bytes Damage(taf::Bytes bytes);

private:
    std::mt19937_64 mEngine;
    std::string mSecretMarker;
};

namespace detail {

template <class T>
struct IsVector : std::false_type {};
template <class T>
struct IsVector<std::vector<T>> : std::true_type {};
template <class T>
struct IsMap : std::false_type {};
template <class K, class V>
struct IsMap<std::map<K, V>> : std::true_type {};

// Lists and records stop nesting here: deep enough for every record the plug-in reads.
inline constexpr int kFillDepth = 4;

template <class T>
void Fill(T& value, StressRandom& random, bool secret, int depth) {
    if constexpr (std::is_same_v<T, bool>) {
        value = random.Chance(0.5);
    } else if constexpr (std::is_integral_v<T>) {
        value = static_cast<T>(random.Number());
    } else if constexpr (std::is_floating_point_v<T>) {
        value = static_cast<T>(random.Number()) / 4;
    } else if constexpr (std::is_same_v<T, std::string>) {
        value = secret ? random.Secret() : random.Text();
    } else if constexpr (std::is_same_v<T, taf::Bytes>) {
        value = random.RandomBytes(32);
    } else if constexpr (IsVector<T>::value) {
        const auto count = depth < kFillDepth ? random.Between(0, 2) : 0;
        value.resize(count);
        for (auto& item : value) {
            Fill(item, random, secret, depth + 1);
        }
    } else if constexpr (IsMap<T>::value) {
        for (auto count = depth < kFillDepth ? random.Between(0, 2) : 0; count > 0; --count) {
            typename T::key_type key{};
            Fill(key, random, false, depth + 1);
            Fill(value[key], random, secret, depth + 1);
        }
    } else if constexpr (taf::Record<T>) {
        if (depth < kFillDepth) {
            taf::forEachField(value, [&](const taf::FieldInfo& info, auto& member) {
                Fill(member, random, info.secret, depth + 1);
            });
        }
    }
}

}  // namespace detail

// A record with every field random; secret fields carry the run's marker.
template <taf::Record T>
T RandomRecord(StressRandom& random) {
    T record{};
    detail::Fill(record, random, false, 0);
    return record;
}

}  // namespace kinetra_sim
