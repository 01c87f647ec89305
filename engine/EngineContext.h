#pragma once

#include "engine/ReadingSource.h"
#include "engine/RubyCache.h"

#include <mecab.h>

#include <memory>

// What one word division works with: the analyser and the switches that choose
// the marks and the ruby notation. The owner creates the tagger; the context
// destroys it. The tagger, the reading source and the cache change with every
// division, so a context serves one thread at a time: each worker of a
// conversion has its own, made from the same options.
struct EngineContext {
    std::unique_ptr<MeCab::Tagger> tagger;
    // Emit "_" at word divisions.
    bool wakachi = true;
    // Emit "~" at divisions in front of particles and auxiliary verbs.
    bool jyoshi_wakachi = false;
    // Use the kazenoha rule set and its phrase tables instead of the standard rule.
    bool kazenoha = true;
    // Write words containing kanji in ruby notation.
    bool ruby = true;
    // A second analysis that gives the readings, or null for the tagger's own.
    std::unique_ptr<ReadingSource> readings;
    // Notations already worked out; a cache that changes no result.
    mutable RubyCache rubyCache;
};
