// The hint for the cell under the mouse: a comment, the cell's own text when asked for
// or when it does not fit, and whatever GetCellHint makes of it.
#include "platform/Messages.h"
#include "platform/controls/Controls.h"
#include "widgets/grid/ExGrid.h"
#include "widgets/grid/ExUtil.h"
#include "widgets/html/HtmlEngine.h"
#include "widgets/grid/HTMLHintWindow.h"

using namespace platform;

namespace grid {

void TExStringGrid::ShowHintProc(std::string& HintStr, bool& CanShow, THintInfo& HintInfo)
{
    (void)CanShow;
    int c = -1, r = -1;
    const TPoint at = ShownPoint(HintInfo.CursorPos);
    MouseToCell(at.X, at.Y, c, r);
    if (c >= 0 && r >= 0) {
        hint_.hintCell = TPoint{c, r};
        const TRect R = ShownRect(CellRect(c, r));
        const int rc = RemapCol(c);
        const std::string text = TBaseGrid::Cells(rc, r);
        if (AnchorHint && EnableHTML && TextType(text, true) == TTextType::ttHTML) {
            html::HTMLDrawResult res;
            if (HTMLHitTest(c, r, at.X, at.Y, res) && !res.AnchorValue.empty()) {
                std::string anchor = res.AnchorValue;
                if (OnAnchorHint) OnAnchorHint(this, r, rc, anchor);
                HintStr = anchor;
            }
        }
        TPoint pos{R.Left, R.Bottom + 6};
        std::string comment;
        if (IsComment(rc, r, comment)) {
            HintStr = comment;
            pos = TPoint{R.Right, R.Top};
        }
        auto cellText = [&] { return HTMLHint ? text : GetStrippedCell(rc, r); };
        if (HintShowCells && c >= GetFixedColsEx() && c <= ColCount() - FixedRightCols() - 1 &&
            r >= GetFixedRowsEx() && r <= RowCount() - FixedFooters() - 1) {
            pos.Y = R.Top;
            HintStr = cellText();
        }
        if (HintShowLargeText) {
            const TSize sz = GetCellTextSize(rc, r, false);
            if (sz.cx > R.Right - R.Left || sz.cy > R.Bottom - R.Top) {
                pos.Y = R.Top;
                HintStr = cellText();
            }
        }
        GetCellHint(c, r, HintStr);
        HintInfo.HintPos = ClientToScreen(pos);
    }
    HintInfo.HintColor = HintColor;
}

void TExStringGrid::CMHintShow(TCMHintShow& m)
{
    if (THintInfo* info = HintInfoOf(m)) {
        bool canShow = true;
        ShowHintProc(info->HintStr, canShow, *info);
        return;
    }
    TBaseGrid::CMHintShow(m);
}

void TExStringGrid::SetUseHTMLHints(bool Value)
{
    hint_.useHTMLHints = Value;
    UseHTMLHintWindows(Value);
}

}  // namespace grid
