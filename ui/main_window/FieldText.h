#pragma once

#include <QLocale>
#include <QString>
#include <optional>

class Baza;
struct Field;

// A field's value as the window's boxes show it, and typed text read back
// into the field. Which field and what it can hold is the field table's
// (core/Fields.h); here is only what turns on Qt's text and the user's locale.

// The field's value as its box shows it: the number in decimal, or a
// category's 11 characters as they stand.
QString presentField(const Baza& baza, const Field& field);

// The value `text` converts to for a numeric field; none when it does not
// convert, and always none for a category field (its picker stores it).
std::optional<long long> readField(const Field& field, const QString& text, const QLocale& locale);

// What a numeric field accepts, in words: "whole numbers from -32768 to
// 32767"; empty for a category field.
QString allowedText(const Field& field);

// The words that name the field's box: "Club Name, row 3".
QString fieldName(const Field& field);

// The name assistive technology announces for the field's box: its words,
// then the game slot where the block names one: "Maps Load u_1426.bin
// ->dt06.img, row 5, Primer League". It starts with the words the window's
// messages use, so a box named in a message is found by its name.
QString fieldAccessibleName(const Field& field);

// Reads `text` as a number in `locale` (blanks around, optional sign and
// fraction; no thousands separators), rounds it to the nearest integer, ties
// to the even neighbour (12.5 -> 12, 13.5 -> 14), and returns it when it lies
// within [minimum, maximum].
std::optional<long long> convertNumber(const QString& text, long long minimum, long long maximum,
                                       const QLocale& locale);
