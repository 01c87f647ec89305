#pragma once

#include <string>

namespace KILN {

// The path of a file of the installation folder that the machine's settings
// name ("InstDir"): the value followed by name as plain text, since the value
// ends with a separator. False when the settings name no folder. Whether the
// file exists is not checked.
bool installationFile(const char* name, std::string& path);

// The same, true only when something exists at that path.
bool existingInstallationFile(const char* name, std::string& path);

} // namespace KILN
