#include "kiln/file/InstallationFile.h"

#include "kiln/file/SettingsStore.h"

#include <sys/stat.h>

namespace KILN {

bool installationFile(const char* name, std::string& path)
{
    SettingsStore settings;
    if (!settings.openForQuery(SettingsStore::Machine))
        return false;
    std::string folder;
    if (!settings.query("InstDir", folder))
        return false;
    path = folder + name;
    return true;
}

bool existingInstallationFile(const char* name, std::string& path)
{
    struct stat status;
    return installationFile(name, path) && stat(path.c_str(), &status) == 0;
}

} // namespace KILN
