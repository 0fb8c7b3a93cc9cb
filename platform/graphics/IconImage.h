#pragma once
// Internal to platform/: one image of an icon, for the icon and image-list code.
#include <QImage>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/graphics/Icon.h"

namespace platform {

struct IconImage {
    QImage color;                     // ARGB32; opaque unless alpha
    std::vector<std::uint8_t> mask;   // row by row, 1 = the target shows (AND mask)
    bool alpha = false;               // drawn by its alpha channel, not its mask
    int bits = 32;
    std::string raw;                  // the DIB or PNG bytes as stored in a file
    std::string entry;                // the first 8 bytes of its directory entry, as read

    int Width() const { return color.width(); }
    int Height() const { return color.height(); }
    // Pixels under a set mask bit that are not black invert the target.
    bool Inverts() const;
    // The picture with transparency as alpha (inverting pixels left out).
    QImage Composed() const;
    // The mask as a picture: white where the target shows.
    QImage MaskImage() const;

    // With mask (1 = transparent) the colours are opaque elsewhere; without one, argb's
    // alpha counts.
    static IconImage FromArgb(const QImage& argb, const std::vector<std::uint8_t>* mask);
    static std::string EncodeDib(const QImage& color, const std::vector<std::uint8_t>& mask, bool alpha);
};

const IconImage* IconImageFor(HICON icon, int w, int h);
HICON CreateIconFromImages(std::vector<IconImage> images);
// target in logical coordinates; flags DI_NORMAL, DI_MASK or DI_IMAGE.
void DrawIconImage(HDC dc, const QRect& target, const IconImage& img, UINT flags);

}  // namespace platform
