#pragma once
// The host's picture reader: image bytes in any format it knows, GIF frames included.
#include <memory>
#include <string>
#include <vector>

#include "platform/Types.h"

namespace platform {

// One decoded picture. Its size is also given in HIMETRIC (0.01 mm) at 96 pixels per
// inch, the unit in which picture objects report their size.
class DecodedImage {
public:
    ~DecodedImage();
    DecodedImage(const DecodedImage&) = delete;
    DecodedImage& operator=(const DecodedImage&) = delete;

    int Width() const;
    int Height() const;
    int HimetricWidth() const;
    int HimetricHeight() const;
    // The whole picture scaled into dest (logical coordinates of the DC).
    void Draw(HDC dc, const TRect& dest) const;
    // RGB of one pixel, 0x00BBGGRR; CLR_INVALID outside the picture.
    COLORREF PixelAt(int x, int y) const;

    struct Impl;

private:
    friend class ImageDecoder;
    explicit DecodedImage(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

// Reads the first picture of the bytes, or steps through the frames of an animation.
class ImageDecoder {
public:
    explicit ImageDecoder(std::string bytes);
    ~ImageDecoder();
    ImageDecoder(const ImageDecoder&) = delete;
    ImageDecoder& operator=(const ImageDecoder&) = delete;

    // Null when the reader does not know the format or the data is damaged.
    static std::unique_ptr<DecodedImage> Decode(const std::string& bytes);

    bool CanRead() const;
    std::string Format() const;  // lower case, e.g. "gif", "png"; empty when unknown
    int FrameCount() const;      // 1 for still pictures, 0 when unreadable
    int CurrentFrame() const;    // from 0
    // The current frame, composed as the animation shows it; null on failure.
    std::unique_ptr<DecodedImage> ReadFrame();
    // Moves to the next frame; false after the last one.
    bool NextFrame();
    bool JumpToFrame(int index);
    // Delay after the current frame in milliseconds; 0 for still pictures.
    int FrameDelay() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace platform
