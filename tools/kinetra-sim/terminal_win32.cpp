#include <io.h>

#include <cstdio>

#include "kinetra-sim/terminal.h"

namespace kinetra_sim {

bool StandardErrorIsTerminal() {
    return _isatty(_fileno(stderr)) != 0;
}

}  // namespace kinetra_sim
