// A new file that will replace a destination only when it is complete: written
// through its handle, unnamed where the system allows (so that a crash leaves
// nothing), and put in place with one rename.
#pragma once

#include <optional>
#include <string>
#include <sys/types.h>

#include "platform/PrivateFolder.h"

namespace stego::platform {

class ReplacementFile {
public:
    /// What a destination that does not exist yet is created with: a picture
    /// follows the umask; a decrypted or extracted file is for its owner only.
    enum class NewFileMode { FollowUmask, OwnerOnly };

    /// Creates the file in a private folder beside destination. Throws stego::Failure.
    ReplacementFile(const std::string& destination, NewFileMode mode);
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;
    /// Discards the file unless it was committed.
    ~ReplacementFile();

    int fd() const { return m_fd; }
    /// A path that reaches the open file itself, for code that only takes paths.
    const std::string& pathThroughHandle() const { return m_handlePath; }
    /// Flushes the file to the disk, gives it an existing destination's
    /// permissions (and owner where allowed) and renames it onto the destination.
    void commit();

private:
    std::string m_destination;
    PrivateFolder m_folder;
    int m_fd = -1;
    bool m_unnamed = false;
    std::string m_handlePath;
};

/// Gives the open file fd the permission bits (and the owner and group, where
/// this user may) of the file at destination, or modeIfNew (if any) when there is none.
/// A replaced file so keeps the privacy its owner gave it.
void takeOverPermissions(int fd, const std::string& destination, std::optional<mode_t> modeIfNew,
                         const std::string& shownPath);

/// Flushes the folder opened as folderFd, so that a rename in it survives a crash.
void syncFolder(int folderFd);

}  // namespace stego::platform
