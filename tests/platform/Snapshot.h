#pragma once
// Pictures of what a test drew, for looking at: with KORVELO_SNAPSHOTS set to a folder,
// SaveSnapshot writes name.bmp there; otherwise it does nothing.
#include <cstdlib>
#include <string>

#include "platform/graphics/Graphics.h"

inline void SaveSnapshot(platform::TBitmap& b, const std::string& name)
{
    if (const char* dir = std::getenv("KORVELO_SNAPSHOTS"); dir && *dir) b.SaveToFile(std::string(dir) + "/" + name + ".bmp");
}
