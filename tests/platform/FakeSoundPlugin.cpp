// Stands in for the sound plug-in: remembers every sound it is asked to play.
// Built under the real plug-in's name beside sound_test; the test reads the
// record through the two functions below.

#include <QtGlobal>
#include <string>
#include <vector>

namespace {

std::vector<std::u16string>& played() {
    static std::vector<std::u16string> files;
    return files;
}

}  // namespace

extern "C" Q_DECL_EXPORT void kelvory_play_sound(const char16_t* path, int length) {
    played().emplace_back(path, static_cast<std::size_t>(length));
}

extern "C" Q_DECL_EXPORT int fake_sound_count() {
    return static_cast<int>(played().size());
}

// The path of the `index`th sound played, `length` code units long.
extern "C" Q_DECL_EXPORT const char16_t* fake_sound_played(int index, int* length) {
    const std::u16string& file = played().at(static_cast<std::size_t>(index));
    *length = static_cast<int>(file.size());
    return file.data();
}
