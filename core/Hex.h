#pragma once

#include <string>

// Hexadecimal digits, the one table every text Kelvory writes them in uses:
// the records (lower case), the escapes of setup files and messages (upper
// case) and the SHA-256 of an executable. Standard library only.
namespace hex {

inline constexpr char kDigits[] = "0123456789abcdef";

// The digit of the low four bits of `value`.
inline char digit(unsigned value, bool upper = false) {
    const char c = kDigits[value & 0xF];
    return upper && c >= 'a' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Two digits for a byte.
inline std::string byte(unsigned char value, bool upper = false) {
    return {digit(value >> 4, upper), digit(value, upper)};
}

// The value of a digit, or -1; upper-case digits only when `upper` allows them.
inline int value(char c, bool upper = false) {
    for (int i = 0; i < 16; ++i) {
        if (c == kDigits[i] || (upper && c == digit(static_cast<unsigned>(i), true))) {
            return i;
        }
    }
    return -1;
}

}  // namespace hex
