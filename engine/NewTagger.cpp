#include "engine/NewTagger.h"

MeCab::Tagger* newTagger(const char* mecabrc)
{
    if (!mecabrc)
        return MeCab::createTagger("");
    // MeCab takes the first entry of an argument vector as the program name.
    const char* arguments[] = {"zef", "--rcfile", mecabrc, nullptr};
    return MeCab::createTagger(3, const_cast<char**>(arguments));
}
