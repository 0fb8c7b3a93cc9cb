#pragma once
// The table-size picker: a grid of cells dragged out to columns x rows, growing while the
// pointer is dragged past its far edges.
#include "widgets/flat/Selector.h"

namespace flat {

class TExTableSelectorPanel : public TExCustomSelectorPanel {
public:
    explicit TExTableSelectorPanel(platform::TComponent* AOwner);
    int ColCount = 5, RowCount = 4;
    int CellSize = 24;
    TColor SelectionColor = 0x800000;
    int SelectedCols() const { return selectedCols_; }
    int SelectedRows() const { return selectedRows_; }
    void SetSelectedCols(int v);
    void SetSelectedRows(int v) { selectedRows_ = v; }
    platform::TNotifyEvent OnSelect;

    void SetPanelSize();
    void SetItemsPosition() { SetPanelSize(); }
    // Cell (col, row), both from 1; row 1 is always next to the button.
    TRect CellRect(int col, int row) const;
    TRect LabelRect() const;
    std::string LabelText() const;
    void InvalidateSelection(int oldCols, int oldRows);

    void Paint() override;
    void MouseMove(platform::TShiftState Shift, int X, int Y) override;
    void MouseUp(platform::TMouseButton Button, platform::TShiftState Shift, int X, int Y) override;
    void CMMouseLeave(platform::TMessage& m) override;

private:
    int Step() const { return CellSize + gap_; }
    void Grow(bool columns);
    int selectedCols_ = 0, selectedRows_ = 0;
    int leftMargin_ = 4, topMargin_ = 4, gap_ = 2, labelHeight_ = 20;
};

class TExCustomTableSelector : public TExCustomSelector {
public:
    explicit TExCustomTableSelector(platform::TComponent* AOwner);
    int DefaultColCount() const { return defaultCols_; }
    void SetDefaultColCount(int v);  // 1 to 60
    int DefaultRowCount() const { return defaultRows_; }
    void SetDefaultRowCount(int v);  // 1 to 60
    int SelectedColCount() const { return selectedCols_; }
    int SelectedRowCount() const { return selectedRows_; }
    TExTableSelectorPanel* TablePanel() const { return table_; }
    // Replaces the selectors' OnSelect: the chosen size is in SelectedColCount and SelectedRowCount.
    platform::TNotifyEvent OnSelect;

    void MouseMove(platform::TShiftState Shift, int X, int Y) override;

protected:
    void SetSelectorPanel() override;

private:
    int defaultCols_ = 5, defaultRows_ = 4;
    int selectedCols_ = 0, selectedRows_ = 0;
    TExTableSelectorPanel* table_ = nullptr;
};

class TExTableSelector : public TExCustomTableSelector {
public:
    using TExCustomTableSelector::TExCustomTableSelector;
};

// One button per character of Characters, drawn in CharFont.
class TExCharacterSelector : public TExCustomSelector {
public:
    explicit TExCharacterSelector(platform::TComponent* AOwner);
    const std::string& Characters() const { return characters_; }
    // Refused (base::Exception) while AutoLoad is on.
    void SetCharacters(const std::string& s);
    char SelectedChar() const { return selectedChar_; }
    void SetSelectedChar(char c);
    bool AutoLoad() const { return autoLoad_; }
    void SetAutoLoad(bool v);
    platform::TFont* CharFont() { return &charFont_; }
    void SetCharFont(const platform::TFont& f) { charFont_.Assign(f); }
    void AddItemsFromChars();
    void LoadCharFromFont();
    platform::TNotifyEvent OnSelect;

protected:
    void OnToolSelect() override;
    void DrawGlyphAndCaption(platform::TBitmap* Bitmap, TRect R) override;
    void SetSelectorPanel() override;

private:
    void DrawChar(TRect R);
    std::string characters_;
    char selectedChar_ = 0;
    bool autoLoad_ = false;
    platform::TFont charFont_;
};

}  // namespace flat
