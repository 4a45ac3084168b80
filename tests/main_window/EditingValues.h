#pragma once

#include "core/Baza.h"

// The block the editing tests start from.
inline void knownValues(Baza& b) {
    b.setLiga1(5);    // member 0, "National Slot, row 1"
    b.setLiga6(40);   // member 5, "Club Slot, row 2"
    b.setStr5(4821);  // member 17, "Club Name, row 1", picker 18
    b.setStr7(12);    // member 19, "Club Name, row 3", picker 20
    b.setStr8(1005);  // member 20, "Club Name, row 4", picker 21
    for (int i = 0; i < 4; ++i)
        b.setCat(i, "category_01");  // members 26 to 29, pickers 1 to 4
    b.setCatL1(5);                   // member 30, indicator Label2: unnamed_40.bin
    b.setAfrica(62);                 // member 40, "Maps Load ..., row 2"
}
