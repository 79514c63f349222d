#pragma once

#include <string>

// A picture named by a bitmap ID, with the bitmap's index in the picture
// source at the time the description was built (-1: no picture).
struct CPictureRef {
    std::string id;
    int index = -1;

    bool present() const { return index >= 0; }
};
