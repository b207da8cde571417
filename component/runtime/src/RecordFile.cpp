// Reading and writing the text of registry records.

#include "RecordFile.h"

#include "comsupport/ComError.h"

namespace comrt {
namespace {
std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

bool fitsOnOneLine(std::string_view text) { return text.find_first_of("\r\n") == std::string_view::npos; }
}  // namespace

RecordFile::RecordFile(std::string heading, std::vector<Field> fields)
    : m_heading(std::move(heading)), m_fields(std::move(fields)) {}

RecordFile RecordFile::parse(std::string_view text) {
    RecordFile record;
    while (!text.empty()) {
        const auto end = text.find('\n');
        const auto line = trimmed(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (line.empty() || line.front() == '#')
            continue;
        const auto equals = line.find('=');
        if (equals == std::string_view::npos)
            continue;
        record.m_fields.emplace_back(std::string(trimmed(line.substr(0, equals))),
                                     std::string(trimmed(line.substr(equals + 1))));
    }
    return record;
}

std::string RecordFile::text() const {
    std::string text = "# " + m_heading + "\n";
    for (const auto& [key, value] : m_fields) {
        if (!fitsOnOneLine(key) || !fitsOnOneLine(value))
            throw com::ComError(E_INVALIDARG, "a registration value holds a line break: " + key);
        text += key + " = " + value + "\n";
    }
    return text;
}

std::string RecordFile::value(std::string_view key) const {
    for (const auto& [name, value] : m_fields)
        if (name == key)
            return value;
    return {};
}

}  // namespace comrt
