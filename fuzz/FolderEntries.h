// The names in one folder, for showing that a command left nothing behind.
#pragma once

#include <filesystem>
#include <set>
#include <string>

namespace fuzzing {

inline std::set<std::string> entriesOf(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

}  // namespace fuzzing
