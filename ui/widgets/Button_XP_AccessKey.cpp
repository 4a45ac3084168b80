#include "ui/widgets/Button_XP_AccessKey.h"

namespace buttonxp {

QChar accessKeyOf(const QString& caption) {
    const qsizetype length = caption.size();
    if (length < 2) {
        return {};
    }
    const qsizetype first = caption.indexOf(QLatin1Char('&'));
    if (first < 0 || first == length - 1) {
        return {};
    }
    if (caption[first + 1] != QLatin1Char('&')) {
        return caption[first + 1].toLower();
    }
    // "&&" is a literal ampersand; only the next ampersand may still mark a key.
    const qsizetype second = caption.indexOf(QLatin1Char('&'), first + 2);
    if (second >= 0 && second + 1 < length && caption[second + 1] != QLatin1Char('&')) {
        return caption[second + 1].toLower();
    }
    return {};
}

QString withoutAccessMarks(const QString& caption) {
    QString plain;
    plain.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&')) {
            if (i + 1 < caption.size() && caption[i + 1] == QLatin1Char('&')) {
                plain += QLatin1Char('&');
                ++i;
            }
            continue;
        }
        plain += caption[i];
    }
    return plain;
}

QString accessKeyText(QChar key) {
    return key.isNull() ? QString() : QStringLiteral("Alt+") + key;
}

}  // namespace buttonxp
