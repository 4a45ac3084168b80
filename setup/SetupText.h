#pragma once

// Text handling shared by the league setup reader and writer: blanks, case,
// hexadecimal bytes, UTF-8 sequences, and quoting pieces of a file in
// messages. Internal to the setup library.

#include <cstddef>
#include <string>
#include <string_view>

namespace setuptext {

constexpr std::string_view kVersionKey = "kelvory-league";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool isBlank(char c);
std::string_view trimmed(std::string_view s);
std::string asciiLower(std::string_view s);
std::string hexByte(unsigned char byte);
// Length of the UTF-8 sequence that starts with `lead` (the text is known to
// be valid UTF-8 by the time this is used).
std::size_t sequenceLength(unsigned char lead);
char32_t codePoint(std::string_view sequence);
std::string unicodeName(char32_t c);
// A piece of the file, quoted for a message: control characters written as
// \xHH, and a long piece cut short.
std::string quoted(std::string_view text);
// Characters a category text shows only as an escape: the C0 and C1 controls,
// DEL, and the invisible no-break space and soft hyphen.
bool writtenAsEscape(unsigned char byte);
bool isControl(char32_t c);

}  // namespace setuptext
