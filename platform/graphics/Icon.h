#pragma once
// Icons: the images of an .ico file (several sizes and colour depths), each with its
// mask, read from files, streams and the program's icon resources, and drawn at the size
// asked for with the image nearest to it.
#include <cstdint>
#include <istream>
#include <ostream>
#include <string>

#include "platform/graphics/Graphics.h"
#include "platform/system/Resources.h"

namespace platform {

using HICON = std::uintptr_t;

enum : UINT { DI_MASK = 0x1, DI_IMAGE = 0x2, DI_NORMAL = 0x3, DI_COMPAT = 0x4, DI_DEFAULTSIZE = 0x8 };

// The bytes of an .ico file as an icon; 0 when they are not one (or are damaged).
HICON CreateIconFromData(const std::string& icoBytes);
// An icon of one image: color's pixels where mask is black, the target where it is white
// (a null mask leaves every pixel opaque). The bitmaps are copied; 0 when color is empty.
HICON CreateIconFromBitmaps(TBitmap* color, TBitmap* mask);
// From RT_GROUP_ICON resources and the RT_ICON images they name; 0 when missing.
HICON LoadIcon(HINSTANCE instance, const std::string& name);
HICON LoadIcon(HINSTANCE instance, int id);
// Stores an .ico file as a resource compiler would: one RT_ICON per image (numbered from
// firstImageId) and the RT_GROUP_ICON that lists them. False when the bytes are no icon.
bool RegisterIconResource(HINSTANCE instance, const std::string& name, const std::string& icoBytes,
                          int firstImageId);
bool DestroyIcon(HICON icon);
HICON CopyIcon(HICON icon);
// The size of the icon's first image.
bool GetIconSize(HICON icon, int* cx, int* cy);
int GetIconImageCount(HICON icon);
// DI_NORMAL: the target ANDed with the mask, then XORed with the image (images with an
// alpha channel are blended instead). DI_MASK or DI_IMAGE alone copy that part.
// cx or cy 0: the image's own size, or the system's icon size with DI_DEFAULTSIZE.
bool DrawIconEx(HDC dc, int x, int y, HICON icon, int cx, int cy, UINT step, void* flickerFreeBrush, UINT flags);
bool DrawIcon(HDC dc, int x, int y, HICON icon);

class TIcon : public TGraphic {
public:
    TIcon();
    ~TIcon() override;
    TIcon(const TIcon&) = delete;
    TIcon& operator=(const TIcon&) = delete;
    void Assign(const TPersistent& source) override;

    // The icon is created on first use; an empty icon has none (0).
    HICON Handle() const { return handle_; }
    // Takes ownership of icon (the one held before is destroyed).
    void SetHandle(HICON icon);
    // Gives up the handle without destroying it.
    HICON ReleaseHandle();

    bool GetEmpty() const override { return handle_ == 0; }
    // The size the icon is drawn at: the one set with SetSize, else its first image's.
    int GetWidth() const override;
    int GetHeight() const override;
    void SetWidth(int w) override { SetSize(w, GetHeight()); }
    void SetHeight(int h) override { SetSize(GetWidth(), h); }
    void SetSize(int w, int h);
    int ImageCount() const;
    // Icons are always drawn through their masks.
    bool Transparent() const override { return true; }

    // At r's size, with the image nearest to it.
    void Draw(TCanvas& canvas, const TRect& r) override;
    // .ico files; EInvalidGraphic when the data is no icon.
    void LoadFromStream(std::istream& s) override;
    // As read when loaded unchanged, else each image as 32 bits with its mask.
    void SaveToStream(std::ostream& s) const override;
    void LoadFromResourceName(HINSTANCE instance, const std::string& name);  // EResNotFound
    void LoadFromResourceID(HINSTANCE instance, int id);

private:
    HICON handle_ = 0;
    int width_ = 0, height_ = 0;  // 0: the image's own
};

}  // namespace platform
