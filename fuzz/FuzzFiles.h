// The files of a fuzz target: the platform's file store, and the private folder
// (mode 0700) the target makes at start-up and that goes when the process ends.
#pragma once

#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "engine/FileStore.h"
#include "platform/PosixFileStore.h"

namespace fuzzing {

inline stego::platform::PosixFileStore& fileStore() {
    static stego::platform::PosixFileStore files;
    return files;
}

/// Empty until the target's LLVMFuzzerInitialize makes it with makePrivateFolder.
inline std::unique_ptr<stego::ScratchDirectory>& privateFolder() {
    static std::unique_ptr<stego::ScratchDirectory> folder;
    return folder;
}

inline const std::string& makePrivateFolder() {
    privateFolder() = fileStore().makeScratchDirectory({});
    return privateFolder()->path();
}

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace fuzzing
