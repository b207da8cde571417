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

    /// The record in file, as read: nothing when there is no such file; a record
    /// or folder (up to registryFolder) that others can change is refused.
    static std::optional<RecordFile> readTrusted(const std::filesystem::path& file,
                                                 const std::filesystem::path& registryFolder);
    /// The file's text as it stands, or nothing when there is no such file. A
    /// record is an ordinary file (never reached through a link) of at most
    /// kLongestRecord bytes without a NUL byte; anything else throws ComError.
    static std::optional<std::string> readText(const std::filesystem::path& file);

    static constexpr std::size_t kLongestRecord = 64 * 1024;
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
