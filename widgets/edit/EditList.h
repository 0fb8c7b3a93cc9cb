#pragma once
// A list box whose items are edited in place, inserted and deleted by keys, searched as
// the user types, and kept in an INI file.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/controls/Edit.h"
#include "platform/controls/ListBox.h"

namespace edit {

class TEditListBox;

// The in-place edit laid over an item.
class TSizeEdit : public platform::TEdit {
public:
    explicit TSizeEdit(TEditListBox* list);
    int EditIndex() const { return index_; }
    const std::string& SavedText() const { return saved_; }
    void Change() override;
    void WMKillFocus(platform::TWMKillFocus& m) override;
    void KeyDown(platform::Word& Key, platform::TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void CMWantSpecialKey(platform::TCMWantSpecialKey& m) override;

private:
    friend class TEditListBox;
    // Ends the edit: the item gets its text (through the list's commit), the list the focus.
    void Finish(int select);
    TEditListBox* list_;
    int index_ = -1, count_ = 0;
    std::string saved_;
};

enum TELStorage { stInifile, stRegistry };
enum TScrollStyle { ssNormal, ssFlat, ssEncarta };
enum TTabType { tableft, tabright };

class TTabPositionCollection;

// One column tab stop, in pixels from the list's left edge.
class TTabPositionItem {
public:
    explicit TTabPositionItem(TTabPositionCollection* owner) : owner_(owner) {}
    int TabPosition() const { return position_; }
    void SetTabPosition(int v);
    TTabType TabType() const { return type_; }
    void SetTabType(TTabType v);

private:
    TTabPositionCollection* owner_;
    int position_ = 0;
    TTabType type_ = tableft;
};

// The list's tab stops; a change to any of them re-applies them to the list.
class TTabPositionCollection {
public:
    explicit TTabPositionCollection(TEditListBox* list) : list_(list) {}
    int Count() const { return int(items_.size()); }
    TTabPositionItem* Items(int i) const { return items_.at(std::size_t(i)).get(); }
    TTabPositionItem* Add();
    void Delete(int i);
    void Clear();
    TEditListBox* Owner() const { return list_; }
    void Changed();

private:
    TEditListBox* list_;
    std::vector<std::unique_ptr<TTabPositionItem>> items_;
};

struct TELPersist {
    bool Enable = false;
    TELStorage Storage = stInifile;
    std::string Key, Section;
    int Count = 0;
    bool MaxCount = false;
};

using TEditDoneEvent = std::function<void(platform::TObject* Sender, std::string& newstr, bool& allow)>;
using TEditStartEvent = std::function<void(platform::TObject* Sender, int itemindex, bool& allow)>;
using TAutoInsertEvent = std::function<void(platform::TObject* Sender, std::string& avalue)>;
using TAutoDeleteEvent = std::function<void(platform::TObject* Sender, std::string& avalue, bool& allowdelete)>;
using TSelChangeEvent = std::function<void(platform::TObject* Sender, int ListIndex)>;

class TEditListBox : public platform::TListBox {
public:
    explicit TEditListBox(platform::TComponent* AOwner);
    ~TEditListBox() override;

    TSizeEdit* Editor() const { return edit_; }
    bool Editing() const;
    void ShowEdit();
    void SetEditMode(bool on);
    void BeginUpdate() { ++updateCount_; }
    void EndUpdate();
    void LoadPersist();
    void SavePersist();
    void Lookup();
    const std::string& LookupText() const { return lookup_; }
    int GetStringExtent(const std::string& s);
    int GetMaxStringExtent();
    int VisibleItems() const;
    void SetIndexAndScroll(int index);

    TTabPositionCollection& TabPositions() { return tabs_; }
    // Sets the list's tab stops from TabPositions (1 to 19 of them; more set none).
    void SetTabStops();
    // Fits the tab positions to the widest text of each column, spacing apart.
    void OptimizeTabs(int spacing);

    TScrollStyle ScrollStyle() const { return scrollStyle_; }
    void SetScrollStyle(TScrollStyle v);
    platform::TColor ScrollColor() const { return scrollColor_; }
    void SetScrollColor(platform::TColor v);
    int ScrollWidth() const { return scrollWidth_; }
    void SetScrollWidth(int v);
    bool ScrollHorizontal() const { return scrollHorizontal_; }
    void SetScrollHorizontal(bool v);

    // The flat scroll-bar calls on this list's window.
    int FlatSetScrollPos(int code, int pos, bool redraw);
    int FlatSetScrollInfo(int code, const platform::SCROLLINFO& info, bool redraw);
    bool FlatSetScrollProp(unsigned index, platform::LPARAM value, bool redraw);
    bool FlatShowScrollBar(int code, bool show);
    void UpdateStyle();
    void UpdateColor();
    void UpdateWidth();
    void UpdateVScrollBar();
    void UpdateHScrollBar();
    void UpdateHScrollExtent();
    bool Hovering() const { return hovering_; }
    void SetHovering(bool v);
    void SetAllowEdit(bool v);
    bool AllowEdit() const { return allowEdit_; }
    virtual std::uint32_t GetVersionNr() const { return 0x02010000; }
    std::string GetVersion() const;

    bool ReturnIsTab = false, ReturnIsClick = false, ReturnIsDblClick = false;
    bool AutoInsert = false, AutoDelete = false;
    bool LookupIncr = false, LookupFull = false;
    platform::TColor FocusColor = platform::clWindow;
    platform::TColor HintColor = platform::clWhite;
    TELPersist Persist;

    TEditDoneEvent OnEditDone;
    TEditStartEvent OnEditStart;
    TAutoInsertEvent OnAutoInsert;
    TAutoDeleteEvent OnAutoDelete;
    TSelChangeEvent OnSelChange;

    void KeyDown(platform::Word& Key, platform::TShiftState Shift) override;
    void KeyUp(platform::Word& Key, platform::TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void MouseDown(platform::TMouseButton Button, platform::TShiftState Shift, int X, int Y) override;
    void WMSetFocus(platform::TWMSetFocus& m) override;
    void WMKillFocus(platform::TWMKillFocus& m) override;
    void WMTimer(platform::TWMTimer& m) override;
    void WMGetDlgCode(platform::TWMGetDlgCode& m) override;
    void CMHintShow(platform::TCMHintShow& m) override;
    void WMSize(platform::TWMSize& m) override;
    void WMHScroll(platform::TWMHScroll& m) override;
    void WMVScroll(platform::TWMVScroll& m) override;
    void CreateParams(platform::TCreateParams& params) override;
    void CreateWnd() override;
    void WndProc(platform::TMessage& m) override;
    void Loaded() override;

protected:
    void SelectionChanged() override;
    void ItemsChanged(bool Reset) override;
    void DestroyWnd() override;

private:
    friend class TSizeEdit;
    // Stores the edit's text into its item, as OnEditDone allows.
    void CommitEdit();
    std::string IniFileName() const;

    // Shows the flat vertical bar when the rows overflow, then brings both bars, the width,
    // the style and the colour up to date.
    void UpdateBars();

    TSizeEdit* edit_;
    TTabPositionCollection tabs_{this};
    TScrollStyle scrollStyle_ = ssNormal;
    platform::TColor scrollColor_ = 0x1FFFFFFF;
    int scrollWidth_;
    bool scrollHorizontal_ = true;
    int widest_ = 0;
    bool editingFlag_ = false;
    int updateCount_ = 0;
    std::string lookup_;
    bool allowEdit_ = true, editMode_ = false, hovering_ = false, inNotify_ = false;
    platform::TColor savedColor_ = platform::clWindow;
};

}  // namespace edit
