#include "engine/AnalyserFailure.h"

#include <mecab.h>

std::string analyserFailure(int count, char** arguments)
{
    // A failed tagger leaves no reason behind (getTaggerError answers an
    // empty text), so a model is made with the same arguments to learn it.
    std::string reason = MeCab::getTaggerError();
    if (reason.empty()) {
        delete MeCab::createModel(count, arguments);
        reason = MeCab::getLastError();
    }
    return reason.empty() ? std::string("MeCab cannot start.") : reason;
}
