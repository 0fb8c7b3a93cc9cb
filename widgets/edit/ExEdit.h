#pragma once
// The typed edit: a single-line edit that knows the kind of value it holds, filters keys
// and pasted text by that kind, shows the value between a prefix and a suffix, keeps its
// decimals, changes colour on focus, error and modification, carries a label, and drags
// and drops text.
#include <functional>
#include <memory>
#include <string>

#include "platform/controls/Edit.h"
#include "platform/controls/ListBox.h"
#include "widgets/edit/EditFlatLook.h"
#include "widgets/edit/EditLabel.h"

namespace base {
class TStringList;
}

namespace edit {

class TRangeList;
class TEditDropTarget;
class TListHintWindow;

// The auto-completion list of a typed edit.
struct TLookupSettings {
    TLookupSettings();
    ~TLookupSettings();
    std::unique_ptr<base::TStringList> DisplayList, ValueList;
    int DisplayCount = 4;
    platform::TColor Color = platform::clWindow;
    bool Enabled = false;
    int NumChars() const { return numChars_; }
    void SetNumChars(int n)
    {
        if (n > 0) numChars_ = n;
    }
    bool CaseSensitive = false;
    bool History = false;  // values entered are added to DisplayList
    bool Multi = false;    // several entries separated by Separator; the last one is looked up
    char Separator = ';';

private:
    int numChars_ = 2;
};

using TLookupSelectEvent = std::function<void(platform::TObject* Sender, std::string& Value)>;
using TLookupIndexSelectEvent = std::function<void(platform::TObject* Sender, int Index, std::string& Value)>;

enum TExEditType {
    etString, etNumeric, etFloat, etUppercase, etMixedCase, etLowerCase, etPassword, etMoney, etRange, etHex,
    etAlphaNumeric, etValidChars
};
enum TEditAlign { eaLeft, eaRight, eaDefault, eaCenter };
enum TPersistenceLocation { plInifile, plRegistry };

// Where the edit keeps its text between runs.
struct TPersistence {
    bool Enable = false;
    std::string Key;  // the INI file; empty: the executable's path with ".INI"
    std::string Section;
    TPersistenceLocation Location = plInifile;
};

using TValueValidateEvent = std::function<void(platform::TObject* Sender, const std::string& value, bool& IsValid)>;
using TClipboardEvent = std::function<void(platform::TObject* Sender, const std::string& value, bool& allow)>;
using TURLClickEvent = std::function<void(platform::TObject* Sender, const std::string& url, bool& Show)>;

class TExEdit : public platform::TCustomEdit {
public:
    explicit TExEdit(platform::TComponent* AOwner);
    ~TExEdit() override;

    // ---- value and text
    std::string GetText() const;  // the value, without prefix and suffix
    void SetText(const std::string& s) override;  // formats and shows a value
    double GetFloat() const;
    void SetFloat(double x);
    int GetInt() const;
    void SetInt(int n);
    void AutoSeparators();
    bool GetModified() const { return modifiedFlag_; }
    void SetModified(bool v);
    bool GetError() const { return error_; }
    void SetError(bool v);
    virtual bool DoValidate(const std::string& value);
    virtual void ValidateEvent(const std::string& value, bool& IsValid);
    void SelectAll();
    void SelectBeforeDecimal();
    void SelectAfterDecimal();
    int DecimalPos() const;
    int FixedLength(const std::string& s) const;
    int GetTextSize();  // pixel width of the value text
    virtual std::uint32_t GetVersionNr() const { return 0x02060201; }
    std::string GetVersion() const;

    TExEditType EditType() const { return editType_; }
    void SetEditType(TExEditType t);
    int Precision() const { return precision_; }
    void SetPrecision(int p);
    const std::string& Prefix() const { return prefix_; }
    void SetPrefix(const std::string& s);
    const std::string& Suffix() const { return suffix_; }
    void SetSuffix(const std::string& s);
    TEditAlign EditAlign() const { return editAlign_; }
    void SetEditAlign(TEditAlign a);
    bool AutoThousandSeparator() const { return autoThousandSeparator_; }
    void SetAutoThousandSeparator(bool v);
    bool CanUndo() const { return canUndo_; }
    void SetCanUndo(bool v);

    bool AutoFocus = false;
    bool ExcelStyleDecimalSeparator = false;
    bool TabOnFullLength = false;
    bool ReturnIsTab = false;
    bool ShowModified = false;
    bool ShowError = false;
    bool Signed = false;
    bool FocusLabel = false;
    bool HintShowLargeText = false;
    bool SpecialKeyForwarding = true;  // Enter and Escape reach the parent through the special-key query
    int FocusWidthInc = 0;
    TEditAlign FocusAlign = eaDefault;
    int LengthLimit = 0;
    std::string ValidChars;
    platform::TColor FocusColor = platform::clWindow;
    platform::TColor FocusFontColor = platform::clWindowText;
    platform::TColor ErrorColor = platform::clRed;
    platform::TColor ErrorFontColor = platform::clWhite;
    platform::TColor ModifiedColor = platform::clHighlight;
    platform::TColor URLColor = platform::clBlue;
    TPersistence Persistence;

    // ---- label and appearance
    std::string LabelCaption() const { return label_.Caption(); }
    void SetLabelCaption(const std::string& s);
    TLabelPosition LabelPosition() const { return label_.Position; }
    void SetLabelPosition(TLabelPosition p);
    int LabelMargin() const { return label_.Margin; }
    void SetLabelMargin(int m);
    void SetLabelTransparent(bool v);
    void SetLabelAlwaysEnabled(bool v);
    platform::TFont* LabelFont() { return label_.Font(); }
    platform::TLabel* Label() const { return label_.Label(); }
    void UpdateLabel() { label_.Place(); }

    void SetColor(platform::TColor c);  // also the normal colour
    platform::TColor NormalColor() const { return normalColor_; }
    void SetEnabled(bool e) override;
    void SetVisible(bool v) override;
    void SetBounds(int l, int t, int w, int h) override;
    void SetParent(platform::TWinControl* p) override;
    platform::TColor DisabledColor() const { return disabledColor_; }
    void SetDisabledColor(platform::TColor c);
    bool Flat() const { return flat_; }
    virtual void SetFlat(bool v);
    void SetFlatLineColor(platform::TColor c);
    bool FlatParentColor = true;
    bool SoftBorder() const { return softBorder_; }
    void SetSoftBorder(bool v);
    bool FocusBorder() const { return focusBorder_; }
    void SetFocusBorder(bool v);
    void SetBorder3D(bool v);
    // The parent's drawing shows behind the text.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v);
    const std::string& EmptyText() const { return emptyText_; }
    void SetEmptyText(const std::string& s);
    void SetErrorMarker(int pos, int len);
    int ErrorMarkerPos() const { return errorMarkerPos_; }
    int ErrorMarkerLen() const { return errorMarkerLen_; }
    void SetErrorMarkerPos(int pos) { SetErrorMarker(pos, errorMarkerLen_); }
    void SetErrorMarkerLen(int len) { SetErrorMarker(errorMarkerPos_, len); }
    bool ShowURL() const { return showURL_; }
    void SetShowURL(bool v);
    bool TestURL() const;
    void ApplyURL(bool on);
    bool MouseInside() const { return mouseInside_; }
    // Runs the end-of-loading steps: remembers colours and border, applies Flat, places the label.
    void Init();

    // ---- drag and drop of text
    bool OleDropSource = false;
    bool OleDropTarget() const { return dropTargetOn_; }
    void SetOleDropTarget(bool on);
    platform::TPoint InsertionCaret() const { return insertCaret_; }

    // ---- auto-completion
    TLookupSettings Lookup;
    TLookupSelectEvent OnLookupSelect;
    TLookupIndexSelectEvent OnLookupIndexSelect;
    void UpdateLookup();
    void DoneLookup();
    // The drop-down list while it exists (made on first use).
    platform::TCustomListBox* LookupList() const;
    bool LookupShown() const;

    // ---- stored text and range lists
    virtual void LoadPersist();
    virtual void SavePersist();
    bool RangeStrToList(TRangeList& list) const;
    void ListToRangeStr(const TRangeList& list);

    TValueValidateEvent OnValueValidate;
    TClipboardEvent OnClipboardCut, OnClipboardPaste, OnClipboardCopy;
    platform::TNotifyEvent OnMouseEnter, OnMouseLeave, OnLabelClick, OnLabelDblClick;
    TURLClickEvent OnURLClick;

    void Change() override;
    void WMChar(platform::TWMChar& m) override;
    void WMKeyDown(platform::TWMKeyDown& m) override;
    void WMSetFocus(platform::TWMSetFocus& m) override;
    void WMKillFocus(platform::TWMKillFocus& m) override;
    void WMCopy(platform::TMessage& m) override;
    void WMCut(platform::TMessage& m) override;
    void WMPaste(platform::TMessage& m) override;
    void WMLButtonDown(platform::TWMMouse& m) override;
    void WMLButtonUp(platform::TWMMouse& m) override;
    void WMMouseMove(platform::TWMMouseMove& m) override;
    void CMWantSpecialKey(platform::TCMWantSpecialKey& m) override;
    void CMMouseEnter(platform::TMessage& m) override;
    void CMMouseLeave(platform::TMessage& m) override;
    void CMHintShow(platform::TCMHintShow& m) override;
    void CMFontChanged(platform::TMessage& m) override;
    void WMSize(platform::TWMSize& m) override;
    void WMEraseBkgnd(platform::TWMEraseBkgnd& m) override;

protected:
    void CreateParams(platform::TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void PaintWindow(platform::HDC dc) override;
    // Shows raw text as it is (no formatting), keeping the modified state.
    void SetRawText(const std::string& raw);
    // Applies the flat or plain text area.
    virtual void SetFlatRect(bool flat);
    // Draws the control border on the whole window.
    void DrawBorder(platform::TCanvas* c);
    TFlatLook Look() const;
    int RightReserve = 0, LeftReserve = 0;  // pixels kept free beside the text

private:
    friend class TEditDropTarget;
    int ValueStart() const { return int(prefix_.size()); }
    int ValueEnd() const { return ValueStart() + int(GetText().size()); }
    int CaretPos() const { return SelStart() + SelLength(); }
    // The value with the selection (or the character before or at the caret) deleted.
    std::string ValueAfterDelete(bool backspace) const;
    std::string SelectedValuePart() const;
    bool TakeValue(const std::string& value, const std::string& inserted);
    void ToggleSign(bool numeric);
    void AfterChar();
    void PostKeyTo(platform::TWinControl* w, platform::Word vk);
    void ApplyAlignment(TEditAlign a);
    void DrawErrorMarkers(platform::TCanvas* c);
    void EraseCaret();
    void DrawCaretByCursor(platform::TPoint client);
public:
    // Puts the caret (nothing selected) at the character under the mouse cursor.
    void SetCaretByCursor();
private:
    std::string IniFileName() const;

    TAttachedLabel label_;
    TExEditType editType_ = etString;
    TEditAlign editAlign_ = eaLeft, savedAlign_ = eaLeft;
    bool alignSwitch_ = false;
    int precision_ = 0;
    std::string prefix_, suffix_, focusInText_, emptyText_;
    bool canUndo_ = true, autoThousandSeparator_ = true;
    bool error_ = false, modifiedFlag_ = false, validating_ = false;
    platform::TColor normalColor_ = platform::clWindow, normalFontColor_ = platform::clWindowText;
    platform::TColor disabledColor_ = platform::clSilver, flatLineColor_ = platform::clBlack;
    platform::TBorderStyle savedBorder_ = platform::bsSingle;
    bool transparent_ = false;
    bool flat_ = false, softBorder_ = false, focusBorder_ = false, border3D_ = false;
    bool mouseInside_ = false, showURL_ = false, urlShown_ = false;
    int errorMarkerPos_ = 0, errorMarkerLen_ = 0;
    bool dropTargetOn_ = false, dropRegistered_ = false, ownDrag_ = false, dragArmed_ = false;
    platform::TPoint insertCaret_{-1, -1};
    std::shared_ptr<TEditDropTarget> dropTarget_;
    TListHintWindow* lookupWindow_ = nullptr;
    int lookupStart_ = 0;
    void HideLookup();
    bool LookupKey(platform::Word key);
    void AddHistory();
};

}  // namespace edit
