#pragma once
// The base of custom cell editors: the application derives from TEditLink, makes its own
// control in CreateEditor and routes the control's keys to EditKeyDown; the grid places,
// loads and reads it for cells of editor type edCustom. The link reaches the grid it
// serves only through TEditLinkHost, which the grid gives it as editing starts.
#include <string>

#include "platform/controls/Controls.h"

namespace platform {
class TForm;
}

namespace grid {

class TExStringGrid;
class TEditLink;

enum TEditStyle { esInplace, esPopup };

// What a link asks of the grid it serves: the edit under way and the current cell, the
// end of the edit and the move after it, the focus, and its control's messages routed
// through the grid while it edits.
class TEditLinkHost {
public:
    virtual ~TEditLinkHost() = default;
    // Whether the grid is editing a cell with its link now.
    virtual bool LinkEditing() const = 0;
    // Takes the link's value into the cell through the grid's validation; false when refused.
    virtual bool CommitLinkValue() = 0;
    // The cell's text when the edit began.
    virtual std::string EditStartText() const = 0;
    virtual void FocusGrid() = 0;
    // Closes the edit: the link's value goes into the cell and the editor is hidden.
    virtual void CloseEditor() = 0;
    // After a closed edit: Enter advances (Forward false goes back), Tab and the arrows move.
    virtual void AdvanceAfterEdit(bool Forward) = 0;
    virtual void MoveAfterEdit(platform::Word Key, platform::TShiftState Shift) = 0;
    // The current cell's text.
    virtual std::string CellValue() = 0;
    virtual void SetCellValue(const std::string& Value) = 0;
    virtual int LineWidth() const = 0;
    // The pop-up form was left while the link edited.
    virtual void PopupLeft() = 0;
    // Puts the grid's window procedure in front of the control's, and takes it away.
    virtual void HookControl(platform::TWinControl* Control) = 0;
    virtual void UnhookControl(platform::TWinControl* Control) = 0;
    // The grid as the parent of an in-cell editor.
    virtual platform::TWinControl* Window() = 0;
    // The link is going: the grid forgets it.
    virtual void LinkGone(TEditLink* Link) = 0;
};

class TEditLink : public platform::TComponent {
public:
    explicit TEditLink(platform::TComponent* AOwner);
    ~TEditLink() override;

    bool AutoPopupWidth = false;
    TEditStyle EditStyle = esInplace;
    int PopupWidth = 100, PopupHeight = 100;
    // Keys that stay with the editor instead of ending the edit.
    bool WantKeyLeftRight = false, WantKeyUpDown = false, WantKeyHomeEnd = false, WantKeyPriorNext = false,
         WantKeyReturn = false, WantKeyEscape = false;

    // The grid it serves, set by the grid each time editing starts.
    TEditLinkHost* Grid() const { return grid_; }
    void SetGrid(TEditLinkHost* g) { grid_ = g; }
    int EditCol = -1, EditRow = -1;  // real column, row
    platform::TForm* PopupForm() const { return popupForm_; }
    void SetPopupForm(platform::TForm* f) { popupForm_ = f; }

    // Tab, Enter, Esc, Page Up/Down, End and the arrows end the edit unless a WantKey keeps them.
    virtual void EditKeyDown(platform::TObject* Sender, platform::Word& Key, platform::TShiftState Shift);
    virtual platform::TWinControl* GetEditControl() { return nullptr; }
    virtual void CreateEditor(platform::TWinControl* AParent) { (void)AParent; }
    virtual void DestroyEditor() {}
    virtual void SetFocus(bool Value);
    virtual void SetRect(platform::TRect ARect);
    virtual void SetVisible(bool Value);
    virtual void SetProperties() {}
    virtual void SetCellProps(platform::TColor AColor, platform::TFont* AFont) { (void)AColor; (void)AFont; }
    virtual std::string GetEditorValue() { return {}; }
    virtual void SetEditorValue(const std::string& Value) { (void)Value; }

    // The control's exit: the value to the cell and the editor closed.
    void EditExit(platform::TObject* Sender);
    // The pop-up form's exit.
    void FormExit(platform::TObject* Sender);
    std::string GetCellValue();
    void SetCellValue(const std::string& Value);
    void HideEditor();
    void RestoreWinProc();
    platform::TWinControl* GetParent();

private:
    TEditLinkHost* grid_ = nullptr;
    platform::TForm* popupForm_ = nullptr;
    bool focusReturn_ = false;
};

// A grid as the host of its links: keeps the window procedure of the link's control
// that the grid's SubclassProc stands in for.
class TGridLinkHost final : public TEditLinkHost {
public:
    explicit TGridLinkHost(TExStringGrid& grid) : g_(grid) {}
    bool LinkEditing() const override;
    bool CommitLinkValue() override;
    std::string EditStartText() const override;
    void FocusGrid() override;
    void CloseEditor() override;
    void AdvanceAfterEdit(bool Forward) override;
    void MoveAfterEdit(platform::Word Key, platform::TShiftState Shift) override;
    std::string CellValue() override;
    void SetCellValue(const std::string& Value) override;
    int LineWidth() const override;
    void PopupLeft() override;
    void HookControl(platform::TWinControl* Control) override;
    void UnhookControl(platform::TWinControl* Control) override;
    platform::TWinControl* Window() override;
    void LinkGone(TEditLink* Link) override;
    // The control's own window procedure while hooked.
    const platform::TControl::TWndMethod& SavedProc() const { return savedProc_; }

private:
    TExStringGrid& g_;
    platform::TControl::TWndMethod savedProc_;
};

}  // namespace grid
