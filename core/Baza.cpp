#include "core/Baza.h"

#include <stdexcept>
#include <system_error>
#include <utility>

#include "core/BazaRegions.h"
#include "platform/FileSystem.h"

using baza_regions::Bytes;
using baza_regions::kRegions;
using baza_regions::Region;

namespace {

// 15613092 -> "15,613,092".
std::string groupDigits(std::int64_t value) {
    std::string digits = std::to_string(value < 0 ? -value : value);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) {
        digits.insert(static_cast<std::size_t>(at), 1, ',');
    }
    return value < 0 ? "-" + digits : digits;
}

void checkIndex(int index, int count) {
    if (index < 0 || index >= count) {
        throw std::out_of_range("league block index " + std::to_string(index) + " outside 0.." +
                                std::to_string(count - 1));
    }
}

}  // namespace

Baza::Baza() {
    block_.cat.fill(std::string(CatLength, '\0'));
}

SaveError Baza::tooShortError(const std::filesystem::path& path, std::int64_t size) {
    return SaveError(path,
                     "the file is " + groupDigits(size) +
                         " bytes long and ends before the league block, which lies at bytes " +
                         groupDigits(LigaOffset) + " to " + groupDigits(BlockEnd - 1) + " (counted from 0)",
                     FileError::Kind::TooShort);
}

bool Baza::File_Exists(const std::filesystem::path& Str_Path) {
    if (Str_Path.empty()) {
        return false;
    }
    std::error_code error;
    return std::filesystem::exists(Str_Path, error);
}

bool Baza::Wczytaj(const std::filesystem::path& path) {
    std::optional<LoadError> ignored;
    return Wczytaj(path, ignored);
}

bool Baza::Wczytaj(const std::filesystem::path& path, std::optional<LoadError>& why) {
    why.reset();
    if (!File_Exists(path)) {
        why = path.empty() ? FileError::noName(path) : FileError::missing(path);
        return false;
    }
    try {
        // Refuses folders, pipes and devices without reading a byte.
        const std::unique_ptr<platform::OpenFile> file = platform::fileSystem().open(path, BinaryFile::Mode::Read);
        Block staging;  // starts zero-filled, texts as NUL bytes
        staging.cat.fill(std::string(CatLength, '\0'));
        for (const Region& region : kRegions) {
            Bytes bytes(region.size, 0);  // what lies beyond the end of the file stays zero
            file->readAt(region.offset, bytes.data(), bytes.size());
            region.decode(bytes, staging);
        }
        file->close();
        // Moving cannot fail half-way, so the block is replaced all at once.
        block_ = std::move(staging);
        loaded_ = true;
        return true;
    } catch (const FileError& error) {
        why = error;
    } catch (const std::exception& error) {
        why = LoadError(path, error.what());
    }
    return false;
}

bool Baza::Zapisz(const std::filesystem::path& path) {
    if (!loaded_) {
        return false;
    }
    const std::filesystem::path target = path.empty() ? path_ : path;
    try {
        // Opened for update only: a file that is gone is not created again.
        const std::unique_ptr<platform::OpenFile> file =
            platform::fileSystem().open(target, BinaryFile::Mode::ReadWrite);
        // Only bytes that already exist are written: a file that ends before
        // the block is not the game executable, and growing it would only make
        // it look like one.
        if (file->size() < BlockEnd) {
            throw tooShortError(target, file->size());
        }
        for (const Region& region : kRegions) {
            Bytes bytes(region.size, 0);
            region.encode(block_, bytes);
            file->writeAt(region.offset, bytes.data(), bytes.size());
        }
        file->sync();
        file->close();
    } catch (const FileError& error) {
        if (error.kind() == FileError::Kind::Missing) {
            throw SaveError(target, "the file no longer exists", error.kind());
        }
        throw;
    }
    return true;
}

bool Baza::replaceBlock(const Block& block) {
    if (!loaded_) {
        return false;
    }
    block_ = block;
    return true;
}

std::int32_t Baza::liga(int index) const {
    checkIndex(index, LigaCount);
    return block_.liga[index];
}

void Baza::setLiga(int index, std::int32_t value) {
    checkIndex(index, LigaCount);
    block_.liga[index] = value;
}

std::int16_t Baza::str(int index) const {
    checkIndex(index, StrCount);
    return block_.str[index];
}

void Baza::setStr(int index, std::int16_t value) {
    checkIndex(index, StrCount);
    block_.str[index] = value;
}

std::string Baza::cat(int index) const {
    checkIndex(index, CatCount);
    return block_.cat[index];
}

void Baza::setCat(int index, const std::string& text) {
    checkIndex(index, CatCount);
    block_.cat[index] = fitCategory(text);
}

std::int32_t Baza::catL(int index) const {
    checkIndex(index, CatLCount);
    return block_.catL[index];
}

void Baza::setCatL(int index, std::int32_t value) {
    checkIndex(index, CatLCount);
    block_.catL[index] = value;
}

std::uint8_t Baza::map(int index) const {
    checkIndex(index, MapCount);
    return block_.map[index];
}

void Baza::setMap(int index, std::uint8_t value) {
    checkIndex(index, MapCount);
    block_.map[index] = value;
}

bool Baza::Zmien_Dane(const Liga_Table& values) {
    if (!loaded_) {
        return false;
    }
    block_.liga = values;
    return true;
}

bool Baza::Zmien_DaneStr(const Str_Table& values) {
    if (!loaded_) {
        return false;
    }
    block_.str = values;
    return true;
}

bool Baza::Zmien_DaneStruct_Category(const Cat_Texts& texts) {
    if (!loaded_) {
        return false;
    }
    for (int i = 0; i < CatCount; ++i) {
        block_.cat[i] = fitCategory(texts[i]);
    }
    return true;
}

bool Baza::Zmien_DaneMap(const Map_Table& codes) {
    if (!loaded_) {
        return false;
    }
    for (int i = 0; i < MapCount; ++i) {
        block_.map[i] = Get_Stat(codes[i]);
    }
    return true;
}

bool Baza::Zmien_DaneStruct_CategoryL(const CatL_Table& values) {
    if (!loaded_) {
        return false;
    }
    block_.catL = values;
    return true;
}

std::uint8_t Baza::Get_Stat(std::uint8_t Wartosc) {
    return Wartosc <= 10 ? Wartosc : 10;
}

std::string Baza::fitCategory(const std::string& text) {
    std::string fitted = text.substr(0, CatLength);
    fitted.resize(CatLength, ' ');
    return fitted;
}
