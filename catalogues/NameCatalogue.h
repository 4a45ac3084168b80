#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/GameRanges.h"

// The name catalogue, Setting\ID_Name_League.ini, as the name pickers offer
// it. Standard library only.
//
// The catalogue "reads as pairs" when its items, read as every catalogue is
// (CatalogueReader.h), alternate a whole number and a text from the first
// item to the last: items 1, 3, 5 ... are whole numbers, items 2, 4, 6 ... are
// texts, and there is an even number of them, at least two. Each pair is then
// one entry, a name index and its name, and choosing the entry stores the
// index. Any other catalogue, an empty one included, does not read as pairs:
// every item is an entry of its own, and choosing one copies its text.
//
// - A whole number is an optional minus sign followed by one or more of the
//   digits 0 to 9, and nothing else: no plus sign, no blank (the reader drops
//   blanks around an unquoted item, not inside quotes), no decimal point, no
//   thousands separator. Its value must lie within -32768 to 32767, the values
//   a name box stores. Leading zeros count for nothing: "007" is 7.
// - A text is an item that holds a character other than a blank or a tab and
//   is not itself an optional minus sign and digits (whatever their value).
//   So a catalogue of bare numbers, one a line, stays a list of numbers.

// The file's name, as the user finds it in the Setting folder.
inline constexpr char kNameCatalogueFile[] = "ID_Name_League.ini";

// One entry of a catalogue that reads as pairs.
struct NameEntry {
    int number;        // the name index
    std::string name;  // UTF-8
};

// The value of an item that is a whole number under the rule above.
std::optional<int> catalogueNumber(const std::string& item);

// Whether an item is a text under the rule above.
bool isCatalogueText(const std::string& item);

class NameCatalogue final : public NameIndices {
public:
    // No items: not paired.
    NameCatalogue() = default;
    // The catalogue made of `items` (UTF-8, in file order, as Ini reads them).
    explicit NameCatalogue(std::vector<std::string> items);

    bool paired() const { return paired_; }

    // Not paired: every item, in file order, each an entry of the pickers.
    // Paired: empty; the entries hold the items.
    const std::vector<std::string>& items() const { return items_; }
    // Paired: one entry per pair, in file order, repeated numbers included.
    // Not paired: empty.
    const std::vector<NameEntry>& entries() const { return entries_; }

    // The position in entries() of the first entry with `number`; none when
    // no entry has it (always none when not paired).
    std::optional<std::size_t> positionOf(long long number) const;
    const NameEntry* entryOf(long long number) const;

    // What a picker shows for an entry: "12 · Ashgrove, Wanderers" (the
    // number in plain decimal, a blank, a middle dot, a blank, the name).
    static std::string entryText(const NameEntry& entry);

    // The catalogue as the name boxes' game range: itself when it reads as
    // pairs, nullptr when it does not.
    const NameIndices* pairedIndices() const { return paired_ ? this : nullptr; }

    bool lists(long long index) const override { return positionOf(index).has_value(); }
    std::size_t nameCount() const override { return entries_.size(); }
    std::string fileName() const override { return kNameCatalogueFile; }

private:
    bool paired_ = false;
    std::vector<std::string> items_;
    std::vector<NameEntry> entries_;
    // (number, position) of every entry, sorted: number first, then position.
    std::vector<std::pair<int, std::size_t>> byNumber_;
};
