#include "core/BlockLook.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <utility>

#include "core/Fields.h"
#include "core/GameRanges.h"

namespace {

bool isPadding(unsigned char c) {
    return c == ' ' || c == '\0';
}

bool isText(unsigned char c) {
    return c >= 0x20 && c != 0x7F;
}

// The problem with category text `number` (1-based), or "" when it is text.
std::string categoryProblem(int number, const std::string& text) {
    std::size_t end = std::min<std::size_t>(text.size(), Baza::CatLength);
    while (end > 0 && isPadding(static_cast<unsigned char>(text[end - 1]))) {
        --end;
    }
    std::size_t first = end;
    int others = 0;
    for (std::size_t i = 0; i < end; ++i) {
        if (isText(static_cast<unsigned char>(text[i]))) {
            continue;
        }
        if (first == end) {
            first = i;
        } else {
            ++others;
        }
    }
    if (first == end) {
        return {};
    }
    char byte[8];
    std::snprintf(byte, sizeof byte, "0x%02X", static_cast<unsigned>(static_cast<unsigned char>(text[first])));
    std::string problem = "category text " + std::to_string(number) + " holds bytes that are not text (byte " + byte +
                          " at position " + std::to_string(first + 1);
    if (others > 0) {
        problem += ", and " + std::to_string(others) + " more";
    }
    return problem + ")";
}

}  // namespace

BlockLook lookAtBlock(const Baza::Block& block) {
    BlockLook look;
    for (int i = 0; i < Baza::CatCount; ++i) {
        std::string problem = categoryProblem(i + 1, block.cat[static_cast<std::size_t>(i)]);
        if (!problem.empty()) {
            look.problems.push_back(std::move(problem));
        }
    }

    const GameRange& maps = gameRange(FieldKind::Map);
    int shown = 0;
    int inRange = 0;
    for (const Field& field : fields()) {
        if (field.kind != FieldKind::Map) {
            continue;
        }
        ++shown;
        const long long code = fieldNumber(block, field);
        if (code >= maps.minimum && code <= maps.maximum) {
            ++inRange;
        }
    }
    if (2 * inRange < shown) {
        look.problems.push_back("only " + std::to_string(inRange) + " of the " + std::to_string(shown) +
                                " map codes lie in " + maps.values);
    }

    look.looksLikeBlock = look.problems.empty();
    return look;
}
