#include "engine/Feature.h"

#include <cstring>

using KILN::ArrayList;
using KILN::TString;

TString<char> featureColumn(const char* feature, uint32_t n)
{
    const char* begin = feature;
    for (uint32_t column = 0; column < n; ++column) {
        begin = std::strchr(begin, ',');
        if (!begin)
            return TString<char>();
        ++begin;
    }
    const char* end = std::strchr(begin, ',');
    return TString<char>(begin, end ? static_cast<uint32_t>(end - begin) : TString<char>::zeroTerminatedLength(begin));
}

void splitFeature(const char* feature, ArrayList<TString<char>>& columns)
{
    // One pass over the bytes: features are short, and a call per column
    // would cost more than the scan.
    uint32_t count = 0;
    const char* begin = feature;
    for (const char* p = feature;; ++p) {
        if (*p != ',' && *p != 0)
            continue;
        const uint32_t length = static_cast<uint32_t>(p - begin);
        if (TString<char>* column = columns.at(count))
            column->assign(begin, length);
        else
            columns.add(new TString<char>(begin, length));
        ++count;
        if (*p == 0)
            break;
        begin = p + 1;
    }
    while (columns.count() > count)
        delete columns.removeLast();
}

bool hasFeature(const ArrayList<TString<char>>& columns, std::string_view value)
{
    const uint32_t searched = columns.count() < 6 ? columns.count() : 6;
    for (uint32_t i = 0; i < searched; ++i) {
        if (textIs(*columns.at(i), value))
            return true;
    }
    return false;
}

bool textIs(const TString<char>& text, std::string_view value)
{
    return text.length() == value.size() && std::memcmp(text.data(), value.data(), value.size()) == 0;
}

bool surfaceIs(const MeCab::Node* node, std::string_view text)
{
    return node && node->length == text.size() && std::memcmp(node->surface, text.data(), text.size()) == 0;
}
