#pragma once

// The running text of an XHTML document for benchmarks that feed MeCab the
// same text a converter sees.

#include <string>

// The text of an XHTML document without its markup and without ruby readings
// (rt elements); every paragraph ends a line.
inline std::string bodyText(const std::string& xhtml)
{
    std::string text;
    bool inReading = false;
    for (size_t i = 0; i < xhtml.size();) {
        if (xhtml[i] != '<') {
            if (!inReading && xhtml[i] != '\n' && xhtml[i] != '\r')
                text += xhtml[i];
            ++i;
            continue;
        }
        const size_t close = xhtml.find('>', i);
        if (close == std::string::npos)
            break;
        const std::string tag = xhtml.substr(i + 1, close - i - 1);
        if (tag.rfind("rt", 0) == 0)
            inReading = true;
        else if (tag.rfind("/rt", 0) == 0)
            inReading = false;
        else if (tag.rfind("/p", 0) == 0 && !text.empty() && text.back() != '\n')
            text += '\n';
        i = close + 1;
    }
    return text;
}
