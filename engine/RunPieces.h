#pragma once

#include <cstdint>

// Cutting a long run of non-ASCII text into pieces the analyser takes. MeCab
// refuses a text of some megabytes ("too long sentence.") and its lattice
// holds about a hundred bytes per byte of text, so a longer run is analysed
// piece by piece: real paragraphs stay far below the bound and are analysed
// whole, and the analyser's memory stays bounded whatever the run.

// The most bytes of one piece.
constexpr uint32_t MaxPieceBytes = 256 * 1024;

// The end of the next piece of the run text[begin, end): end when the rest
// fits; else the place just before the last sentence end (。！？) in the
// second half of the piece's room, so that the mark opens the next piece and
// the word after it is divided from it as in the whole run; failing that,
// the last character boundary of the room that splits no character from the
// combining mark or variation selector after it. Every piece but the last
// is at least half the room, so cutting a run is linear in its length.
uint32_t nextPieceEnd(const char* text, uint32_t begin, uint32_t end);
