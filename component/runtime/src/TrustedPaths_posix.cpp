// Ownership and permission checks on POSIX files and folders.

#include "TrustedPaths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "comsupport/ComError.h"

namespace comrt {
namespace {

std::string octal(mode_t mode) {
    char text[8];
    std::snprintf(text, sizeof text, "%04o", static_cast<unsigned>(mode & 07777));
    return text;
}

[[noreturn]] void refuse(const std::filesystem::path& path, const char* what, const std::string& problem, int code) {
    throw com::ComError(static_cast<HRESULT>(code),
                        std::string("the ") + what + " " + path.string() + " " + problem +
                            ", so it is not trusted: correct it, or register the library again with corvid-regsvr "
                            "from a folder only you or the administrator can change");
}

}  // namespace

void requireTrusted(const std::filesystem::path& path, const char* what, int code) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0)
        refuse(path, what, std::string("cannot be examined (") + std::strerror(errno) + ")", code);
    if (status.st_uid != ::geteuid() && status.st_uid != 0)
        refuse(path, what, "belongs to another user (uid " + std::to_string(status.st_uid) + ")", code);
    // A link's own mode means nothing; only its owner can point it elsewhere.
    if (S_ISLNK(status.st_mode))
        return;
    const bool shared = S_ISDIR(status.st_mode) && (status.st_mode & S_ISVTX) != 0;
    if ((status.st_mode & (S_IWGRP | S_IWOTH)) != 0 && !shared)
        refuse(path, what, "can be changed by other users (mode " + octal(status.st_mode) + ")", code);
}

void requireTrustedLibrary(const std::filesystem::path& file, int code) {
    // The path as given, link by link (the loader opens it so, keeping a
    // versioned name), then where the links lead.
    for (auto part = file; !part.empty(); part = part.parent_path()) {
        requireTrusted(part, part == file ? "library" : "folder", code);
        if (part == part.root_path())
            break;
    }
    char resolved[PATH_MAX];
    if (::realpath(file.c_str(), resolved) == nullptr)
        throw com::ComError(static_cast<HRESULT>(code),
                            "the library " + file.string() + " cannot be opened: " + std::strerror(errno));
    const std::filesystem::path library(resolved);
    requireTrusted(library, "library", code);
    for (auto folder = library.parent_path(); !folder.empty(); folder = folder.parent_path()) {
        requireTrusted(folder, "folder", code);
        if (folder == folder.root_path())
            break;
    }
}

}  // namespace comrt
