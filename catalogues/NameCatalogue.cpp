#include "catalogues/NameCatalogue.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace {

// An optional minus sign and one or more decimal digits, nothing else.
bool isSignAndDigits(const std::string& item) {
    const std::size_t first = !item.empty() && item[0] == '-' ? 1 : 0;
    return item.size() > first && std::all_of(item.begin() + static_cast<std::ptrdiff_t>(first), item.end(),
                                              [](char c) { return c >= '0' && c <= '9'; });
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

}  // namespace

std::optional<int> catalogueNumber(const std::string& item) {
    if (!isSignAndDigits(item)) {
        return std::nullopt;
    }
    const bool negative = item[0] == '-';
    // Digits beyond the range's own stop early, so no text overflows.
    constexpr long long kLimit = std::numeric_limits<std::int16_t>::max() + 1LL;
    long long magnitude = 0;
    for (std::size_t i = negative ? 1 : 0; i < item.size(); ++i) {
        magnitude = magnitude * 10 + (item[i] - '0');
        if (magnitude > kLimit) {
            return std::nullopt;
        }
    }
    const long long value = negative ? -magnitude : magnitude;
    if (value < std::numeric_limits<std::int16_t>::min() || value > std::numeric_limits<std::int16_t>::max()) {
        return std::nullopt;
    }
    return static_cast<int>(value);
}

bool isCatalogueText(const std::string& item) {
    return !std::all_of(item.begin(), item.end(), isBlank) && !isSignAndDigits(item);
}

NameCatalogue::NameCatalogue(std::vector<std::string> items) : items_(std::move(items)) {
    paired_ = !items_.empty() && items_.size() % 2 == 0;
    for (std::size_t i = 0; paired_ && i < items_.size(); i += 2) {
        paired_ = catalogueNumber(items_[i]).has_value() && isCatalogueText(items_[i + 1]);
    }
    if (!paired_) {
        return;
    }
    entries_.reserve(items_.size() / 2);
    byNumber_.reserve(items_.size() / 2);
    for (std::size_t i = 0; i < items_.size(); i += 2) {
        const int number = *catalogueNumber(items_[i]);
        byNumber_.emplace_back(number, entries_.size());
        entries_.push_back({number, std::move(items_[i + 1])});
    }
    items_.clear();
    items_.shrink_to_fit();
    std::sort(byNumber_.begin(), byNumber_.end());
}

std::optional<std::size_t> NameCatalogue::positionOf(long long number) const {
    if (number < std::numeric_limits<int>::min() || number > std::numeric_limits<int>::max()) {
        return std::nullopt;
    }
    const std::pair<int, std::size_t> first{static_cast<int>(number), 0};
    const auto found = std::lower_bound(byNumber_.begin(), byNumber_.end(), first);
    if (found == byNumber_.end() || found->first != number) {
        return std::nullopt;
    }
    return found->second;
}

const NameEntry* NameCatalogue::entryOf(long long number) const {
    const std::optional<std::size_t> position = positionOf(number);
    return position ? &entries_[*position] : nullptr;
}

std::string NameCatalogue::entryText(const NameEntry& entry) {
    return std::to_string(entry.number) + " \xC2\xB7 " + entry.name;
}
