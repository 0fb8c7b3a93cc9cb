#pragma once
// Saves a painted control for a person to look at, when KORVELO_LOOK_DIR names a folder.
#include <cstdlib>
#include <string>

#include "platform/graphics/Graphics.h"

inline void LookAt(const platform::TBitmap& bmp, const std::string& name)
{
    if (const char* dir = std::getenv("KORVELO_LOOK_DIR")) bmp.SaveToFile(std::string(dir) + "/" + name + ".bmp");
}
