#pragma once

// The analyser the tests divide with: MeCab on the configuration the
// converters use (the mecabrc of the installation folder, the build tree's
// for a test binary) when it is there, else MeCab's default configuration,
// as the text tool chooses. The default dictionary of a machine may be
// another one than the UTF-8 IPADIC the expectations are written for.

#include "engine/NewTagger.h"
#include "kiln/file/InstallationFile.h"

#include <string>

namespace zef::test {

// A new tagger, or null when MeCab cannot start.
inline MeCab::Tagger* newPinnedTagger()
{
    std::string mecabrc;
    return newTagger(KILN::existingInstallationFile("mecabrc", mecabrc) ? mecabrc.c_str() : nullptr);
}

} // namespace zef::test
