#pragma once

#include <string>
#include <vector>

#include "core/Baza.h"

// Whether 199 loaded bytes look like a league block at all, or like some
// other part of a file that only has the game's name: a game executable of
// another version, say. Standard library only.
//
// A block looks like one when
// - each of the four category texts is text: no byte below 0x20 and no 0x7F,
//   apart from the padding, a run of NULs or blanks that ends the 11 bytes
//   (a NUL with a character after it is no padding); bytes from 0x80 up are
//   characters of code page 1252;
// - and at least 7 of the 13 map codes that the window shows lie in what the
//   game takes, 0 to 10 (GameRanges.h).
struct BlockLook {
    bool looksLikeBlock = true;
    // Each problem in words for the user, without a full stop:
    // "category text 2 holds bytes that are not text (byte 0x03 at position 4)",
    // "only 3 of the 13 map codes lie in 0 to 10". Empty when it looks right.
    std::vector<std::string> problems;
};

BlockLook lookAtBlock(const Baza::Block& block);
