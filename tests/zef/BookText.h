#pragma once

// The characters of an XHTML document as a reader sees them, to check that a
// pre-process and post-process round trip loses or adds none: markup, comments
// and the readings of ruby (rt, rp) are dropped, references are decoded.

#include <algorithm>
#include <cstdint>
#include <string>

namespace zef::test {

inline void appendUtf8(std::string& text, uint32_t c)
{
    if (c < 0x80) {
        text += static_cast<char>(c);
    } else if (c < 0x800) {
        text += static_cast<char>(0xC0 | c >> 6);
        text += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        text += static_cast<char>(0xE0 | c >> 12);
        text += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        text += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | c >> 18);
        text += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        text += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        text += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The reference at text[at] ('&' ... ';') decoded; unknown ones stay as written.
inline std::string decodedReference(const std::string& text, size_t at, size_t end)
{
    const std::string name = text.substr(at + 1, end - at - 1);
    if (name == "amp") return "&";
    if (name == "lt") return "<";
    if (name == "gt") return ">";
    if (name == "quot") return "\"";
    if (name == "apos") return "'";
    if (name.size() > 1 && name[0] == '#') {
        const bool hex = name[1] == 'x';
        std::string decoded;
        appendUtf8(decoded, static_cast<uint32_t>(std::stoul(name.substr(hex ? 2 : 1), nullptr, hex ? 16 : 10)));
        return decoded;
    }
    return text.substr(at, end - at + 1);
}

inline std::string readerText(const std::string& xml)
{
    std::string text;
    int readingDepth = 0;
    // The prolog (byte-order mark, declaration, document type) is no text.
    for (size_t i = std::min(xml.find("<html"), xml.size()); i < xml.size();) {
        if (xml.compare(i, 4, "<!--") == 0) {
            i = std::min(xml.size(), xml.find("-->", i) + 3);
        } else if (xml.compare(i, 9, "<![CDATA[") == 0) {
            const size_t end = std::min(xml.size(), xml.find("]]>", i));
            if (readingDepth == 0)
                text += xml.substr(i + 9, end - i - 9);
            i = std::min(xml.size(), end + 3);
        } else if (xml[i] == '<') {
            const size_t end = std::min(xml.size(), xml.find('>', i));
            const std::string tag = xml.substr(i + 1, end - i - 1);
            const bool closing = !tag.empty() && tag[0] == '/';
            const std::string name = tag.substr(closing ? 1 : 0, tag.find_first_of(" \t\r\n/", 1) - (closing ? 1 : 0));
            if ((name == "rt" || name == "rp") && tag.back() != '/')
                readingDepth += closing ? -1 : 1;
            i = end + 1;
        } else if (xml[i] == '&' && xml.find(';', i) != std::string::npos) {
            const size_t end = xml.find(';', i);
            if (readingDepth == 0)
                text += decodedReference(xml, i, end);
            i = end + 1;
        } else {
            if (readingDepth == 0)
                text += xml[i];
            ++i;
        }
    }
    return text;
}

} // namespace zef::test
