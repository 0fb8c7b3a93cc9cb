#pragma once
// A list of equally sized images drawn by index.
#include <memory>
#include <vector>

#include "platform/Classes.h"
#include "platform/Types.h"

namespace platform {

class TCanvas;
class TBitmap;

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
    void Delete(int index);
    void Clear();

    // Nothing happens for an index outside the list. Disabled images are drawn greyed.
    void Draw(TCanvas* canvas, int x, int y, int index, bool enabled = true) const;
    // Copies image index into bitmap, resized to the list's image size.
    void GetBitmap(int index, TBitmap* bitmap) const;

private:
    int width_ = 16, height_ = 16;
    std::vector<std::unique_ptr<TBitmap>> images_;
};

}  // namespace platform
