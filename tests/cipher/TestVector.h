// Known-answer vectors from a .vec file: "[section]" headers, then groups of
// "name = value" lines separated by blank lines; "#" starts a comment.
#pragma once

#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace corvid {

struct TestVector {
    std::string file;     // file name, for naming the case
    int line = 0;         // line of the vector's first field
    std::string section;  // the "[section]" it sits in
    std::map<std::string, std::string> fields;

    // A field given as hex digits, decoded to bytes.
    std::string bytes(const std::string& name) const;
    // A field given as whitespace-separated decimal numbers.
    std::vector<int> numbers(const std::string& name) const;
    bool has(const std::string& name) const { return fields.count(name) != 0; }
    // "encryption.vec:12", to name the test and its failures.
    std::string where() const { return file + ":" + std::to_string(line); }
};

std::vector<TestVector> readTestVectors(const std::string& path);

inline void PrintTo(const TestVector& vector, std::ostream* out) { *out << vector.where(); }

}  // namespace corvid
