// Reading registry records from a POSIX file system, without trusting the file.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "RecordFile.h"
#include "TrustedPaths.h"
#include "comsupport/ComError.h"

namespace comrt {
namespace {
[[noreturn]] void refuse(const std::filesystem::path& file, const std::string& problem) {
    throw com::ComError(REGDB_E_CLASSNOTREG, "the registration record " + file.string() + " " + problem +
                                                 ": remove it and register the library again with corvid-regsvr");
}
}  // namespace

std::optional<std::string> RecordFile::readText(const std::filesystem::path& file) {
    // Not through a link (/dev/zero), and never waiting on a pipe.
    const int fd = ::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT)
            return std::nullopt;
        if (errno == ELOOP)
            refuse(file, "is a symbolic link");
        throw com::ComError(REGDB_E_CLASSNOTREG, file.string() + ": " + std::strerror(errno));
    }
    struct stat status {};
    std::string text;
    int error = ::fstat(fd, &status) == 0 ? 0 : errno;
    if (error == 0 && S_ISREG(status.st_mode) && static_cast<std::uint64_t>(status.st_size) <= kLongestRecord) {
        text.resize(kLongestRecord + 1);
        std::size_t total = 0;
        while (total < text.size()) {
            const ssize_t got = ::read(fd, text.data() + total, text.size() - total);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0) {
                error = got < 0 ? errno : 0;
                break;
            }
            total += static_cast<std::size_t>(got);
        }
        text.resize(total);
    }
    ::close(fd);
    if (error != 0)
        throw com::ComError(REGDB_E_CLASSNOTREG, file.string() + ": " + std::strerror(error));
    if (!S_ISREG(status.st_mode))
        refuse(file, "is not an ordinary file");
    if (static_cast<std::uint64_t>(status.st_size) > kLongestRecord || text.size() > kLongestRecord)
        refuse(file, "is longer than " + std::to_string(kLongestRecord) + " bytes");
    // A NUL would cut a path short where the loader reads it.
    if (text.find('\0') != std::string::npos)
        refuse(file, "holds a NUL byte");
    return text;
}

std::optional<RecordFile> RecordFile::readTrusted(const std::filesystem::path& file,
                                                  const std::filesystem::path& registryFolder) {
    auto text = readText(file);
    if (!text)
        return std::nullopt;
    requireTrusted(file, "registration record", REGDB_E_CLASSNOTREG);
    for (auto folder = file.parent_path(); !folder.empty(); folder = folder.parent_path()) {
        requireTrusted(folder, "registry folder", REGDB_E_CLASSNOTREG);
        if (folder == registryFolder || folder == folder.root_path())
            break;
    }
    return parse(*text);
}

}  // namespace comrt
