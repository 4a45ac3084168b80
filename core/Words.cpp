#include "core/Words.h"

Words::Words(const char* context, const char* source, std::vector<Words> values)
    : form_(Form::Text), context_(context), source_(source), parts_(std::move(values)) {}

Words Words::value(std::string text) {
    Words words;
    words.form_ = Form::Value;
    words.value_ = std::move(text);
    return words;
}

Words Words::number(long long number) {
    return value(std::to_string(number));
}

Words Words::joined(std::vector<Words> parts, const std::string& separator) {
    Words words;
    words.form_ = Form::Joined;
    words.value_ = separator;
    for (Words& part : parts) {
        if (!part.empty()) {
            words.parts_.push_back(std::move(part));
        }
    }
    if (words.parts_.empty()) {
        return {};
    }
    return words;
}

bool Words::empty() const {
    switch (form_) {
        case Form::Nothing:
            return true;
        case Form::Text:
            return source_ == nullptr || *source_ == '\0';
        case Form::Value:
            return value_.empty();
        case Form::Joined:
            return parts_.empty();
    }
    return true;
}

std::string Words::english() const {
    return text([](const char*, const char* source) { return std::string(source); });
}

std::string Words::text(const Translate& translate) const {
    switch (form_) {
        case Form::Nothing:
            return {};
        case Form::Value:
            return value_;
        case Form::Joined: {
            std::string all;
            for (const Words& part : parts_) {
                all += (all.empty() ? "" : value_) + part.text(translate);
            }
            return all;
        }
        case Form::Text:
            break;
    }
    const std::string source = translate(context_, source_);
    // One pass from left to right: what a place is filled with is never
    // looked at again, so a value holding "%2" stays as it is.
    std::string filled;
    filled.reserve(source.size());
    for (std::size_t i = 0; i < source.size(); ++i) {
        const char next = i + 1 < source.size() ? source[i + 1] : '\0';
        if (source[i] == '%' && next >= '1' && next <= '9') {
            const auto place = static_cast<std::size_t>(next - '1');
            if (place < parts_.size()) {
                filled += parts_[place].text(translate);
                ++i;
                continue;
            }
        }
        filled += source[i];
    }
    return filled;
}

Words Words::then(Words more, const std::string& separator) const {
    return joined({*this, std::move(more)}, separator);
}
