// The indented text form of a decoded TAF tree, one field per line, for people reading it.
#pragma once

#include <string>
#include <vector>

#include "common/taf_tree.h"
#include "taf/record_schema.h"

namespace taftool {

// Each line: the field's byte offset, indentation for its depth, "tag N", its wire type and
// its value; lists, maps and structs are followed by their elements, one level deeper. Given
// the record the bytes hold, each field it declares shows its name after the tag, nested
// records too; fields it does not declare, or whose wire type does not fit, show as without it.
std::string DumpText(const std::vector<tafjson::TafField>& fields,
                     const taf::RecordSchema* record = nullptr);

// What a status code of the tree decoder means, for error messages.
const char* DescribeStatus(taf::Status status);

}  // namespace taftool
