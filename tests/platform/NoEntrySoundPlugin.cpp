// A library that loads but lacks the sound plug-in's entry point.

#include <QtGlobal>

extern "C" Q_DECL_EXPORT int not_a_sound_plugin() {
    return 1;
}
