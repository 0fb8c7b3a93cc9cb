#pragma once
// The desktop's system image list: one icon per kind of file (by extension) and one
// for folders, in a small and a large size, drawn by index.
#include <cstdint>
#include <string>

#include "platform/Types.h"

namespace platform {

using HIMAGELIST = std::uintptr_t;

struct SHFILEINFO {
    int iIcon = 0;
    DWORD dwAttributes = 0;
};

enum : UINT {
    SHGFI_LARGEICON = 0x0, SHGFI_SMALLICON = 0x1, SHGFI_USEFILEATTRIBUTES = 0x10, SHGFI_SYSICONINDEX = 0x4000
};
enum : DWORD { FILE_ATTRIBUTE_DIRECTORY = 0x10, FILE_ATTRIBUTE_NORMAL = 0x80 };
enum : UINT { ILD_NORMAL = 0x0, ILD_TRANSPARENT = 0x1 };

// With SHGFI_SYSICONINDEX: the small or large system image list, and in info the index
// of path's icon (taken from fileAttributes and the extension with
// SHGFI_USEFILEATTRIBUTES, else from the file itself). 0 without SHGFI_SYSICONINDEX.
HIMAGELIST SHGetFileInfo(const std::string& path, DWORD fileAttributes, SHFILEINFO* info, UINT flags);
bool ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy);
int ImageList_GetImageCount(HIMAGELIST list);
// False for an unknown list or index. ILD_NORMAL fills the icon's transparent parts
// with the window colour.
bool ImageList_Draw(HIMAGELIST list, int index, HDC dc, int x, int y, UINT style);

}  // namespace platform
