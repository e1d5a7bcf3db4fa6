#include "settings/archiver_command.h"

#include "settings/registry_settings.h"

namespace qbr {

std::string GetExtLinkApp(RegistryStore& store, std::string_view ext) {
    // Built in two steps: GCC 12 at -O3 takes "." + string for an overlapping copy (-Wrestrict).
    std::string key(1, '.');
    key += ext;
    const std::unique_ptr<RegistryKey> extension = store.openClassesKey(key);
    if (!extension)
        return {};
    const std::string type = readText(*extension, {}, {}, {});
    if (type.empty())
        return {};
    const std::unique_ptr<RegistryKey> command =
        store.openClassesKey(type + "\\shell\\open\\command");
    if (!command)
        return {};
    return readText(*command, {}, {}, {});
}

std::string archiverCommandFrom(std::string_view command) {
    std::string lower(command);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    if (lower.find("lhmelt.exe") == std::string::npos &&
        lower.find("explzh.exe") == std::string::npos)
        return {};
    std::string cut(command.substr(0, lower.find("exe") + 3));
    if (cut.front() == '"')
        cut += '"';
    return cut;
}

std::string detectArchiverCommand(RegistryStore& store) {
    return archiverCommandFrom(GetExtLinkApp(store, "LZH"));
}

} // namespace qbr
