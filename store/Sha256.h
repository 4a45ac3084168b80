#pragma once

#include <cstddef>
#include <string>

// SHA-256 (FIPS 180-4) of a byte string, as 64 lower-case hex digits. Used to
// recognise a game executable again by its first bytes, and to name the file
// that keeps its record; never for secrets. Written out here so that the
// console program, which has no toolkit, computes exactly what the window does.
std::string sha256Hex(const std::string& bytes);
