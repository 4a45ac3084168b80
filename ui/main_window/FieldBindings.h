#pragma once

#include <QLocale>
#include <QString>
#include <array>
#include <optional>

class Baza;

// Which block field each member of the window's text-box array shows. One
// table serves both directions: presenting the block and copying typed text
// back into it.
enum class FieldKind {
    Liga,  // 32-bit signed slot number
    Str,   // 16-bit signed name index
    Cat,   // 11-character category text (stored by its picker, never by typing)
    CatL,  // 32-bit signed club category logo index
    Map,   // 8-bit unsigned map code
};

struct FieldBinding {
    int member;  // index in the text-box array
    FieldKind kind;
    int index;  // 0-based index within the field's table
};

// The values a numeric field can hold. Category texts have no range.
struct FieldRange {
    long long minimum;
    long long maximum;
};
std::optional<FieldRange> fieldRange(FieldKind kind);

// The 50 members in presenting order: 0..36, then 39..51.
const std::array<FieldBinding, 50>& fieldBindings();

// The field's value as the box shows it.
QString presentField(const Baza& baza, const FieldBinding& binding);

// Converts `text` for the binding's field and stores it through the field's
// setter. Returns false, leaving the field as it was, when the text does not
// convert. Category members are never stored this way.
bool storeField(Baza& baza, const FieldBinding& binding, const QString& text, const QLocale& locale);

// Reads `text` as a number in `locale` (blanks around, optional sign and
// fraction; no thousands separators), rounds it to the nearest integer, ties
// to the even neighbour (12.5 -> 12, 13.5 -> 14), and returns it when it lies
// within [minimum, maximum].
std::optional<long long> convertNumber(const QString& text, long long minimum, long long maximum,
                                       const QLocale& locale);
