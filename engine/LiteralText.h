#pragma once

#include "engine/EngineContext.h"
#include "kiln/base/TString.h"

// The author's own characters that the post-process would otherwise read as
// division marks or ruby notation, written so that it gives them back: an
// "_" or "~" doubled, and where ruby notation is written (context.ruby) a
// "｜" or "＼" after a "＼". The post-process reads "__" and "~~" as the
// character, and "＼" in front of one of ｜《》〈〉＼ as that character. A
// literal 《》〈〉 needs no escape: with every literal ｜ escaped, no base is
// open where one of them stands.

// Appends the divided text of input (up to its first zero byte) with those
// characters escaped. Each stretch between two of them is divided on its own,
// so that the phrase tables neither see nor take out an escaped character
// ("、" and a doubled "__" are not "、_").
void divideLiteralText(const EngineContext& context, const KILN::TStringPtr<char>& input,
                       KILN::TString<char>& output);

// Appends input undivided, with those characters escaped: text that the
// pre-process does not divide but the post-process reads.
void escapeLiteralText(const EngineContext& context, const KILN::TStringPtr<char>& input,
                       KILN::TString<char>& output);
