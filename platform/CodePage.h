#pragma once

#include <string>
#include <string_view>

// The game and the catalogue files keep text as one byte per character in the
// Windows "ANSI" code page 1252. These two functions translate between those
// bytes and UTF-8, the text form used everywhere else in Kelvory.
//
// Every byte value 0-255 decodes to a distinct character and encodes back to
// itself: the five bytes that code page 1252 leaves undefined (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) map to the C1 control characters of the same value, as
// Windows itself does.
namespace codepage {

// Bytes in code page 1252 -> UTF-8. Never fails.
std::string decode(std::string_view bytes);

// UTF-8 -> bytes in code page 1252, one byte per character. A character the
// code page cannot hold, and any malformed UTF-8 sequence, becomes '?'.
// When `lossy` is given it is set to whether that happened.
std::string encode(std::string_view utf8, bool* lossy = nullptr);

}  // namespace codepage
