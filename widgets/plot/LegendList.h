#pragma once
// A list of the series of one plot control: a check box that shows or hides each
// series, its colour and its name.
#include <cstdint>

#include "platform/controls/ListBox.h"

namespace plot {

class TPlotGraph;

class TEGLegendList : public platform::TCustomListBox {
public:
    // The value in each row's object slot: the series colour and the visible bit.
    static constexpr std::uint32_t ColorMask = 0x03FFFFFF;
    static constexpr std::uint32_t VisibleBit = 0x04000000;

    explicit TEGLegendList(platform::TComponent* AOwner);
    ~TEGLegendList() override;

    TPlotGraph* PlotGraph() const { return plotGraph_; }
    void SetPlotGraph(TPlotGraph* Value);
    bool CheckBoxes() const { return checkBoxes_; }
    void SetCheckBoxes(bool Value);
    platform::TNotifyEvent OnChange;

    // Index -1 rebuilds the rows from the linked control's series; others do nothing.
    void UpdateList(int Index);
    std::uint32_t ItemValue(int Index);
    // The check box of a row drawn in Rect; right and bottom edges exclusive.
    static platform::TRect CheckBoxRect(const platform::TRect& Rect);

    void DrawItem(int Index, const platform::TRect& Rect, platform::TOwnerDrawState State) override;
    void WndProc(platform::TMessage& Message) override;
    void Notification(platform::TComponent* AComponent, TOperation Operation) override;

private:
    friend class TPlotGraph;
    void Unlink();

    TPlotGraph* plotGraph_ = nullptr;
    bool checkBoxes_ = true;
};

}  // namespace plot
