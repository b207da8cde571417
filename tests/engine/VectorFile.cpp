#include "VectorFile.h"

#include <fstream>
#include <stdexcept>

namespace stego::test {

namespace {

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::string fromHex(const std::string& hex, const std::string& where) {
    if (hex.size() % 2 != 0)
        throw std::runtime_error(where + ": odd number of hex digits");
    std::string bytes;
    for (std::size_t i = 0; i < hex.size(); i += 2)
        bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return bytes;
}

}  // namespace

std::vector<KnownAnswer> readKnownAnswers(const std::string& path) {
    std::ifstream in(path);
    if (!in)
        throw std::runtime_error("cannot open " + path);
    std::vector<KnownAnswer> answers;
    std::string raw;
    for (int number = 1; std::getline(in, raw); ++number) {
        const std::string line = trimmed(raw);
        const std::string where = path + ":" + std::to_string(number);
        if (line.empty() || line.front() == '#')
            continue;
        if (line.front() == '[' && line.back() == ']') {
            answers.push_back(KnownAnswer{path, number, line.substr(1, line.size() - 2), {}});
            continue;
        }
        const auto equals = line.find('=');
        if (equals == std::string::npos || answers.empty())
            throw std::runtime_error(where + ": expected [section] or name = hex");
        answers.back().bytes[trimmed(line.substr(0, equals))] = fromHex(trimmed(line.substr(equals + 1)), where);
    }
    return answers;
}

}  // namespace stego::test
