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

// True when `bytes` is well-formed UTF-8 (no overlong forms, no surrogates,
// nothing above U+10FFFF). Plain ASCII, and the empty text, are valid.
bool isValidUtf8(std::string_view bytes);

// How one of Kelvory's text files (a catalogue, Leagues.ini) is written:
// - it starts with the UTF-8 byte-order mark: the rest is UTF-8;
// - no mark, but the whole file is valid UTF-8 and holds bytes above 127: UTF-8;
// - otherwise code page 1252, the game's own.
enum class Encoding { CodePage1252, Utf8 };

struct TextForm {
    Encoding encoding = Encoding::CodePage1252;
    std::size_t markLength = 0;  // bytes of the byte-order mark to skip (0 or 3)
};

TextForm detectTextForm(std::string_view wholeFile);

// Bytes of a text in `encoding` -> UTF-8. For UTF-8, a malformed sequence
// becomes U+FFFD (the replacement character); code page 1252 never fails.
std::string toUtf8(std::string_view bytes, Encoding encoding);

}  // namespace codepage
