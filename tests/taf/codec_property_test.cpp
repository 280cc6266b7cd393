#include <gtest/gtest.h>

#include <random>

#include "taf/codec.h"
#include "taf/test_records.h"

namespace taf {
namespace {

using test::AllKinds;
using test::Holder;
using test::Inner;

// Values biased towards the narrowing and length boundaries, from a fixed seed.
class Generator {
public:
    explicit Generator(std::uint64_t seed) : random_(seed) {}

    std::size_t below(std::size_t n) { return static_cast<std::size_t>(random_() % n); }

    std::int64_t integer() {
        static constexpr std::int64_t kEdges[] = {
            0,     1,      -1,     127,        128,          -128,      -129,     32767,
            32768, -32768, -32769, 2147483647, 2147483648LL, INT64_MIN, INT64_MAX};
        if (below(2) == 0) {
            return kEdges[below(std::size(kEdges))];
        }
        return static_cast<std::int64_t>(random_()) >> below(64);
    }

    template <class Int>
    Int narrow() {
        return static_cast<Int>(integer());
    }

    std::string text() {
        static constexpr std::size_t kLengths[] = {0, 1, 15, 255, 256, 300};
        std::string s(kLengths[below(std::size(kLengths))], '\0');
        for (char& c : s) {
            c = static_cast<char>(random_());
        }
        return s;
    }

    Inner inner() { return {narrow<std::int32_t>(), text()}; }

    template <class T, class Make>
    std::vector<T> list(Make make) {
        std::vector<T> items(below(4));
        for (auto& item : items) {
            item = make();
        }
        return items;
    }

    AllKinds record() {
        AllKinds r;
        r.bFlag = below(2) == 1;
        r.cSmall = narrow<std::int8_t>();
        r.iShort = narrow<std::int16_t>();
        r.iValue = narrow<std::int32_t>();
        r.lBig = integer();
        r.dRatio = below(4) == 0 ? 0.0 : static_cast<double>(integer()) / 7.0;
        r.sText = text();
        const std::string bytes = text();
        r.vData.assign(bytes.begin(), bytes.end());
        r.vNumbers = list<std::int32_t>([&] { return narrow<std::int32_t>(); });
        r.vNames = list<std::string>([&] { return text(); });
        r.vInner = list<Inner>([&] { return inner(); });
        for (std::size_t i = below(5); i > 0; --i) {
            r.vFlags.push_back(below(2) == 1);
        }
        r.vGrid = list<std::vector<std::int8_t>>(
            [&] { return list<std::int8_t>([&] { return narrow<std::int8_t>(); }); });
        for (std::size_t i = below(4); i > 0; --i) {
            r.mpCounts[text()] = integer();
            r.mpInner[narrow<std::int32_t>()] = inner();
            r.mpLists[text()] = list<std::string>([&] { return text(); });
        }
        r.tInner = inner();
        return r;
    }

private:
    std::mt19937_64 random_;
};

TEST(TafCodecProperty, GeneratedRecordsRoundTripToTheSameValueAndBytes) {
    Generator generate(20240601);
    for (int i = 0; i < 300; ++i) {
        const AllKinds original = generate.record();
        const Bytes bytes = toBytes(original);
        AllKinds decoded;
        ASSERT_EQ(fromBytes(bytes, decoded), kOk) << "record " << i;
        ASSERT_EQ(decoded, original) << "record " << i;
        ASSERT_EQ(toBytes(decoded), bytes) << "record " << i;

        Holder<AllKinds> nested;
        ASSERT_EQ(fromBytes(toBytes(Holder<AllKinds>{original, i}), nested), kOk);
        ASSERT_EQ(nested.tRecord, original) << "record " << i;
        ASSERT_EQ(nested.iAfter, i);
    }
}

// A record kept for reuse reads each message as a fresh one would, whatever it held before:
// the same maps, in place when the keys come again in order and through taken-out nodes when
// they do not, and the same status when the bytes are damaged.
TEST(TafCodecProperty, ARecordReadAgainHoldsWhatAFreshOneReads) {
    Generator generate(20261207);
    for (int i = 0; i < 200; ++i) {
        const AllKinds message = generate.record();
        AllKinds fewerKeys = message;
        if (!fewerKeys.mpCounts.empty()) {
            fewerKeys.mpCounts.erase(fewerKeys.mpCounts.begin());
        }
        AllKinds moreKeys = message;
        moreKeys.mpInner[generate.narrow<std::int32_t>()] = generate.inner();
        moreKeys.mpLists[generate.text()] = {"x"};
        const AllKinds helds[] = {message, generate.record(), fewerKeys, moreKeys};

        const Bytes whole = toBytes(message);
        std::vector<Bytes> inputs = {whole};
        for (int damage = 0; damage < 8; ++damage) {
            Bytes damaged = whole;
            damaged[generate.below(damaged.size())] =
                static_cast<std::uint8_t>(generate.below(256));
            inputs.push_back(std::move(damaged));
        }
        inputs.emplace_back(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(
                                                               generate.below(whole.size())));
        for (std::size_t input = 0; input < inputs.size(); ++input) {
            AllKinds fresh;
            const Status freshStatus = fromBytes(inputs[input], fresh);
            for (std::size_t held = 0; held < std::size(helds); ++held) {
                AllKinds reused = helds[held];
                ASSERT_EQ(fromBytes(inputs[input], reused), freshStatus)
                    << "record " << i << ", input " << input << ", held " << held;
                ASSERT_EQ(reused, fresh)
                    << "record " << i << ", input " << input << ", held " << held;
            }
        }
    }
}

}  // namespace
}  // namespace taf
