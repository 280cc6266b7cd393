#include <unistd.h>

#include "kinetra-sim/terminal.h"

namespace kinetra_sim {

bool StandardErrorIsTerminal() {
    return isatty(STDERR_FILENO) == 1;
}

}  // namespace kinetra_sim
