// A registry record: "key = value" lines under a "#" comment, one file per identifier.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace comrt {

class RecordFile {
public:
    using Field = std::pair<std::string, std::string>;

    RecordFile() = default;
    RecordFile(std::string heading, std::vector<Field> fields);

    /// The record in file, or nothing when there is no such file. Throws
    /// ComError when the file exists but cannot be read.
    static std::optional<RecordFile> read(const std::filesystem::path& file);
    /// The file's text as it stands, or nothing when there is no such file.
    static std::optional<std::string> readText(const std::filesystem::path& file);
    static RecordFile parse(std::string_view text);

    /// The file's text; values must fit on one line (E_INVALIDARG otherwise).
    std::string text() const;
    /// The value of key, empty when the record lacks it.
    std::string value(std::string_view key) const;

private:
    std::string m_heading;
    std::vector<Field> m_fields;
};

}  // namespace comrt
