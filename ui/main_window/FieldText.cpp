#include "ui/main_window/FieldText.h"

#include <cfenv>
#include <cmath>

#include "core/Baza.h"
#include "core/Fields.h"
#include "platform/Text.h"
#include "ui/main_window/Telling.h"

QString presentField(const Baza& baza, const Field& field) {
    if (field.kind == FieldKind::Cat) {
        return platform::fromCodePage(baza.cat(field.index));
    }
    return QString::number(fieldNumber(baza, field));
}

std::optional<long long> readField(const Field& field, const QString& text, const QLocale& locale) {
    const std::optional<FieldRange> range = fieldRange(field.kind);
    if (!range) {
        return std::nullopt;  // category texts are stored by their pickers
    }
    return convertNumber(text, range->minimum, range->maximum, locale);
}

QString allowedText(const Field& field) {
    return shown(fieldAllowed(field));
}

QString fieldName(const Field& field) {
    return shown(fieldLabel(field));
}

QString fieldAccessibleName(const Field& field) {
    return shown(fieldLabel(field).then(fieldSlot(field), ", "));
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
