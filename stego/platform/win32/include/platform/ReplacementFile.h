// On Windows, a new file that will replace a destination only when it is
// complete: written in a private folder beside it, then moved into place with
// the system's replace-and-flush call. New files take the folder's inherited
// permissions, which serve both modes.
#pragma once

#include <memory>
#include <string>

#include "platform/WinFileStore.h"

namespace stego::platform {

class ReplacementFile {
public:
    enum class NewFileMode { FollowUmask, OwnerOnly };

    ReplacementFile(const std::string& destination, NewFileMode)
        : m_destination(destination), m_scratch(m_files.makeScratchDirectory(destination)),
          m_path(m_scratch->path() + "/replacement") {}

    /// Where the new file is written (a path in the private folder on Windows).
    const std::string& pathThroughHandle() const { return m_path; }
    /// Moves the complete file onto the destination.
    void commit() { m_files.replaceFile(m_path, m_destination); }

private:
    WinFileStore m_files;
    std::string m_destination;
    std::unique_ptr<ScratchDirectory> m_scratch;
    std::string m_path;
};

}  // namespace stego::platform
