#pragma once

#include "kiln/base/Utf16String.h"

#include <cstdint>
#include <vector>

// The ruby notation in running text: ｜base《reading》, ｜base〈reading〉 (an
// "original" reading), and groups ｜B1《R1｜B2《R2》 whose pairs share one
// ruby element. tokenizeRuby cuts one text node into tokens, parseRuby groups
// them into units.

struct RubySyntaxToken {
    enum Kind : int32_t {
        Plain = 0,              // text as it stands, notation characters included
        Base = 1,               // after ｜ up to the opening bracket
        AngleLast = 2,          // after 〈 up to 〉
        DoubleAngleLast = 3,    // after 《 up to 》
        AngleMore = 4,          // after 〈 up to the ｜ of the next pair
        DoubleAngleMore = 5,    // after 《 up to the ｜ of the next pair
    };
    int32_t kind;
    KILN::Utf16String text;
    uint32_t offset = 0;  // where text starts in the node's text
};

// Where the token's notation starts in the node's text: its ｜ or opening
// bracket, or the text itself for a plain token.
inline uint32_t notationStart(const RubySyntaxToken& token)
{
    return token.kind == RubySyntaxToken::Plain ? token.offset : token.offset - 1;
}

// A base and its reading; refers to tokens, owns nothing.
struct RubySyntaxRubyPair {
    const RubySyntaxToken* base;
    const RubySyntaxToken* reading;
};

struct RubySyntaxRubyUnit {
    enum Kind : int32_t { Plain = 0, Ruby = 1 };
    int32_t kind;
    const RubySyntaxToken* plain = nullptr;  // the text of a plain unit
    std::vector<RubySyntaxRubyPair> pairs;   // the pairs of a ruby unit
};

// Appends the tokens of text. Every character of text lies in exactly one
// token: a base that no bracket pair closes is carried as plain text, its ｜
// included. A marked reference (U+0001 ... U+0002) is never cut. A ＼ in
// front of one of ｜《》〈〉＼ is an escape: the character after it is text,
// and the token holds that character without the ＼.
void tokenizeRuby(const KILN::Utf16String& text, std::vector<RubySyntaxToken>& tokens);

// Groups tokens into units; answers 0, or the syntax error 1 to 7. On an
// error, failed (when given) is set to the index of the token at fault: the
// reading without a base, the base or reading left last, or the token found
// where a base or reading belongs.
int32_t parseRuby(const std::vector<RubySyntaxToken>& tokens, std::vector<RubySyntaxRubyUnit>& units,
                  size_t* failed = nullptr);
