#pragma once

#include <string>

namespace KILN {

// The UniDic folder that the machine's settings name for readings
// ("ReadingDic"); false when they name none (or an empty value).
bool readingDictionary(std::string& folder);

} // namespace KILN
