// kinetra-taf's schema-less decoder and what it prints (dump as text and JSON, frame): a tree
// it decodes encodes to bytes that decode again to a tree of the same bytes, and its JSON form
// reads back to those bytes.
#include "common/taf_tree_json.h"
#include "dump_text.h"
#include "frame_text.h"
#include "fuzz_target.h"

namespace kinetra::fuzz {
namespace {

taf::Bytes Encoded(const std::vector<tafjson::TafField>& fields) {
    taf::TafOutputStream out;
    tafjson::encodeTree(out, fields);
    return out.toBytes();
}

}  // namespace

void FuzzTafTree(Input input) {
    std::vector<tafjson::TafField> fields;
    const tafjson::TreeDecodeResult result = tafjson::decodeTree(input, fields);
    // The tool prints what it read also when the bytes end in a fault.
    static_cast<void>(taftool::DumpText(fields));
    const std::string json = tafjson::printJson(tafjson::treeToJson(fields));
    static_cast<void>(taftool::DescribeFrame(input, false));
    static_cast<void>(taftool::DescribeFrame(input, true));
    if (result.status < 0) {
        return;
    }
    const taf::Bytes encoded = Encoded(fields);
    std::vector<tafjson::TafField> again;
    Expect(tafjson::decodeTree(encoded, again).status >= 0);
    Expect(Encoded(again) == encoded);

    tafjson::Json value;
    tafjson::JsonError error;
    Expect(tafjson::parseJson(json, value, error));
    std::vector<tafjson::TafField> fromJson;
    std::string treeError;
    Expect(tafjson::treeFromJson(value, fromJson, treeError));
    Expect(Encoded(fromJson) == encoded);
}

}  // namespace kinetra::fuzz
