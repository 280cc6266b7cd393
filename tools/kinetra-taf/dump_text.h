// The indented text form of a decoded TAF tree, one field per line, for people reading it.
#pragma once

#include <string>
#include <vector>

#include "common/taf_tree.h"

namespace taftool {

// Each line: the field's byte offset, indentation for its depth, "tag N", its wire type and
// its value; lists, maps and structs are followed by their elements, one level deeper.
std::string DumpText(const std::vector<tafjson::TafField>& fields);

// What a status code of the tree decoder means, for error messages.
const char* DescribeStatus(taf::Status status);

}  // namespace taftool
