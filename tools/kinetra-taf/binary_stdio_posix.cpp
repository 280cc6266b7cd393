// POSIX streams never translate newlines: nothing to switch.
#include "binary_stdio.h"

namespace taftool {

void UseBinaryStdio() {}

}  // namespace taftool
