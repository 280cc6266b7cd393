// Standard input and output carry raw bytes: no newline translation on platforms that do it.
#pragma once

namespace taftool {

void UseBinaryStdio();

}  // namespace taftool
