#pragma once

#include <cstdint>

// What a front end chooses for a pre-process.
struct PreProcessOptions {
    // Divide words at all.
    bool wakachi = true;
    // Apply the kazenoha rule set.
    bool kazenoha = true;
    // Divide in front of particles and auxiliary verbs as well.
    bool jyoshi_wakachi = false;
    // The MeCab configuration file (zero-terminated UTF-8 path), or null for
    // MeCab's default configuration.
    const char* mecabrc = nullptr;
    // A UniDic folder (zero-terminated UTF-8 path) whose second analysis
    // gives the readings, or null for the readings of the analyser itself.
    const char* reading_dic = nullptr;
};

// What a front end chooses for a post-process.
struct PostProcessOptions {
    // Apply the publisher's own rewriting: empty meta elements removed, page
    // breaks marked, the navigation page list rebuilt.
    bool publisher = true;
    // Wrap every reading in rp elements with full-width parentheses.
    bool rp_output = true;
    // 0 leaves the package document alone, 1 writes "rtl", 2 "ltr".
    int32_t page_progression = 0;
};
