#pragma once
// The rich-text edit control: a TRichDocument shown in a window, typed into, loaded from
// and saved to RTF, with the character-format and resize-request messages of the
// platform's rich edit. Drawn by ourselves like the plain edit.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/controls/CommCtrl.h"
#include "platform/controls/EditBase.h"
#include "platform/graphics/Rtf.h"

namespace platform {

class TRichDocument;

// Rich-edit messages.
enum : UINT {
    EM_GETCHARFORMAT = 0x043A,  // w: 1 the selection (0 the default); l: CHARFORMATA*; result: the mask
    EM_REQUESTRESIZE = 0x0441,  // sends EN_REQUESTRESIZE now
    EM_GETEVENTMASK = 0x043B,
    EM_SETCHARFORMAT = 0x0444,  // w: SCF_SELECTION the selection, 0 all the text; l: const CHARFORMATA*
    EM_SETEVENTMASK = 0x0445    // l: ENM_ flags; result: the old mask
};
enum : UINT { SCF_DEFAULT = 0, SCF_SELECTION = 1 };
enum : DWORD { ENM_CHANGE = 0x1, ENM_SELCHANGE = 0x80000, ENM_REQUESTRESIZE = 0x40000 };
enum : UINT { EN_SELCHANGE = 0x0702, EN_REQUESTRESIZE = 0x0701 };

enum : DWORD {
    CFM_BOLD = 0x1, CFM_ITALIC = 0x2, CFM_UNDERLINE = 0x4, CFM_FACE = 0x20000000, CFM_COLOR = 0x40000000,
    CFM_SIZE = 0x80000000, CFM_OFFSET = 0x10000000
};
enum : DWORD { CFE_BOLD = 0x1, CFE_ITALIC = 0x2, CFE_UNDERLINE = 0x4, CFE_AUTOCOLOR = 0x40000000 };

// The character-format record (60 bytes). Heights and offsets in twips.
struct CHARFORMATA {
    UINT cbSize = sizeof(CHARFORMATA);
    DWORD dwMask = 0;
    DWORD dwEffects = 0;
    std::int32_t yHeight = 0;
    std::int32_t yOffset = 0;
    COLORREF crTextColor = 0;
    unsigned char bCharSet = 0;
    unsigned char bPitchAndFamily = 0;
    char szFaceName[32] = {};
};
static_assert(sizeof(CHARFORMATA) == 60);

// The notice of EN_REQUESTRESIZE: the rectangle the content asks for.
struct REQRESIZE {
    NMHDR nmhdr;
    TRect rc;
};

class TCustomRichEdit : public TEditBase {
public:
    explicit TCustomRichEdit(TComponent* AOwner);
    ~TCustomRichEdit() override;

    // The content as RTF. LoadRTF refuses text that is not RTF and keeps the content.
    bool LoadRTF(const std::string& rtf, std::string* error = nullptr);
    std::string SaveRTF() const;
    void Clear();
    // The plain text, paragraphs separated by CR LF; SetText replaces the content.
    std::string PlainText() const;
    void SetText(const std::string& s) override;
    TRichDocument& Document() { return *doc_; }
    const TRichDocument& Document() const { return *doc_; }

    int SelStart() const;
    void SetSelStart(int v);
    int SelLength() const;
    void SetSelLength(int v);
    std::string SelText() const;
    void SetSelText(const std::string& s);
    void SelectAll();
    // The format of the selection's first character, and a change of it.
    TRichCharFormat SelAttributes() const;

    // Each change of the text or its format can be undone, the last first (typing in a
    // row is one change); loading new content empties the list. Ctrl+Z, WM_UNDO, EM_UNDO.
    bool CanUndo() const { return !undo_.empty(); }
    void Undo();
    void ClearUndo() { undo_.clear(); }
    // The clipboard carries the selection as text and as "Rich Text Format"; pasting takes
    // the rich text when it is there, else the text.
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();

    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool v);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle s);
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool v);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool v) { readOnly_ = v; }
    bool Modified() const { return modified_; }
    void SetModified(bool v) { modified_ = v; }

    // Draws the content wrapped into rect of a DC, as printing and owner drawing do: text
    // of the automatic colour in textColor, all of it in forceColor unless that is clNone.
    void DrawTo(HDC dc, const TRect& rect, TColor textColor, TColor forceColor = clNone);

    TNotifyEvent OnChange;
    TNotifyEvent OnSelectionChange;

    void CreateParams(TCreateParams& params) override;
    void DefaultHandler(TMessage& m) override;
    void Dispatch(TMessage& m) override;
    void WMGetDlgCode(TWMGetDlgCode& m) override;
    void WMSize(TWMSize& m) override;
    void CMFontChanged(TMessage& m) override;
    // Notices the control sends itself (EN_REQUESTRESIZE, EN_SELCHANGE).
    virtual void CNNotify(TMessage& m) { DefaultHandler(m); }

protected:
    void CreateWnd() override;
    void PaintWindow(HDC dc) override;
    virtual void Change();
    virtual void SelectionChange();

private:
    void Native(TMessage& m);
    void NativeChar(char c);
    void NativeKey(Word key);
    void SetSelection(int anchor, int caret);
    void ReplaceSelection(const std::string& s, bool typing = false);
    void ContentChanged();
    void RequestResize(bool always);
    void UpdateCaret();
    void ApplyFont();
    void GetCharFormat(CHARFORMATA& cf, bool selection) const;
    void SetCharFormat(const CHARFORMATA& cf, bool selection);
    TPoint TextOrigin() const;
    // Before a change: keeps the content and selection for Undo. A typed character
    // right after typed text joins the change before it.
    void SaveUndo(bool typing = false);
    // The selection's content, and its replacement by other content.
    TRichContent SelContent() const;
    void ReplaceSelectionContent(const TRichContent& c);

    struct UndoStep {
        TRichContent content;
        int anchor = 0, caret = 0;
    };
    std::vector<UndoStep> undo_;
    int typingEnd_ = -1;  // the caret after the last typed character; -1 when typing stopped

    std::unique_ptr<TRichDocument> doc_;
    int anchor_ = 0, caret_ = 0;
    int caretX_ = -1;  // the column Up and Down keep
    bool wordWrap_ = true, hideSelection_ = true, readOnly_ = false, modified_ = false, selecting_ = false;
    TBorderStyle borderStyle_ = bsSingle;
    DWORD eventMask_ = 0;
    TSize lastRequest_{-1, -1};
};

class TRichEdit : public TCustomRichEdit {
public:
    using TCustomRichEdit::TCustomRichEdit;
};

}  // namespace platform
