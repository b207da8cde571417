#include "platform/WinFileStore.h"

#include <windows.h>

#include <cerrno>
#include <filesystem>
#include <random>

#include "support/FileErrors.h"
#include "support/SecureClear.h"

namespace stego::platform {
namespace {

// Closes a handle when it goes.
class Handle {
public:
    explicit Handle(HANDLE handle) : m_handle(handle) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() {
        if (valid())
            CloseHandle(m_handle);
    }
    bool valid() const { return m_handle != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return m_handle; }

private:
    HANDLE m_handle;
};

// Opens without reading or writing, folders included, to ask what the path is.
Handle openForQuery(const std::string& path) {
    return Handle(CreateFileW(widePath(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

[[noreturn]] void failWithLastError(const std::string& action, const std::string& path) {
    throw systemFileFailure(GetLastError(), action, path);
}

std::string folderHolding(const std::string& path) {
    const auto slash = path.find_last_of("/\\");
    if (slash == std::string::npos)
        return path.size() >= 2 && path[1] == ':' ? path.substr(0, 2) : ".";
    if (slash == 0 || (slash == 2 && path[1] == ':'))
        return path.substr(0, slash + 1);
    return path.substr(0, slash);
}

std::string systemTemporaryFolder() {
    wchar_t buffer[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
    if (length == 0)
        return ".";
    const int size = WideCharToMultiByte(CP_UTF8, 0, buffer, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, buffer, static_cast<int>(length), utf8.data(), size, nullptr, nullptr);
    return utf8;
}

// A crash can still leave the folder behind; the name says whose it is.
class WinScratchDirectory : public ScratchDirectory {
public:
    explicit WinScratchDirectory(std::string path) : m_path(std::move(path)) {}
    ~WinScratchDirectory() override {
        std::error_code ignored;
        std::filesystem::remove_all(std::filesystem::path(widePath(m_path)), ignored);
    }
    const std::string& path() const override { return m_path; }

private:
    std::string m_path;
};

}  // namespace

std::wstring widePath(const std::string& utf8) {
    if (utf8.empty())
        return {};
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), length);
    return wide;
}

int errnoOfSystemError(unsigned long error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND: return ENOENT;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_BAD_NETPATH:
    case ERROR_INVALID_DRIVE: return ENOTDIR;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT: return EACCES;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return ENOSPC;
    case ERROR_DIRECTORY: return EISDIR;
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME: return ENAMETOOLONG;
    case ERROR_TOO_MANY_OPEN_FILES: return EMFILE;
    default: return EIO;
    }
}

Failure systemFileFailure(unsigned long error, const std::string& action, const std::string& path) {
    const support::FileErrorInfo info = support::describeFileError(errnoOfSystemError(error));
    return Failure(info.number, "Cannot " + action + " " + path + ": " + info.text);
}

FileStore::Kind WinFileStore::kindOf(const std::string& path) const {
    const Handle file = openForQuery(path);
    if (!file.valid()) {
        const DWORD error = GetLastError();
        return (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) ? Kind::Missing : Kind::Other;
    }
    BY_HANDLE_FILE_INFORMATION information{};
    if (GetFileType(file.get()) != FILE_TYPE_DISK || !GetFileInformationByHandle(file.get(), &information))
        return Kind::Other;
    return (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? Kind::Directory : Kind::RegularFile;
}

std::string WinFileStore::readAll(const std::string& path) const {
    if (kindOf(path) == Kind::Directory)
        throw systemFileFailure(ERROR_DIRECTORY, "read", path);
    const Handle file(CreateFileW(widePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
        failWithLastError("read", path);
    std::string data;
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file.get(), &size))
        data.reserve(static_cast<std::size_t>(size.QuadPart));
    // The file may be a message: the buffer does not keep a copy of it.
    char buffer[64 * 1024];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) {
            const DWORD error = GetLastError();
            support::secureClear(buffer, sizeof buffer);
            if (error == ERROR_BROKEN_PIPE)
                break;
            throw systemFileFailure(error, "read", path);
        }
        if (got == 0)
            break;
        data.append(buffer, got);
    }
    support::secureClear(buffer, sizeof buffer);
    return data;
}

std::int64_t WinFileStore::sizeOf(const std::string& path) const {
    const Handle file = openForQuery(path);
    if (!file.valid())
        failWithLastError("read", path);
    BY_HANDLE_FILE_INFORMATION information{};
    if (!GetFileInformationByHandle(file.get(), &information))
        failWithLastError("read", path);
    if (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        throw systemFileFailure(ERROR_DIRECTORY, "read", path);
    return (static_cast<std::int64_t>(information.nFileSizeHigh) << 32) | information.nFileSizeLow;
}

void WinFileStore::writeAll(const std::string& path, std::string_view data) {
    const Handle file(
        CreateFileW(widePath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
        failWithLastError("write", path);
    std::size_t written = 0;
    while (written < data.size()) {
        const auto want = static_cast<DWORD>(std::min<std::size_t>(data.size() - written, 1u << 30));
        DWORD put = 0;
        if (!WriteFile(file.get(), data.data() + written, want, &put, nullptr))
            failWithLastError("write", path);
        written += put;
    }
    if (!FlushFileBuffers(file.get()))
        failWithLastError("write", path);
}

std::unique_ptr<ScratchDirectory> WinFileStore::makeScratchDirectory(const std::string& besidePath) {
    const std::string folder = besidePath.empty() ? systemTemporaryFolder() : folderHolding(besidePath);
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device seed;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = folder;
        if (name.back() != '/' && name.back() != '\\')
            name += '\\';
        name += ".pixquill-";
        for (int i = 0; i < 6; ++i)
            name += kLetters[seed() % (sizeof kLetters - 1)];
        if (CreateDirectoryW(widePath(name).c_str(), nullptr))
            return std::make_unique<WinScratchDirectory>(name);
        const DWORD error = GetLastError();
        if (error == ERROR_ALREADY_EXISTS)
            continue;
        if (error == ERROR_PATH_NOT_FOUND || error == ERROR_FILE_NOT_FOUND || error == ERROR_DIRECTORY)
            throw Failure(support::describeFileError(ENOTDIR).number, "The folder " + folder + " does not exist");
        const support::FileErrorInfo info = support::describeFileError(errnoOfSystemError(error));
        throw Failure(info.number, "Cannot make a temporary folder in " + folder + ": " + info.text);
    }
    throw Failure(support::describeFileError(EIO).number, "Cannot make a temporary folder in " + folder);
}

void WinFileStore::replaceFile(const std::string& from, const std::string& to) {
    {
        const Handle file(CreateFileW(widePath(from).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.valid() || !FlushFileBuffers(file.get()))
            failWithLastError("write", from);
    }
    // One step, and not done until it is on the disk.
    if (!MoveFileExW(widePath(from).c_str(), widePath(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        failWithLastError("replace", to);
}

bool WinFileStore::sameFile(const std::string& a, const std::string& b) const {
    const Handle first = openForQuery(a);
    const Handle second = openForQuery(b);
    BY_HANDLE_FILE_INFORMATION one{}, two{};
    if (!first.valid() || !second.valid() || !GetFileInformationByHandle(first.get(), &one) ||
        !GetFileInformationByHandle(second.get(), &two))
        return false;
    return one.dwVolumeSerialNumber == two.dwVolumeSerialNumber && one.nFileIndexHigh == two.nFileIndexHigh &&
           one.nFileIndexLow == two.nFileIndexLow;
}

}  // namespace stego::platform
