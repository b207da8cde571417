// Which file a path leads to, whatever its spelling: two names of one file have one identity.
#pragma once

#include <cstdint>

namespace corvid {

struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;

    bool operator==(const FileIdentity&) const = default;
};

}  // namespace corvid
