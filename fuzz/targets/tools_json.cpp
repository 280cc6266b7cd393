// The tools' JSON reader (scenarios, kinetra-taf encode): whatever it accepts prints, in both
// layouts, to text it reads back to the same value; a field tree it accepts encodes to bytes
// that decode and encode again to the same bytes.
#include <string_view>

#include "common/json.h"
#include "common/taf_tree_json.h"
#include "fuzz_target.h"

namespace kinetra::fuzz {
namespace {

void ExpectReprints(const tafjson::Json& value, tafjson::JsonLayout layout) {
    const std::string printed = tafjson::printJson(value, layout);
    tafjson::Json again;
    tafjson::JsonError error;
    Expect(tafjson::parseJson(printed, again, error));
    Expect(tafjson::printJson(again, layout) == printed);
}

}  // namespace

void FuzzToolsJson(Input input) {
    const std::string_view text(reinterpret_cast<const char*>(input.data()), input.size());
    tafjson::Json value;
    tafjson::JsonError error;
    if (!tafjson::parseJson(text, value, error)) {
        return;
    }
    ExpectReprints(value, tafjson::JsonLayout::Lines);
    ExpectReprints(value, tafjson::JsonLayout::OneLine);

    std::vector<tafjson::TafField> fields;
    std::string treeError;
    if (!tafjson::treeFromJson(value, fields, treeError)) {
        return;
    }
    taf::TafOutputStream out;
    tafjson::encodeTree(out, fields);
    const taf::Bytes encoded = out.toBytes();
    std::vector<tafjson::TafField> decoded;
    Expect(tafjson::decodeTree(encoded, decoded).status >= 0);
    taf::TafOutputStream again;
    tafjson::encodeTree(again, decoded);
    Expect(again.toBytes() == encoded);
}

}  // namespace kinetra::fuzz
