#include "kiln/file/ConfigurationFile.h"

#include <sys/stat.h>

namespace KILN {

bool isConfigurationFile(const std::string& path)
{
    struct stat status;
    return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) && status.st_size <= MaxConfigurationBytes;
}

} // namespace KILN
