#pragma once
// A list box whose items are edited in place, inserted and deleted by keys, searched as
// the user types, and kept in an INI file.
#include <cstdint>
#include <functional>
#include <string>

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

struct TELPersist {
    bool Enable = false;
    TELStorage Storage = stInifile;
    std::string Key, Section;
    int Count = 0;
    bool MaxCount = false;
};

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

    std::function<void(platform::TObject* Sender, std::string& newstr, bool& allow)> OnEditDone;
    std::function<void(platform::TObject* Sender, int itemindex, bool& allow)> OnEditStart;
    std::function<void(platform::TObject* Sender, std::string& avalue)> OnAutoInsert;
    std::function<void(platform::TObject* Sender, std::string& avalue, bool& allowdelete)> OnAutoDelete;
    std::function<void(platform::TObject* Sender, int ListIndex)> OnSelChange;

    void KeyDown(platform::Word& Key, platform::TShiftState Shift) override;
    void KeyUp(platform::Word& Key, platform::TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void MouseDown(platform::TMouseButton Button, platform::TShiftState Shift, int X, int Y) override;
    void WMSetFocus(platform::TWMSetFocus& m) override;
    void WMKillFocus(platform::TWMKillFocus& m) override;
    void WMTimer(platform::TWMTimer& m) override;
    void WMGetDlgCode(platform::TWMGetDlgCode& m) override;
    void CMHintShow(platform::TCMHintShow& m) override;

protected:
    void SelectionChanged() override;
    void DestroyWnd() override;

private:
    friend class TSizeEdit;
    // Stores the edit's text into its item, as OnEditDone allows.
    void CommitEdit();
    std::string IniFileName() const;

    TSizeEdit* edit_;
    int updateCount_ = 0;
    std::string lookup_;
    bool allowEdit_ = true, editMode_ = false, hovering_ = false, inNotify_ = false;
    platform::TColor savedColor_ = platform::clWindow;
};

}  // namespace edit
