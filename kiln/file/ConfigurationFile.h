#pragma once

#include <cstdint>
#include <string>

namespace KILN {

// The most bytes of a configuration file the programs hand on, such as
// MeCab's mecabrc: a few short lines; anything larger is not one.
constexpr int64_t MaxConfigurationBytes = 1 << 20;

// True when path names a regular file (through links) of at most
// MaxConfigurationBytes. MeCab reads its configuration file by lines to the
// end: a device such as /dev/zero would grow its memory without bound, a
// pipe would hang it.
bool isConfigurationFile(const std::string& path);

} // namespace KILN
