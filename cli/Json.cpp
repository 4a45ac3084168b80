#include "cli/Json.h"

#include "core/Hex.h"
#include "platform/CodePage.h"

namespace {

void escape(std::string& out, char32_t c) {
    const auto unit = [&out](unsigned value) {
        out += "\\u";
        for (int shift = 12; shift >= 0; shift -= 4) {
            out += hex::digit((value >> shift) & 0xF, false);
        }
    };
    if (c > 0xFFFF) {
        const char32_t above = c - 0x10000;
        unit(0xD800 + static_cast<unsigned>(above >> 10));
        unit(0xDC00 + static_cast<unsigned>(above & 0x3FF));
    } else {
        unit(static_cast<unsigned>(c));
    }
}

void indent(std::string& out, int depth) {
    out += '\n';
    out.append(static_cast<std::size_t>(depth) * 2, ' ');
}

}  // namespace

std::string jsonString(const std::string& text) {
    // Every broken sequence becomes U+FFFD first, so what follows reads
    // well-formed UTF-8 only.
    const std::string utf8 = codepage::isValidUtf8(text) ? text : codepage::toUtf8(text, codepage::Encoding::Utf8);
    std::string out = "\"";
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0x80) {
            if (lead == '"' || lead == '\\') {
                out += '\\';
                out += static_cast<char>(lead);
            } else if (lead == '\n') {
                out += "\\n";
            } else if (lead == '\t') {
                out += "\\t";
            } else if (lead < 0x20 || lead == 0x7F) {
                escape(out, lead);
            } else {
                out += static_cast<char>(lead);
            }
            ++i;
            continue;
        }
        const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        char32_t c = lead & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) {
            c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        }
        escape(out, c);
        i += length;
    }
    return out + "\"";
}

Json Json::boolean(bool value) {
    Json json;
    json.kind_ = Kind::Boolean;
    json.boolean_ = value;
    return json;
}

Json Json::number(long long value) {
    Json json;
    json.kind_ = Kind::Number;
    json.number_ = value;
    return json;
}

Json Json::text(std::string utf8) {
    Json json;
    json.kind_ = Kind::Text;
    json.text_ = std::move(utf8);
    return json;
}

Json Json::array() {
    Json json;
    json.kind_ = Kind::Array;
    return json;
}

Json Json::object() {
    Json json;
    json.kind_ = Kind::Object;
    return json;
}

Json& Json::set(std::string key, Json value) {
    members_.emplace_back(std::move(key), std::move(value));
    return *this;
}

Json& Json::push(Json value) {
    items_.push_back(std::move(value));
    return *this;
}

std::string Json::write() const {
    std::string out;
    writeTo(out, 0);
    return out + "\n";
}

void Json::writeTo(std::string& out, int depth) const {
    switch (kind_) {
        case Kind::Null:
            out += "null";
            return;
        case Kind::Boolean:
            out += boolean_ ? "true" : "false";
            return;
        case Kind::Number:
            out += std::to_string(number_);
            return;
        case Kind::Text:
            out += jsonString(text_);
            return;
        case Kind::Array:
        case Kind::Object:
            break;
    }
    const bool isObject = kind_ == Kind::Object;
    const std::size_t count = isObject ? members_.size() : items_.size();
    // The outer two levels one entry a line; deeper ones on a line of their own.
    const bool lines = depth < 2;
    out += isObject ? '{' : '[';
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0) {
            out += lines ? "," : ", ";
        }
        if (lines) {
            indent(out, depth + 1);
        }
        if (isObject) {
            out += jsonString(members_[i].first) + ": ";
        }
        (isObject ? members_[i].second : items_[i]).writeTo(out, depth + 1);
    }
    if (lines && count > 0) {
        indent(out, depth);
    }
    out += isObject ? '}' : ']';
}
