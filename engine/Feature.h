#pragma once

#include <mecab.h>

#include <cstdint>
#include <cstddef>
#include <string_view>

// Access to the analyser's comma-separated feature strings (IPADIC layout:
// column 0 part of speech, 1-3 sub-classes, 4 conjugation type, 5 conjugation
// form, 6 base form, 7 reading) and to node surfaces.

// The text of column n, a view into feature; empty when the feature has fewer
// than n + 1 columns.
std::string_view featureColumn(const char* feature, uint32_t n);

// True when the node's surface (its length bytes) equals text exactly; false
// for a null node. Inline, and compared byte by byte: the rules compare with
// short literals, which this unrolls into a few instructions, where the
// compiler would call memcmp for lengths such as 3.
inline bool surfaceIs(const MeCab::Node* node, std::string_view text)
{
    if (!node || node->length != text.size())
        return false;
    for (size_t i = 0; i < text.size(); ++i) {
        if (node->surface[i] != text[i])
            return false;
    }
    return true;
}
