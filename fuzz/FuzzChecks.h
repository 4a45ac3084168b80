#pragma once

#include <string>
#include <string_view>

// What must hold for any input, however hostile, to the two readers of files
// that strangers may hand a user: league setup files and text catalogues. The
// fuzz targets run these on every input they make up, and the test suite on
// every input kept under tests/data/fuzz. Each returns an empty text when all
// holds, otherwise what went wrong.

// parseSetup either refuses the input with a SetupError naming a line of it,
// or gives a setup that writes out and reads back to the same values, and
// changes exactly the boxes it names when applied to a block.
std::string checkSetupInput(std::string_view input);

// readCatalogue ends, gives items that written back read again the same, and
// decodes them to valid UTF-8 as the window does.
std::string checkCatalogueInput(std::string_view input);

// parseRecord either refuses the input with a RecordError that names a line
// within it (or the length limit), or gives a record within its limits whose
// text is exactly the input (the format has one way of writing each record),
// or for a record of the first format, one that reads back the same.
std::string checkRecordInput(std::string_view input);

// The JSON writer of kelvory-cli (cli/Json.h), given the input as text (UTF-8
// or broken), as code-page text, as a key and as a number, writes a document
// that is printable ASCII and that a strict reader of its own reads back to
// the same values: a valid UTF-8 text exactly, a broken one as valid UTF-8.
std::string checkJsonInput(std::string_view input);
