// One "BUTTONPOS" entry of a skin file: name,x,y,width,height,hint,flag.
#pragma once

#include <cstdint>

struct ButtonPosition {
    char name[40];  // first field of the value, cut to fit
    int32_t left;   // x
    int32_t top;    // y
    int32_t right;  // x + width
    int32_t bottom; // y + height
    char hint[400]; // the field before the last comma, leading blanks removed, cut to fit
    int32_t flag;   // 1 when "TRUE" occurs after the first comma: the button starts checked
};

// Zero-fills out, then parses value (null reads as empty). Never reads past the terminator; fields
// that are missing or not numbers stay zero; width and height are added with wrap-around, never
// undefined overflow.
void ParseButtonPos(const char* value, ButtonPosition& out);
