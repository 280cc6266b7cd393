// How a line's text reaches the log file. Peers put text in lines (an engine's user agent, a
// server's message), so text is escaped and cut here: a peer could otherwise forge a whole line
// with a line break and a fake header, send terminal escape sequences to whoever reads the log,
// or fill the file with one huge line.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace core::internal {

// Appends `text` to `out`, taking at most `limit` bytes of `out`: bytes below 0x20, 0x7F, C1
// control characters and bytes that are not part of valid UTF-8 are written as \r, \n, \t or
// \xHH; everything else (the plug-in's own text) as it stands. An escape is never split. Returns
// how many bytes of `text` it wrote.
std::size_t AppendLogText(std::string& out, std::string_view text, std::size_t limit);

// The marker written after a cut line's text.
void AppendCutMarker(std::string& out, std::size_t cut_bytes);

}  // namespace core::internal
