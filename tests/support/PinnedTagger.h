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

// The converters' mecabrc, or "" when there is none (MeCab's default then).
inline const std::string& pinnedMecabrc()
{
    static const std::string path = [] {
        std::string mecabrc;
        return KILN::existingInstallationFile("mecabrc", mecabrc) ? mecabrc : std::string();
    }();
    return path;
}

// A new tagger, or null when MeCab cannot start.
inline MeCab::Tagger* newPinnedTagger()
{
    return newTagger(pinnedMecabrc().empty() ? nullptr : pinnedMecabrc().c_str());
}

// Options of a pre-process on the pinned configuration.
template <class Options>
Options pinned(Options options)
{
    if (!pinnedMecabrc().empty())
        options.mecabrc = pinnedMecabrc().c_str();
    return options;
}

} // namespace zef::test
