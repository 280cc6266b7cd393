// Every payload record the engine sends: the first byte picks the message from the engine
// message table, the rest is its payload, decoded as the plug-in decodes it.
#include <tuple>
#include <type_traits>

#include "core/json_parse.h"
#include "fuzz_target.h"
#include "live/presenter_dialog.h"
#include "plugin/engine_messages.h"
#include "record_property.h"

namespace kinetra::fuzz {
namespace {

// The inbound rows that carry a record, in table order.
template <class Row>
constexpr bool kDecodedInbound =
    std::is_same_v<decltype(Row::type), FromEngine> && !std::is_void_v<typename Row::PayloadRecord>;

constexpr std::size_t kInboundRecords = std::apply(
    [](const auto&... row) {
        return (std::size_t{0} + ... +
                (kDecodedInbound<std::remove_cvref_t<decltype(row)>> ? 1 : 0));
    },
    kEngineMessages);
static_assert(kInboundRecords > 0);

// What the plug-in makes of a record besides decoding it, where that reads its fields.
template <class T>
void CheckUse(const T& record) {
    if constexpr (std::is_same_v<T, MeruKinetra::PresenterDialogReq>) {
        // The engine's texts go to the presenter service inside JSON, which must stay JSON.
        const std::string json = PresenterDialogJson(record);
        meru::json_node* tree = meru::json_parse(json.c_str());
        Expect(tree != nullptr);
        meru::json_delete(tree);
    }
}

}  // namespace

void FuzzEnginePayload(Input input) {
    if (input.empty()) {
        return;
    }
    const std::size_t wanted = input[0] % kInboundRecords;
    const Input payload = input.subspan(1);
    std::size_t index = 0;
    std::apply(
        [&](const auto&... row) {
            const auto visit = [&](const auto& one) {
                using Row = std::remove_cvref_t<decltype(one)>;
                if constexpr (kDecodedInbound<Row>) {
                    if (index++ == wanted) {
                        CheckUse(DecodeLenientAndCheck<typename Row::PayloadRecord>(payload));
                    }
                }
            };
            (visit(row), ...);
        },
        kEngineMessages);
}

}  // namespace kinetra::fuzz
