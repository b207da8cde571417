#include "platform/CoreDumps.h"

#include <sys/prctl.h>
#include <sys/resource.h>

namespace stego::platform {

bool keepSecretsOutOfCoreDumps() noexcept {
    // Both: a limit alone can be raised again by the process's own children,
    // and "not dumpable" alone still lets a core pattern that pipes to a
    // program collect the dump.
    const rlimit none{0, 0};
    const bool limited = ::setrlimit(RLIMIT_CORE, &none) == 0;
    const bool undumpable = ::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0) == 0;
    return limited && undumpable;
}

}  // namespace stego::platform
