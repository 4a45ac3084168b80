#include "platform/Text.h"

#include "platform/CodePage.h"

namespace platform {

QString fromCodePage(const std::string& bytes) {
    return fromUtf8(codepage::decode(bytes));
}

std::string toCodePage(const QString& text) {
    return codepage::encode(toUtf8(text));
}

}  // namespace platform
