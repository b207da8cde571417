// Registry records in one folder, written and removed as one change.

#include "ClassRegistry.h"

#include <algorithm>
#include <span>
#include <system_error>
#include <utility>
#include <vector>

#include "FileReplacement.h"
#include "RecordFile.h"
#include "RegistryFolders.h"
#include "comsupport/ComError.h"

namespace comrt {
namespace {
constexpr const char* kDefaultThreadingModel = "Apartment";

std::string versionText(const ComTypeLibRecord& typeLib) {
    return std::to_string(typeLib.majorVersion) + "." + std::to_string(typeLib.minorVersion);
}

// A programmatic name becomes a file name, so it may hold no folder parts.
bool isSafeProgId(std::string_view progId) {
    if (progId.empty() || progId.size() > 39 || progId.front() == '.')
        return false;
    return std::all_of(progId.begin(), progId.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '_' ||
               c == '-';
    });
}

void removeFile(const std::filesystem::path& file) {
    std::error_code error;
    std::filesystem::remove(file, error);
    if (error)
        throw com::ComError(REGDB_E_WRITEREGDB, file.string() + ": " + error.message());
}

// A set of record files to write (contents) or remove (nothing), applied in
// order and undone in reverse order when one of them fails.
class RecordChange {
public:
    void write(std::filesystem::path file, std::string contents) {
        m_steps.push_back({std::move(file), std::move(contents), std::nullopt});
    }
    void remove(std::filesystem::path file) { m_steps.push_back({std::move(file), std::nullopt, std::nullopt}); }

    void apply() {
        for (auto& step : m_steps)
            step.before = RecordFile::readText(step.file);
        std::size_t done = 0;
        try {
            for (; done < m_steps.size(); ++done)
                put(m_steps[done].file, m_steps[done].after);
        } catch (...) {
            while (done-- > 0) {
                try {
                    put(m_steps[done].file, m_steps[done].before);
                } catch (...) {
                    // The first failure is the one to report; keep undoing the rest.
                }
            }
            throw;
        }
    }

private:
    struct Step {
        std::filesystem::path file;
        std::optional<std::string> after;
        std::optional<std::string> before;
    };

    static void put(const std::filesystem::path& file, const std::optional<std::string>& contents) {
        if (contents)
            replaceFileContents(file, *contents);
        else
            removeFile(file);
    }

    std::vector<Step> m_steps;
};

std::filesystem::path classFile(const std::filesystem::path& folder, const CLSID& clsid) {
    return folder / "classes" / com::formatGuid(clsid);
}
std::filesystem::path progIdFile(const std::filesystem::path& folder, std::string_view progId) {
    return folder / "progids" / std::string(progId);
}
std::filesystem::path interfaceFile(const std::filesystem::path& folder, const IID& iid) {
    return folder / "interfaces" / com::formatGuid(iid);
}
std::filesystem::path typeLibFile(const std::filesystem::path& folder, const GUID& libid) {
    return folder / "typelibs" / com::formatGuid(libid);
}

std::span<const ComClassRecord> classesOf(const ComServerDescription& server) {
    return {server.classes, server.classCount};
}
std::span<const ComInterfaceRecord> interfacesOf(const ComServerDescription& server) {
    return {server.interfaces, server.interfaceCount};
}
}  // namespace

void validateServerDescription(const ComServerDescription* server) {
    auto reject = [](const std::string& why) {
        throw com::ComError(E_INVALIDARG, "invalid server description: " + why);
    };
    if (!server)
        throw com::ComError(E_POINTER, "no server description was given");
    if (server->structSize < sizeof(ComServerDescription))
        reject("it is shorter than this runtime expects");
    if ((server->classCount && !server->classes) || (server->interfaceCount && !server->interfaces))
        reject("a table pointer is null");
    for (const auto& record : classesOf(*server)) {
        if (!record.clsid || !record.name || !*record.name)
            reject("a class lacks its identifier or name");
        if (record.progId && !isSafeProgId(record.progId))
            reject(std::string("the programmatic name '") + record.progId + "' is not allowed");
    }
    for (const auto& record : interfacesOf(*server))
        if (!record.iid || !record.name || !*record.name)
            reject("an interface lacks its identifier or name");
    if (server->typeLib && (!server->typeLib->libid || !server->typeLib->name || !*server->typeLib->name))
        reject("the type library lacks its identifier or name");
}

ClassRegistry::ClassRegistry(std::filesystem::path folder) : m_folder(std::move(folder)) {}

void ClassRegistry::registerServer(const ComServerDescription& server, const std::string& libraryPath) const {
    validateServerDescription(&server);
    RecordChange change;
    const ComTypeLibRecord* typeLib = server.typeLib;
    for (const auto& record : classesOf(server)) {
        std::vector<RecordFile::Field> fields = {
            {"name", record.name},
            {"library", libraryPath},
            {"threading", record.threadingModel ? record.threadingModel : kDefaultThreadingModel},
        };
        if (record.progId)
            fields.emplace_back("progid", record.progId);
        if (typeLib)
            fields.emplace_back("typelib", com::formatGuid(*typeLib->libid));
        change.write(classFile(m_folder, *record.clsid),
                     RecordFile("Class " + std::string(record.name) + " of " + libraryPath, std::move(fields)).text());
        if (record.progId)
            change.write(progIdFile(m_folder, record.progId),
                         RecordFile("Programmatic name of class " + std::string(record.name),
                                    {{"class", com::formatGuid(*record.clsid)}})
                             .text());
    }
    for (const auto& record : interfacesOf(server)) {
        std::vector<RecordFile::Field> fields = {{"name", record.name}};
        if (typeLib) {
            fields.emplace_back("typelib", com::formatGuid(*typeLib->libid));
            fields.emplace_back("version", versionText(*typeLib));
        }
        change.write(interfaceFile(m_folder, *record.iid),
                     RecordFile("Interface " + std::string(record.name), std::move(fields)).text());
    }
    if (typeLib)
        change.write(typeLibFile(m_folder, *typeLib->libid),
                     RecordFile("Type library " + std::string(typeLib->name),
                                {{"name", typeLib->name}, {"version", versionText(*typeLib)}, {"library", libraryPath}})
                         .text());
    change.apply();
}

void ClassRegistry::unregisterServer(const ComServerDescription& server) const {
    validateServerDescription(&server);
    RecordChange change;
    for (const auto& record : classesOf(server)) {
        change.remove(classFile(m_folder, *record.clsid));
        // The name may have been taken over by another class since; leave that one alone.
        if (record.progId && findProgId(record.progId) == *record.clsid)
            change.remove(progIdFile(m_folder, record.progId));
    }
    for (const auto& record : interfacesOf(server))
        change.remove(interfaceFile(m_folder, *record.iid));
    if (server.typeLib)
        change.remove(typeLibFile(m_folder, *server.typeLib->libid));
    change.apply();
}

std::optional<ClassRegistration> ClassRegistry::findClass(const CLSID& clsid) const {
    const auto file = classFile(m_folder, clsid);
    auto record = RecordFile::readTrusted(file, m_folder);
    if (!record)
        return std::nullopt;
    ClassRegistration registration{record->value("library"), record->value("threading")};
    if (registration.library.empty())
        throw com::ComError(REGDB_E_CLASSNOTREG, "the registration record " + file.string() + " names no library");
    return registration;
}

std::optional<CLSID> ClassRegistry::findProgId(std::string_view progId) const {
    if (!isSafeProgId(progId))
        return std::nullopt;
    auto record = RecordFile::readTrusted(progIdFile(m_folder, progId), m_folder);
    if (!record)
        return std::nullopt;
    return com::parseGuid(record->value("class"));
}

ClassRegistration findRegisteredClass(const CLSID& clsid) {
    // A user without a home folder (a service, say) still reaches the system-wide registry.
    std::optional<ClassRegistry> user;
    try {
        user.emplace(userRegistryFolder());
    } catch (const com::ComError& error) {
        if (error.result() != REGDB_E_CLASSNOTREG)
            throw;  // a registry location set wrongly is reported, not passed over
    }
    if (user)
        if (auto found = user->findClass(clsid))
            return *found;
    const ClassRegistry system(systemRegistryFolder());
    if (auto found = system.findClass(clsid))
        return *found;
    const std::string userPlace = user ? user->folder().string() : "the user's registry (no home folder is known)";
    throw com::ComError(REGDB_E_CLASSNOTREG, "the class " + com::formatGuid(clsid) + " is registered neither in " +
                                                 userPlace + " nor in " + system.folder().string());
}

}  // namespace comrt
