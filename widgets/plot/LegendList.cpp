#include "widgets/plot/LegendList.h"

#include "base/StringList.h"
#include "platform/graphics/GDI.h"
#include "widgets/plot/PlotGraph.h"
#include "base/ScopeGuard.h"

namespace plot {

using namespace platform;

namespace {
void* AsObject(std::uint32_t v) { return reinterpret_cast<void*>(std::uintptr_t(v)); }
}  // namespace

TEGLegendList::TEGLegendList(TComponent* AOwner) : TCustomListBox(AOwner)
{
    SetStyle(lbOwnerDrawFixed);
    Canvas()->Pen().SetColor(clBlack);
}

TEGLegendList::~TEGLegendList()
{
    if (plotGraph_ && plotGraph_->legend_ == this) plotGraph_->legend_ = nullptr;
}

void TEGLegendList::Unlink()
{
    if (!plotGraph_) return;
    if (plotGraph_->legend_ == this) plotGraph_->legend_ = nullptr;
    RemoveFreeNotification(plotGraph_);
    plotGraph_ = nullptr;
}

void TEGLegendList::SetPlotGraph(TPlotGraph* Value)
{
    if (Value == plotGraph_) return;
    Unlink();
    plotGraph_ = Value;
    if (Value) {
        Value->legend_ = this;
        // The control may belong to another owner; hear of its end either way.
        FreeNotification(Value);
    }
    UpdateList(-1);
}

void TEGLegendList::SetCheckBoxes(bool Value)
{
    if (Value == checkBoxes_) return;
    checkBoxes_ = Value;
    Invalidate();
}

std::uint32_t TEGLegendList::ItemValue(int Index)
{
    return std::uint32_t(reinterpret_cast<std::uintptr_t>(Items().GetObject(Index)));
}

void TEGLegendList::UpdateList(int Index)
{
    if (Index != -1) return;
    const int oldCount = Items().Count();
    const int oldIndex = ItemIndex();
    Items().BeginUpdate();
    auto finish = [this] {
        Items().EndUpdate();
        if (OnChange) OnChange(this);
    };
    {
        base::ScopeExit restore([&] { finish(); });
        Items().Clear();
        if (plotGraph_) {
            if (plotGraph_->legend_ == this) {
                TSeries& series = plotGraph_->Series();
                for (int i = 0; i < series.Count(); ++i) {
                    const TPoints& s = series.GetSeries(i);
                    std::string text;
                    if (s.Func().empty()) text = s.Caption();
                    else if (!s.Caption().empty()) text = s.Caption() + " (" + s.Func() + ")";
                    else text = "(" + s.Func() + ")";
                    const std::uint32_t value = std::uint32_t(s.Color()) | (s.Visible() ? VisibleBit : 0u);
                    Items().AddObject(text, AsObject(value));
                }
            } else {
                // The control now shows its series in another list.
                RemoveFreeNotification(plotGraph_);
                plotGraph_ = nullptr;
            }
        }
    }
    if (Items().Count() == oldCount) {
        SetItemIndex(oldIndex);
        Click();
    }
}

TRect TEGLegendList::CheckBoxRect(const TRect& Rect)
{
    TRect box{Rect.Left + 1, Rect.Top + 1, 0, Rect.Bottom - 1};
    box.Right = box.Left + (box.Bottom - box.Top) + 1;
    return box;
}

void TEGLegendList::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State)
{
    if (OnDrawItem) {
        OnDrawItem(this, Index, Rect, State);
        return;
    }
    TCanvas* c = Canvas();
    c->FillRect(Rect);
    const TColor back = c->Brush().Color();
    c->Pen().SetColor(clBlack);
    c->Pen().SetStyle(psSolid);
    const std::uint32_t value = ItemValue(Index);
    TRect box = CheckBoxRect(Rect);
    if (checkBoxes_) {
        c->Brush().SetColor(clWhite);
        c->Rectangle(box);
        if (value & VisibleBit) {
            c->MoveTo(box.Left, box.Top);
            c->LineTo(box.Right - 1, box.Bottom - 1);
            c->MoveTo(box.Right - 1, box.Top);
            c->LineTo(box.Left, box.Bottom - 1);
        }
        box.Left = box.Right + 5;
        c->Brush().SetColor(back);
    }
    box.Right = box.Left + 20;
    c->Brush().SetColor(TColor(value & ColorMask));
    c->Rectangle(box);
    c->Brush().SetColor(back);
    TRect textRect{box.Right + 5, Rect.Top + 1, Rect.Right, Rect.Bottom - 1};
    const std::string& text = Items().Get(Index);
    if (text.empty()) {
        const TColor keep = c->Font().Color();
        c->Font().SetColor(clSilver);
        DrawText(c->Handle(), "----", -1, &textRect, DT_SINGLELINE | DT_VCENTER);
        c->Font().SetColor(keep);
    } else {
        DrawText(c->Handle(), text, -1, &textRect, DT_SINGLELINE | DT_VCENTER);
    }
}

void TEGLegendList::WndProc(TMessage& Message)
{
    if (Message.Msg == WM_LBUTTONDOWN && checkBoxes_) {
        const TPoint p = Message.Pos();
        const int index = ItemAtPos(p, true);
        if (index >= 0 && PtInRect(CheckBoxRect(ItemRect(index)), p)) {
            const std::uint32_t value = ItemValue(index) ^ VisibleBit;
            Items().PutObject(index, AsObject(value));
            if (plotGraph_) plotGraph_->Series().GetSeries(index).SetVisible((value & VisibleBit) != 0);
            if (OnChange) OnChange(this);
            Invalidate();
        }
    }
    TCustomListBox::WndProc(Message);
}

void TEGLegendList::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == opRemove && AComponent == plotGraph_) plotGraph_ = nullptr;
    TCustomListBox::Notification(AComponent, Operation);
}

}  // namespace plot
