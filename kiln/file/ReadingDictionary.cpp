#include "kiln/file/ReadingDictionary.h"

#include "kiln/file/SettingsStore.h"

namespace KILN {

bool readingDictionary(std::string& folder)
{
    SettingsStore settings;
    return settings.openForQuery(SettingsStore::Machine) && settings.query("ReadingDic", folder) && !folder.empty();
}

} // namespace KILN
