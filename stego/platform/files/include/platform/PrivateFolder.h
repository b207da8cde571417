// A folder only this user can enter, made beside a destination and held open
// by a handle, so that another user who may write the destination's folder
// cannot slip a folder of their own in under its name.
#pragma once

#include <string>

namespace stego::platform {

class PrivateFolder {
public:
    /// Makes ".pixquill-<pid>-XXXXXX" (mode 0700) in folder, first removing this
    /// user's leftovers there whose process has gone. Throws stego::Failure.
    explicit PrivateFolder(const std::string& folder);
    PrivateFolder(const PrivateFolder&) = delete;
    PrivateFolder& operator=(const PrivateFolder&) = delete;
    /// Removes the folder and the files in it, through the handle.
    ~PrivateFolder();

    int fd() const { return m_fd; }
    int parentFd() const { return m_parentFd; }
    const std::string& name() const { return m_name; }
    /// The folder's own path, for messages.
    const std::string& path() const { return m_path; }
    /// A path that reaches the folder through its handle (/proc/self/fd/N where
    /// the system offers it), for code that only takes paths.
    const std::string& pathThroughHandle() const { return m_handlePath; }

private:
    int m_parentFd = -1;
    int m_fd = -1;
    std::string m_name;
    std::string m_path;
    std::string m_handlePath;
};

/// Whether an open file can be reached by a path (/proc/self/fd/N) on this system.
bool handlesHavePaths();

/// "/proc/self/fd/N" when the system offers such names, otherwise fallback.
std::string pathThroughHandle(int fd, const std::string& fallback);

/// Removes this user's ".pixquill-<pid>-*" folders in the folder opened as
/// parentFd whose process is gone, with the files in them. Folders of other
/// users, of live processes or of unexpected shape are left alone.
void removeStalePrivateFolders(int parentFd);

/// The folder part of path ("." for a bare name).
std::string folderHolding(const std::string& path);

}  // namespace stego::platform
