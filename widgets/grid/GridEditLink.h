#pragma once
// The base of custom cell editors: the application derives from TEditLink, makes its own
// control in CreateEditor and routes the control's keys to EditKeyDown; the grid places,
// loads and reads it for cells of editor type edCustom.
#include <string>

#include "platform/controls/Controls.h"

namespace platform {
class TForm;
}

namespace grid {

class TExStringGrid;

enum TEditStyle { esInplace, esPopup };

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

    TExStringGrid* Grid() const { return grid_; }
    void SetGrid(TExStringGrid* g) { grid_ = g; }
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
    TExStringGrid* grid_ = nullptr;
    platform::TForm* popupForm_ = nullptr;
    bool focusReturn_ = false;
};

}  // namespace grid
