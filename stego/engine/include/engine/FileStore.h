// The files as the engine's file commands use them; the platform implements it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace stego {

/// A private folder (mode 0700) made for one command; it is removed, with
/// everything in it, when the object goes.
class ScratchDirectory {
public:
    virtual ~ScratchDirectory() = default;
    virtual const std::string& path() const = 0;
};

/// File access for the engine. Every failure throws stego::Failure with the
/// file-system error number and a message that names the path.
class FileStore {
public:
    enum class Kind { Missing, RegularFile, Directory, Other };

    virtual ~FileStore() = default;
    virtual Kind kindOf(const std::string& path) const = 0;
    virtual std::string readAll(const std::string& path) const = 0;
    /// The length in bytes of the file at path, so that a file too large to
    /// hide is refused without reading it. Stores that can ask the file
    /// system should; this fallback reads the file.
    virtual std::int64_t sizeOf(const std::string& path) const {
        return static_cast<std::int64_t>(readAll(path).size());
    }
    virtual void writeAll(const std::string& path, std::string_view data) = 0;
    /// A private folder in the folder that holds besidePath (so that a file
    /// made in it can be renamed onto besidePath), or in the system's
    /// temporary folder when besidePath is empty.
    virtual std::unique_ptr<ScratchDirectory> makeScratchDirectory(const std::string& besidePath) = 0;
    /// Renames from onto to, replacing to in one step.
    virtual void replaceFile(const std::string& from, const std::string& to) = 0;
    /// Whether two paths name the same file (by identity, not by spelling).
    virtual bool sameFile(const std::string& a, const std::string& b) const = 0;
};

}  // namespace stego
