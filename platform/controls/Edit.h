#pragma once
// The single-line edit control, drawn by ourselves so that every message passes through
// the message records: derived edits intercept characters, keys, focus, clipboard
// commands and painting by overriding the handlers and calling the inherited one.
//
// The inherited handler of a message ends in DefaultHandler, which does what the
// platform's edit does with it (insert the character, move the caret, paste...).
#include <memory>
#include <string>

#include "platform/controls/EditBase.h"

namespace platform {

// Edit styles, read from CreateParams (Style).
enum : DWORD {
    ES_LEFT = 0x0, ES_CENTER = 0x1, ES_RIGHT = 0x2, ES_MULTILINE = 0x4, ES_UPPERCASE = 0x8, ES_LOWERCASE = 0x10,
    ES_PASSWORD = 0x20, ES_AUTOHSCROLL = 0x80, ES_NOHIDESEL = 0x100, ES_READONLY = 0x800, ES_WANTRETURN = 0x1000
};

// Edit messages. Pointers travel in the parameters as in the platform's messages.
enum : UINT {
    EM_GETSEL = 0x00B0,        // w, l: DWORD* or null; result: start | end << 16
    EM_SETSEL = 0x00B1,        // w start, l end; start -1 removes the selection, end -1 is the end
    EM_GETRECT = 0x00B2,       // l: TRect* receives the formatting rectangle
    EM_SETRECT = 0x00B3,       // l: const TRect* (null: the default); redraws
    EM_SETRECTNP = 0x00B4,     // as EM_SETRECT, without redrawing
    EM_SCROLLCARET = 0x00B7,
    EM_GETMODIFY = 0x00B8,
    EM_SETMODIFY = 0x00B9,     // w: the flag
    EM_LINELENGTH = 0x00C1,
    EM_REPLACESEL = 0x00C2,    // w: can undo; l: const char*
    EM_LIMITTEXT = 0x00C5,     // w: the limit, 0 none
    EM_SETLIMITTEXT = 0x00C5,
    EM_CANUNDO = 0x00C6,
    EM_UNDO = 0x00C7,
    EM_SETPASSWORDCHAR = 0x00CC,  // w: the character, 0 none
    EM_EMPTYUNDOBUFFER = 0x00CD,
    EM_SETREADONLY = 0x00CF,      // w: the flag
    EM_GETPASSWORDCHAR = 0x00D2,
    EM_GETLIMITTEXT = 0x00D5,
    EM_POSFROMCHAR = 0x00D6,   // w: index; result: client x | y << 16, -1 past the last character
    EM_CHARFROMPOS = 0x00D7    // l: client x | y << 16; result: the nearest character boundary (line 0 above)
};
// WM_SETTEXT / WM_GETTEXT: l points to the text (const char* / char* of w bytes).

enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };

class TCustomEdit : public TEditBase {
public:
    explicit TCustomEdit(TComponent* AOwner);
    ~TCustomEdit() override;

    // The raw window text; SetText replaces it (WM_SETTEXT): nothing selected,
    // the modified flag cleared, OnChange raised when it differs.
    void SetText(const std::string& s) override;
    void Clear() { SetText(std::string()); }

    int SelStart() const;
    void SetSelStart(int v);  // the caret, nothing selected
    int SelLength() const;
    void SetSelLength(int v);  // from SelStart
    std::string SelText() const;
    void SetSelText(const std::string& s);  // replaces the selection, as typed text (a change)
    void SelectAll();
    void ClearSelection();  // WM_CLEAR
    void CopyToClipboard();   // WM_COPY
    void CutToClipboard();    // WM_CUT
    void PasteFromClipboard();  // WM_PASTE
    void Undo();  // WM_UNDO
    bool CanUndo() const;
    void ClearUndo();
    // The position where the caret stands (the moving end of the selection).
    int CaretIndex() const { return caret_; }

    bool Modified() const { return modified_; }
    void SetModified(bool v) { modified_ = v; }
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool v);
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int v);  // 0: no limit; typing and pasting stop there
    char PasswordChar() const { return passwordChar_; }
    void SetPasswordChar(char c);
    TEditCharCase CharCase() const { return charCase_; }
    void SetCharCase(TEditCharCase c);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle s);  // bsNone or bsSingle
    // The single border sunken in 3D (two pixels) or flat (one pixel).
    bool Ctl3D() const { return ctl3D_; }
    void SetCtl3D(bool v);
    bool AutoSelect = true;   // entering by keyboard selects everything (single-line only)
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool v);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool v);
    bool OEMConvert = false;

    // The character boundary nearest to a client point (EM_CHARFROMPOS), and the client
    // position of boundary i (0 .. length, the caret's place there).
    int CharFromPos(TPoint p) const;
    TPoint PosFromChar(int index) const;

    TNotifyEvent OnChange;
    virtual void Change();  // raises OnChange

    TCanvas* Canvas();

    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& m) override;
    void Dispatch(TMessage& m) override;
    // The edit's own behaviour for what the handlers pass on.
    void DefaultHandler(TMessage& m) override;

    void WMGetDlgCode(TWMGetDlgCode& m) override;
    void WMSize(TWMSize& m) override;
    void CMEnter(TMessage& m) override;
    void CMFontChanged(TMessage& m) override;
    virtual void WMCopy(TMessage& m) { DefaultHandler(m); }
    virtual void WMCut(TMessage& m) { DefaultHandler(m); }
    virtual void WMPaste(TMessage& m) { DefaultHandler(m); }
    virtual void WMClear(TMessage& m) { DefaultHandler(m); }
    virtual void WMUndo(TMessage& m) { DefaultHandler(m); }
    virtual void WMSetText(TMessage& m) { DefaultHandler(m); }

protected:
    void CreateWnd() override;
    void PaintWindow(HDC dc) override;
    // Draws the text, the selection and the caret's surroundings on Canvas().
    virtual void PaintText();
    DWORD EditStyle() const;
    int LineHeight() const;  // of the edit's font
    // The text as shown, one wide character per position of the 8-bit text; the 8-bit
    // text widened here. An edit that keeps wide text beside it shows that instead.
    virtual std::u16string ShownText() const;
    // The shown text changed while the 8-bit text stayed: measure and draw it again.
    void ShownTextChanged() { InvalidateLayout(); }

private:
    void Native(TMessage& m);
    void NativeKey(Word key);
    void NativeChar(char c);
    void NativeMouse(TMessage& m);
    std::u16string Display() const;
    char ShownPasswordChar() const;
    const std::vector<int>& Offsets() const;
    int TextOrigin() const;
    void SetSelection(int anchor, int caret);
    void ReplaceSelection(const std::string& s, bool userEdit);
    void ChangeText(const std::string& s);
    void ScrollToCaret();
    void UpdateCaret();
    void AdjustHeight();
    void InvalidateLayout();
    int WordStart(int i) const;
    int WordEnd(int i) const;

    std::unique_ptr<TControlCanvas> canvas_;
    int anchor_ = 0, caret_ = 0;
    int scrollX_ = 0;
    bool modified_ = false, readOnly_ = false, hideSelection_ = true, autoSize_ = true, ctl3D_ = true;
    int maxLength_ = 0;
    char passwordChar_ = 0;
    TEditCharCase charCase_ = ecNormal;
    TAlignment alignment_ = taLeftJustify;
    TBorderStyle borderStyle_ = bsSingle;
    bool selecting_ = false;   // the left button extends the selection
    bool mouseEnter_ = false;  // the focus comes from a click: no AutoSelect
    std::string undoText_;
    int undoCaret_ = 0;
    bool canUndo_ = false;
    mutable std::vector<int> offsets_;  // x of each character boundary of the shown text
    mutable bool offsetsValid_ = false;
};

class TEdit : public TCustomEdit {
public:
    using TCustomEdit::TCustomEdit;
};

}  // namespace platform
