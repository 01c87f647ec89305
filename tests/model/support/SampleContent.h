#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace zef::test {

// How the files of a made-up book vary with their number i: empty when i is
// a multiple of emptyEvery, up to largeBytes when of largeEvery, else up to
// smallBytes; Japanese text when of textEvery, else bytes with no pattern.
struct ContentShape {
    size_t emptyEvery;
    size_t largeEvery;
    size_t largeBytes;
    size_t smallBytes;
    size_t textEvery;
};

// The content of file i, the same on every run.
inline std::string sampleContent(size_t i, const ContentShape& shape)
{
    std::string text;
    const size_t length = i % shape.emptyEvery == 0
        ? 0
        : (i * 7919) % (i % shape.largeEvery == 0 ? shape.largeBytes : shape.smallBytes);
    uint32_t state = static_cast<uint32_t>(i) * 2654435761u + 1;
    for (size_t k = 0; k < length; ++k) {
        state = state * 1103515245u + 12345u;
        text += i % shape.textEvery ? static_cast<char>(state >> 24) : "山路を登りながら、"[k % 27];
    }
    return text;
}

} // namespace zef::test
