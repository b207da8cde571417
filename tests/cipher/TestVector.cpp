#include "TestVector.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace corvid {

namespace {

std::string trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

}  // namespace

std::string TestVector::bytes(const std::string& name) const {
    const std::string& hex = fields.at(name);
    if (hex.size() % 2 != 0)
        throw std::runtime_error(where() + ": odd number of hex digits in " + name);
    std::string result;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        result += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    }
    return result;
}

std::vector<int> TestVector::numbers(const std::string& name) const {
    std::istringstream in(fields.at(name));
    std::vector<int> result;
    for (int value; in >> value;)
        result.push_back(value);
    return result;
}

std::vector<TestVector> readTestVectors(const std::string& path) {
    std::ifstream in(path);
    if (!in)
        throw std::runtime_error("cannot read test vectors from " + path);
    const std::string file = std::filesystem::path(path).filename().string();

    std::vector<TestVector> vectors;
    std::string section;
    TestVector current;
    auto finish = [&] {
        if (!current.fields.empty())
            vectors.push_back(current);
        current = TestVector{};
    };
    std::string raw;
    for (int lineNumber = 1; std::getline(in, raw); ++lineNumber) {
        const std::string line = trim(raw.substr(0, raw.find('#')));
        if (line.empty()) {
            finish();
        } else if (line.front() == '[' && line.back() == ']') {
            finish();
            section = line.substr(1, line.size() - 2);
        } else {
            const auto equals = line.find('=');
            if (equals == std::string::npos) {
                throw std::runtime_error(file + ":" + std::to_string(lineNumber) + ": expected name = value");
            }
            if (current.fields.empty()) {
                current.file = file;
                current.line = lineNumber;
                current.section = section;
            }
            current.fields[trim(line.substr(0, equals))] = trim(line.substr(equals + 1));
        }
    }
    finish();
    return vectors;
}

}  // namespace corvid
