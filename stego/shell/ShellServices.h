// Everything the windows reach beyond themselves, handed to their constructors:
// real objects in the program, scripted ones in the tests.
#pragma once

#include <functional>

#include "engine/Commands.h"
#include "platform/FileDialogs.h"
#include "platform/MessageBoxes.h"
#include "platform/ModalWindows.h"
#include "platform/TimerFactory.h"

namespace stego::shell {

struct ShellServices {
    platform::FileDialogs& fileDialogs;
    platform::MessageBoxes& messageBoxes;
    platform::ModalWindows& modalWindows;
    platform::TimerFactory& timers;
    EngineServices& engine;
    /// Closes every window and ends the program.
    std::function<void()> endProgram;
};

}  // namespace stego::shell
