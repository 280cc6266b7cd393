// Hex text of bytes: captured messages pasted from logs, and byte payloads in the JSON form.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "taf/wire.h"

namespace tafjson {

// Reads pairs of hex digits. Whitespace and commas separate groups, and a group may start
// with "0x", so "0a0b", "0a 0b" and "0x0A, 0x0B" all read as the same two bytes.
bool parseHexText(std::string_view text, taf::Bytes& bytes);

// Lowercase digits without separators.
std::string toHex(std::span<const std::uint8_t> bytes);

// Lowercase byte pairs separated by blanks, sixteen to a line.
std::string toHexLines(std::span<const std::uint8_t> bytes);

}  // namespace tafjson
