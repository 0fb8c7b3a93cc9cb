#pragma once
// An image list whose chosen image follows the mouse during a drag.
#include <memory>

#include "platform/graphics/ImageList.h"

namespace platform {

class TDragImageList : public TImageList {
public:
    explicit TDragImageList(TComponent* AOwner = nullptr);
    TDragImageList(int width, int height);
    ~TDragImageList() override;

    // The image that is dragged and the point of it that sits under the mouse.
    bool SetDragImage(int index, int hotSpotX, int hotSpotY);
    TPoint DragHotspot() const { return hotSpot_; }
    // Positions are screen coordinates. BeginDrag shows the image at once.
    bool BeginDrag(int x, int y);
    bool DragMove(int x, int y);
    bool EndDrag();
    void ShowDragImage();
    void HideDragImage();
    bool Dragging() const { return dragging_; }
    bool ImageShown() const;
    TPoint DragPos() const { return pos_; }  // the hot spot's screen position

private:
    struct Window;
    void Place();
    int index_ = 0;
    TPoint hotSpot_, pos_;
    bool dragging_ = false;
    std::unique_ptr<Window> window_;
};

}  // namespace platform
