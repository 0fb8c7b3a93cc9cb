#pragma once
// A list of equally sized images drawn by index. Icons keep their transparency: their
// masks and alpha channels are drawn as the icon draws them.
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/Classes.h"
#include "platform/Types.h"

namespace platform {

class TCanvas;
class TBitmap;
class TIcon;

class TImageList : public TComponent {
public:
    explicit TImageList(TComponent* AOwner = nullptr);
    TImageList(int width, int height);
    ~TImageList() override;

    int Width() const { return width_; }
    int Height() const { return height_; }
    // A new size empties the list.
    void SetSize(int width, int height);
    int Count() const { return int(images_.size()); }

    // A bitmap wider than the list adds one image per Width pixels; the index of the
    // first one is returned. The pixels are copied.
    int Add(TBitmap* image);
    // As Add, with pixels of maskColor left out when drawn.
    int AddMasked(TBitmap* image, TColor maskColor);
    // The icon's image nearest to the list's size, scaled to it; -1 for an empty icon.
    int AddIcon(TIcon* icon);
    // Replaces image index (-1 adds one); the index, or -1 when nothing was done.
    int ReplaceIcon(int index, TIcon* icon);
    // Image index as an icon of the list's size: transparent where the image was added
    // transparent. False for an index outside the list.
    bool GetIcon(int index, TIcon* icon) const;
    void Delete(int index);
    void Clear();

    // Nothing happens for an index outside the list. Disabled images are drawn greyed.
    void Draw(TCanvas* canvas, int x, int y, int index, bool enabled = true) const;
    // Copies image index into bitmap, resized to the list's image size.
    void GetBitmap(int index, TBitmap* bitmap) const;

    // After every change of the images.
    TNotifyEvent OnChange;

private:
    struct Entry {
        std::unique_ptr<TBitmap> image;
        std::vector<std::uint8_t> alpha;  // per pixel, row by row; empty when opaque or colour-keyed
    };
    Entry IconEntry(TIcon* icon) const;
    void Changed();
    int width_ = 16, height_ = 16;
    std::vector<Entry> images_;
};

}  // namespace platform
