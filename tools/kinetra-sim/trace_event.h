// One line of the JSON trace read back as an event: its lane, a short label, its record's
// fields by name and its bytes. Shared by expectations, the HTML page and the trace diff, which
// all work from the JSON form so that they read saved traces too. Lines of a kind these do not
// know still get a label and their members as fields.
#pragma once

#include <string>

#include "common/json.h"

namespace kinetra_sim {

// "from" or "to" of the line; empty when absent or not a string.
std::string EventEnd(const tafjson::Json& line, const char* key);

// "2001 open or close notice", "mobileui/getConfig request", "push 1400", "CreateSource".
std::string EventLabel(const tafjson::Json& line);

// "[  231 ms]  plugin -> engine  2014 game id": for messages that quote an event.
std::string EventSummary(const tafjson::Json& line);

// The decoded record with field names where the plug-in's tables know the record (fields they
// do not know keep their tag number as name; lists are arrays, maps with text keys objects);
// a host call's arguments; the other members of a line of an unknown kind. With
// `hideSecrets`, the fields the tables keep out of the log (tokens, cookies) read "*****", for
// what people read.
tafjson::Json EventFields(const tafjson::Json& line, bool hideSecrets = false);

// The payload, request or response bytes as hex ("" when the line has none).
std::string EventHex(const tafjson::Json& line);

// A time-out, an error, a return value other than 0 or bytes that do not decode.
bool EventIsTrouble(const tafjson::Json& line);

// The line without its time, as two runs of one scenario compare.
tafjson::Json WithoutTime(const tafjson::Json& line);

}  // namespace kinetra_sim
