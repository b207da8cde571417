// What a folder holds, down to every file's bytes (by hash), so that a test
// can show that a command changed only what it should and left nothing behind.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>

namespace testsupport {

class FolderSnapshot {
public:
    explicit FolderSnapshot(const std::string& folder) {
        namespace fs = std::filesystem;
        for (const auto& entry : fs::recursive_directory_iterator(folder)) {
            const std::string name = fs::relative(entry.path(), folder).string();
            const fs::file_type type = entry.symlink_status().type();
            if (type == fs::file_type::regular)
                m_entries[name] = "file " + std::to_string(entry.file_size()) + " " + hashOf(entry.path().string());
            else if (type == fs::file_type::directory)
                m_entries[name] = "folder";
            else
                m_entries[name] = "other";  // a pipe or a device: never opened, it might block
        }
    }

    /// The entries added, removed or changed since before.
    std::set<std::string> differencesFrom(const FolderSnapshot& before) const {
        std::set<std::string> names;
        for (const auto& [name, state] : m_entries) {
            const auto old = before.m_entries.find(name);
            if (old == before.m_entries.end() || old->second != state)
                names.insert(name);
        }
        for (const auto& [name, state] : before.m_entries)
            if (m_entries.count(name) == 0)
                names.insert(name);
        return names;
    }

private:
    // 64-bit FNV-1a: enough to tell a changed fixture from an unchanged one.
    static std::string hashOf(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::uint64_t hash = 0xcbf29ce484222325u;
        char byte = 0;
        while (in.get(byte)) {
            hash ^= static_cast<unsigned char>(byte);
            hash *= 0x100000001b3u;
        }
        return std::to_string(hash);
    }

    std::map<std::string, std::string> m_entries;
};

}  // namespace testsupport
