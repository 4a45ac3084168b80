#pragma once

#include <cstddef>
#include <istream>
#include <string>
#include <vector>

// Reads a text catalogue item by item, to its end.
//
// - An item ends at a comma or at a line end (CR LF, CR alone or LF alone).
// - Blanks (spaces, tabs) before an item are skipped, and so are blanks after
//   an unquoted item.
// - An item that begins with a double quote runs to the next double quote and
//   may hold commas and line ends; the quotes are not part of it. Anything
//   between the closing quote and the next delimiter is ignored.
// - An empty line, or nothing between two commas, gives an empty item.
// - A final line end gives no extra item; a comma right before the end of
//   the file is followed by one empty item.
// - An opening quote that is never closed ends the reading: the items before
//   it are kept and `complete` is false.
//
// Items are returned as the file's bytes (single-byte code page).
struct CatalogueContents {
    std::vector<std::string> items;
    bool complete = true;
    bool tooMany = false;  // more than the limit: `items` is empty
};

// The most items a catalogue may hold, and its largest size in bytes.
constexpr std::size_t kCatalogueItemLimit = 100000;
constexpr std::size_t kCatalogueSizeLimit = 4 * 1024 * 1024;

// Reads at most `itemLimit` items; a catalogue with more gives none at all
// and `tooMany`.
CatalogueContents readCatalogue(std::istream& in, std::size_t itemLimit = kCatalogueItemLimit);
