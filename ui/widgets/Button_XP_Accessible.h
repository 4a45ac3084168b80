#pragma once

// Makes every Button_XP a push button to assistive technology: role button,
// a press action that clicks it, and a name (its accessible name, or else its
// caption without access-key marks). Safe to call more than once.
void installButtonXPAccessibility();
