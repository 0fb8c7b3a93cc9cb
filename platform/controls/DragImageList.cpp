// The drag image: a frameless window that takes no input, moved with the mouse.
#include <QPainter>
#include <QWidget>

#include "platform/controls/DragImageList.h"
#include "platform/graphics/Graphics.h"
#include "platform/Private.h"

namespace platform {

struct TDragImageList::Window {
    QWidget widget{nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowTransparentForInput};
    QImage image;
};

TDragImageList::TDragImageList(TComponent* AOwner) : TImageList(AOwner) {}
TDragImageList::TDragImageList(int width, int height) : TImageList(width, height) {}
TDragImageList::~TDragImageList() = default;

bool TDragImageList::SetDragImage(int index, int hotSpotX, int hotSpotY)
{
    if (index < 0 || index >= Count()) return false;
    index_ = index;
    hotSpot_ = {hotSpotX, hotSpotY};
    return true;
}

bool TDragImageList::BeginDrag(int x, int y)
{
    if (index_ < 0 || index_ >= Count()) return false;
    EnsurePlatform();
    if (!window_) window_ = std::make_unique<Window>();
    TBitmap b(Width(), Height());
    GetBitmap(index_, &b);
    window_->image = BitmapImage(b).copy();
    window_->widget.setAttribute(Qt::WA_ShowWithoutActivating);
    window_->widget.setFixedSize(Width(), Height());
    QPalette pal = window_->widget.palette();
    pal.setBrush(QPalette::Window, QBrush(window_->image));
    window_->widget.setPalette(pal);
    window_->widget.setAutoFillBackground(true);
    dragging_ = true;
    pos_ = {x, y};
    Place();
    ShowDragImage();
    return true;
}

bool TDragImageList::DragMove(int x, int y)
{
    if (!dragging_) return false;
    pos_ = {x, y};
    Place();
    return true;
}

bool TDragImageList::EndDrag()
{
    if (!dragging_) return false;
    dragging_ = false;
    HideDragImage();
    return true;
}

void TDragImageList::ShowDragImage()
{
    if (dragging_ && window_) window_->widget.show();
}

void TDragImageList::HideDragImage()
{
    if (window_) window_->widget.hide();
}

bool TDragImageList::ImageShown() const { return window_ && window_->widget.isVisible(); }

void TDragImageList::Place()
{
    if (window_) window_->widget.move(pos_.X - hotSpot_.X, pos_.Y - hotSpot_.Y);
}

}  // namespace platform
