#include "catalogues/CatalogueReader.h"

namespace {

constexpr int kEnd = std::char_traits<char>::eof();

bool isBlank(int c) {
    return c == ' ' || c == '\t';
}

bool endsItem(int c) {
    return c == ',' || c == '\r' || c == '\n' || c == kEnd;
}

void skipBlanks(std::istream& in) {
    while (isBlank(in.peek())) {
        in.get();
    }
}

// Consumes the delimiter after an item. Returns true when it was a comma,
// that is when another item follows even if the file ends right after it.
bool consumeDelimiter(std::istream& in) {
    const int c = in.get();
    if (c == ',') {
        return true;
    }
    if (c == '\r' && in.peek() == '\n') {
        in.get();
    }
    return false;
}

}  // namespace

CatalogueContents readCatalogue(std::istream& in, std::size_t itemLimit) {
    CatalogueContents contents;
    bool afterComma = false;
    while (in.peek() != kEnd || afterComma) {
        if (contents.items.size() == itemLimit) {
            contents.items.clear();
            contents.items.shrink_to_fit();
            contents.tooMany = true;
            return contents;
        }
        skipBlanks(in);
        std::string item;
        if (in.peek() == '"') {
            in.get();
            int c;
            while ((c = in.get()) != kEnd && c != '"') {
                item.push_back(static_cast<char>(c));
            }
            if (c != '"') {
                contents.complete = false;
                return contents;
            }
            // Whatever stands between the closing quote and the delimiter is dropped.
            while (!endsItem(in.peek())) {
                in.get();
            }
        } else {
            while (!endsItem(in.peek())) {
                item.push_back(static_cast<char>(in.get()));
            }
            while (!item.empty() && isBlank(static_cast<unsigned char>(item.back()))) {
                item.pop_back();
            }
        }
        contents.items.push_back(std::move(item));
        afterComma = consumeDelimiter(in);
    }
    return contents;
}
