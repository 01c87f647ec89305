#include "engine/RunPieces.h"

#include <gtest/gtest.h>

#include <string>

namespace {

uint32_t cut(const std::string& text, uint32_t begin = 0)
{
    return nextPieceEnd(text.data(), begin, static_cast<uint32_t>(text.size()));
}

std::string repeated(const std::string& unit, size_t bytes)
{
    std::string text;
    while (text.size() < bytes)
        text += unit;
    return text;
}

const std::string Kana = "あ";      // 3 bytes
const std::string Period = "。";    // 3 bytes

} // namespace

TEST(RunPiecesTest, RunThatFitsIsOnePiece)
{
    const std::string text = repeated(Kana, MaxPieceBytes);
    ASSERT_EQ(text.size(), MaxPieceBytes + 2);
    EXPECT_EQ(cut(text.substr(0, MaxPieceBytes - 1)), MaxPieceBytes - 1);
    EXPECT_EQ(cut(text, 3), text.size()) << "the rest fits";
}

TEST(RunPiecesTest, CutBeforeTheLastSentenceEndOfTheRoom)
{
    std::string text = repeated(Kana, MaxPieceBytes * 2);
    const uint32_t early = 3 * 10000;
    const uint32_t late = 3 * 80000;
    text.replace(early, 3, Period);
    text.replace(late, 3, "！");
    EXPECT_EQ(cut(text), late) << "the sentence end opens the next piece";
    text.replace(late, 3, "？");
    EXPECT_EQ(cut(text), late);
    text.replace(late, 3, Kana);
    // Only a sentence end early in the room: a piece that short would make
    // the cutting quadratic, so the room is filled to a character boundary.
    const uint32_t end = cut(text);
    EXPECT_LE(end, MaxPieceBytes);
    EXPECT_GT(end, MaxPieceBytes - 3);
    EXPECT_EQ(end % 3, 0u) << "not inside a character";
}

TEST(RunPiecesTest, FallbackCutSplitsNoCharacter)
{
    // Four-byte characters do not line up with the room.
    const std::string wide = repeated("𠀋", MaxPieceBytes * 2);
    const uint32_t end = cut(wide);
    EXPECT_EQ(end % 4, 0u);
    EXPECT_GT(end, MaxPieceBytes - 4);
    // A voiced sound mark or variation selector stays with its character.
    for (const std::string attached : {"\xE3\x82\x99", "\xEF\xB8\x80", "\xF3\xA0\x84\x80"}) {
        const std::string unit = "か" + attached;
        const std::string text = repeated(unit, MaxPieceBytes * 2);
        EXPECT_EQ(cut(text) % unit.size(), 0u) << attached.size();
    }
    // Nothing but stray continuation bytes: any cut is as good.
    EXPECT_EQ(cut(std::string(MaxPieceBytes * 2, '\x80')), MaxPieceBytes);
}

TEST(RunPiecesTest, PiecesCoverTheRunInOrder)
{
    std::string text;
    for (int i = 0; text.size() < 3 * MaxPieceBytes; ++i)
        text += i % 7 ? Kana : Period;
    uint32_t pieces = 0;
    for (uint32_t at = 0; at < text.size(); ++pieces) {
        const uint32_t end = cut(text, at);
        ASSERT_GT(end, at);
        ASSERT_LE(end - at, MaxPieceBytes);
        if (end < text.size()) {
            EXPECT_EQ(text.compare(end, 3, Period), 0) << "cut before a sentence end";
        }
        at = end;
    }
    EXPECT_LE(pieces, 4u);
}
