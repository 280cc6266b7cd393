// The C runtime opens stdin and stdout in text mode, which would turn 0x0A into 0x0D 0x0A
// and stop reading at 0x1A.
#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "binary_stdio.h"

namespace taftool {

void UseBinaryStdio() {
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
}

}  // namespace taftool
