#include "ui/main_window/FieldBindings.h"

#include <cfenv>
#include <cmath>
#include <cstdint>
#include <limits>

#include "core/Baza.h"
#include "platform/Text.h"

namespace {

std::array<FieldBinding, 50> makeBindings() {
    std::array<FieldBinding, 50> table{};
    std::size_t n = 0;
    auto add = [&](int firstMember, FieldKind kind, int count) {
        for (int i = 0; i < count; ++i) {
            table[n++] = {firstMember + i, kind, i};
        }
    };
    add(0, FieldKind::Liga, Baza::LigaCount);   // members 0..12
    add(13, FieldKind::Str, Baza::StrCount);    // members 13..25
    add(26, FieldKind::Cat, Baza::CatCount);    // members 26..29
    add(30, FieldKind::CatL, Baza::CatLCount);  // members 30..36
    add(39, FieldKind::Map, 13);                // members 39..51: Europe .. OtherLatinAmerican
    return table;
}

std::optional<long long> convertFor(FieldKind kind, const QString& text, const QLocale& locale) {
    const std::optional<FieldRange> range = fieldRange(kind);
    if (!range) {
        return std::nullopt;
    }
    return convertNumber(text, range->minimum, range->maximum, locale);
}

}  // namespace

std::optional<FieldRange> fieldRange(FieldKind kind) {
    switch (kind) {
        case FieldKind::Liga:
        case FieldKind::CatL:
            return FieldRange{std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()};
        case FieldKind::Str:
            return FieldRange{std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max()};
        case FieldKind::Map:
            return FieldRange{0, std::numeric_limits<std::uint8_t>::max()};
        case FieldKind::Cat:
            break;
    }
    return std::nullopt;
}

const std::array<FieldBinding, 50>& fieldBindings() {
    static const std::array<FieldBinding, 50> table = makeBindings();
    return table;
}

QString presentField(const Baza& baza, const FieldBinding& binding) {
    switch (binding.kind) {
        case FieldKind::Liga:
            return QString::number(baza.liga(binding.index));
        case FieldKind::Str:
            return QString::number(baza.str(binding.index));
        case FieldKind::Cat:
            return platform::fromCodePage(baza.cat(binding.index));
        case FieldKind::CatL:
            return QString::number(baza.catL(binding.index));
        case FieldKind::Map:
            return QString::number(baza.map(binding.index));
    }
    return QString();
}

bool storeField(Baza& baza, const FieldBinding& binding, const QString& text, const QLocale& locale) {
    const std::optional<long long> value = convertFor(binding.kind, text, locale);
    if (!value) {
        return false;
    }
    switch (binding.kind) {
        case FieldKind::Liga:
            baza.setLiga(binding.index, static_cast<std::int32_t>(*value));
            return true;
        case FieldKind::Str:
            baza.setStr(binding.index, static_cast<std::int16_t>(*value));
            return true;
        case FieldKind::CatL:
            baza.setCatL(binding.index, static_cast<std::int32_t>(*value));
            return true;
        case FieldKind::Map:
            baza.setMap(binding.index, static_cast<std::uint8_t>(*value));
            return true;
        case FieldKind::Cat:
            break;
    }
    return false;
}

std::optional<long long> convertNumber(const QString& text, long long minimum, long long maximum,
                                       const QLocale& locale) {
    QLocale reader = locale;
    reader.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double number = reader.toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(number)) {
        return std::nullopt;
    }
    // Outside this window every value is out of range anyway; checking first
    // keeps the conversion to an integer well defined.
    if (number < static_cast<double>(minimum) - 1.0 || number > static_cast<double>(maximum) + 1.0) {
        return std::nullopt;
    }
    const int savedMode = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(number);
    std::fesetround(savedMode);
    const auto value = static_cast<long long>(rounded);
    if (value < minimum || value > maximum) {
        return std::nullopt;
    }
    return value;
}
