// Reads known-answer files: "[section]" lines, "name = hex" lines, "#" comments.
#pragma once

#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace stego::test {

struct KnownAnswer {
    std::string file;
    int line = 0;  // the section's line, so that a failure points at the data
    std::string section;
    std::map<std::string, std::string> bytes;  // name -> decoded hex
};

/// All sections of the file at path, in order; throws std::runtime_error on a malformed line.
std::vector<KnownAnswer> readKnownAnswers(const std::string& path);

inline std::ostream& operator<<(std::ostream& out, const KnownAnswer& answer) {
    return out << answer.file << ":" << answer.line << " [" << answer.section << "]";
}

}  // namespace stego::test
