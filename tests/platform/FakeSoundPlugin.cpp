// Stands in for the sound plug-in: remembers every sound it is asked to play.
// Built under the real plug-in's name beside sound_test, which reads the
// record through fake_sound_played.

#include <QtGlobal>
#include <string>
#include <vector>

namespace {

std::vector<std::u16string> played;

}  // namespace

extern "C" Q_DECL_EXPORT void kelvory_play_sound(const char16_t* path, int length) {
    played.emplace_back(path, static_cast<std::size_t>(length));
}

// Every path played so far, in order.
extern "C" Q_DECL_EXPORT const std::vector<std::u16string>* fake_sound_played() {
    return &played;
}
