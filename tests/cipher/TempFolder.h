// A private (0700) folder for one test's files, removed with everything in it.
#pragma once

#include <filesystem>
#include <string>

namespace corvid {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string path(const std::string& name) const { return (m_root / name).string(); }

    // Whole-file helpers for checking what the cipher left behind.
    static void write(const std::string& path, const std::string& bytes);
    static std::string read(const std::string& path);

private:
    std::filesystem::path m_root;
};

}  // namespace corvid
