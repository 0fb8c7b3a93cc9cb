#pragma once
// The text editor control: a fixed-pitch multi-line editor with a gutter, styling by a
// styler, URL detection, undo, word wrap and its own scroll bars.
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/controls/Controls.h"
#include "platform/forms/FindDialog.h"
#include "platform/forms/Forms.h"
#include "widgets/memo/MemoLists.h"
#include "widgets/memo/MemoTypes.h"

namespace base {
class TStrings;
}
namespace platform {
class TPopupMenu;
class TImageList;
}

namespace memo {

class TExMemoStrings;
class TExUndoList;
class TExCustomMemoStyler;
class TExGutter;
class TExActiveLineSettings;
class TCharStyle;
struct TTokenizerSetup;
class TPrintOptions;
class TExMarkerList;
class TExMemoChecker;
class TExMemoSource;
class TAutoCompletion;
class TCompletionPopup;
class TExStylerList;

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
enum TScrollMode { smAuto, smStrict };
enum TWordWrap { wwNone, wwClientWidth, wwRightMargin };
enum TDrawMode { dmScreen, dmHTML, dmPrinter, dmPrintPreview };
using platform::frDown;
using platform::frMatchCase;
using platform::frWholeWord;
using platform::TFindOptions;
enum TAutoHintParameters { hpAuto, hpManual, hpNone };
enum TAutoHintParameterPosition { hpBelowCode, hpAboveCode };
using platform::bsNone;
using platform::bsSingle;
using TBorderStyle = platform::TFormBorderStyle;

// Pairs of words that typing replaces (OldValue[i] by NewValue[i]).
class TAutoCorrect {
public:
    bool Active = true;
    std::vector<std::string> OldValue, NewValue;
};

// The caret, scroll and selection state, as saved and restored together.
struct TExMemoSavePos {
    int CurX = 0, CurY = 0, LeftCol = 0, TopLine = 0, SelStartX = 0, SelStartY = 0, SelEndX = 0, SelEndY = 0;
};

// An item of the built-in context menu: its text, command id (0 for a separator) and state.
struct TMemoMenuItem {
    std::string Caption;
    int Command = 0;
    bool Enabled = true;
};

class TExCustomMemo : public platform::TCustomControl {
public:
    explicit TExCustomMemo(platform::TComponent* owner);
    ~TExCustomMemo() override;

    // ---- lines and undo
    TExMemoStrings* Lines() const { return lines_; }
    void SetLines(const base::TStrings& lines);
    TExUndoList* UndoList() const { return undo_; }
    void Undo();
    void Redo();
    bool CanUndo() const;
    bool CanRedo() const;
    void ClearUndoList();
    void ClearUndoRedo() { ClearUndoList(); }
    int UndoLimit() const { return undoLimit_; }
    void SetUndoLimit(int n);
    void UndoChange();
    bool Modified() const;
    void SetModified(bool v);

    // ---- caret and view
    int CurX() const { return curX_; }
    int CurY() const { return curY_; }
    void SetCurX(int x);
    void SetCurY(int y);
    void SetCursor(int x, int y);
    int TopLine() const { return topLine_; }
    void SetTopLine(int v);
    int LeftCol() const { return leftCol_; }
    void SetLeftCol(int v);
    int ActiveLine() const { return activeLine_; }
    void SetActiveLine(int line);
    int GetVisible(int kind);
    void MakeVisible();
    platform::TRect EditorRect() const;
    platform::TRect CellRect(int col, int row) const;
    platform::TRect LineRect(int line) const;
    platform::TRect ColRect(int col) const;
    platform::TPoint CellFromPos(int x, int y);
    platform::TPoint CharFromPos(int x, int y);  // X is the line, Y the column
    int CharWidth() const { return charWidth_; }
    int CharHeight() const { return charHeight_; }
    int MaxLength() const { return maxLength_; }

    void LinesChanged();
    void BeginUpdate() { notify_ = false; }
    void EndUpdate() { notify_ = true; }
    void ResizeEditor();
    void ResizeScrollBars(bool repaint);
    void Clear();
    void ScrollBarScroll(int bar, int code, int& pos);
    void DoScroll(int bar, int delta);
    void DoScrollPage(int bar, int pages);

    // ---- selection and offsets
    void ClearSelection();
    void ExpandSelection();
    void SelectAll();
    int SelStart();
    void SetSelStart(int v);
    int SelLength();
    void SetSelLength(int n);
    std::string SelText();
    void SetSelText(const std::string& s);
    void InsertText(const std::string& s) { SetSelText(s); }
    int TextFromPos(int x, int y) const;
    platform::TPoint PosFromText(int offset) const;
    void DeleteSelection() { DeleteSelectionInt(true); }
    bool HasSelection() const { return selStartX_ != selEndX_ || selStartY_ != selEndY_; }
    // Ordered selection ends.
    void GetSelection(int& sx, int& sy, int& ex, int& ey) const;
    // Anchor at (sx, sy), end at (ex, ey); repaints.
    void SetSelection(int sx, int sy, int ex, int ey);

    // ---- movement and editing
    void MoveCursor(int dx, int dy, platform::TShiftState shift);
    void MovePage(int direction, platform::TShiftState shift);
    void GoHome(platform::TShiftState shift);
    void GoEnd(platform::TShiftState shift);
    void InsertChar(char ch);
    void NewLine();
    void DeleteChar(int x, int y);
    void BackSpace();
    void BackWord();
    void DeleteLine();
    void TabLine(platform::TShiftState shift);
    std::string IndentCurrLine() const;
    int AddString(const std::string& s);
    void InsertString(int line, const std::string& s);
    void InsertTemplate(const std::string& s);
    void InsertTextAtXY(const std::string& s, int x, int y);
    void DeleteTextAtXY(int x, int y, int count);
    void BlockIndent(int from, int to, int amount);
    void CopyToClipBoard();
    void CutToClipBoard();
    void PasteFromClipBoard();
    void DoCommand(platform::Word key, platform::TShiftState shift);
    bool Overwrite() const { return overwrite_; }

    // ---- mouse, URLs, words, search
    virtual bool WordIsURL(std::string_view s);
    // An address that may be opened: a URL scheme or "www." with a host name; nothing else.
    static bool IsOpenableURL(std::string_view s, std::string& address);
    std::vector<std::string> ExtractURL(const std::string& s);
    bool TestforURLClick(const std::string& lineText);
    bool TestforURLMove(const std::string& lineText, int column);
    std::string WordAtXY(int x, int y);
    std::string FullWordAtXY(int x, int y);
    std::string TokenAtXY(int x, int y);
    std::string WordAtCursor();
    std::string WordAtCursorPos(int& start);
    std::string FullWordAtCursor();
    std::string WordTillCursor();
    int FindText(const std::string& s, TFindOptions options);
    int FindTextPos(const std::string& s, TFindOptions options);
    void SelClickUpdate(int x, int y, bool mayDrag, platform::TShiftState shift, platform::TMouseButton button);
    void DropText(int x, int y, const std::string& s);
    std::vector<TMemoMenuItem> ContextMenuItems();
    void MenuCommand(int id);

    // ---- per-line marks
    bool BreakPoint(int line) const;
    void SetBreakPoint(int line, bool v);
    bool Executable(int line) const;
    void SetExecutable(int line, bool v);
    bool Bookmark(int line) const;
    void SetBookmark(int line, bool v);
    bool Wrapped(int line) const;
    void SetWrapped(int line, bool v);
    bool GetLineStyle(int line, TStyle& style) const;
    void SetLineStyle(int line, const TStyle& style);
    void ClearLineStyles();
    void ClearBreakpoints();
    void ClearExecutableLines();

    // ---- block matching, error marks, bookmarks, state
    struct TBlockMark {
        int Line = -1, Col = -1, Len = -1, Shown = -1;
    };
    const TBlockMark& BlockMatchStart() const { return blockStart_; }
    const TBlockMark& BlockMatchEnd() const { return blockEnd_; }
    void SetBlockMatchStart(int line, int col, int len);
    void SetBlockMatchEnd(int line, int col, int len);
    virtual void CursorChanged();
    void SetError(int line, int startCol, int length);
    void ClearWordError(int line, int startCol);
    void ClearLineErrors(int line);
    void ClearErrors();
    int GetBookmarks(int index) const;
    void SetBookmarks(int index, int line);
    void GotoBookmark(int index);
    void ClearBookmarks();
    bool HasBookmarks() const;
    void GetMemoState(TExMemoSavePos& state) const;
    void ResetMemoState(const TExMemoSavePos& state);
    bool CanCopy() { return SelLength() > 0; }
    bool CanPaste() { return EditCanModify(); }
    bool IsDelimiter(char ch);
    TAutoCorrect& AutoCorrect() { return autoCorrect_; }

    // ---- printing and HTML output
    TPrintOptions* PrintOptions() const { return printOptions_.get(); }
    void SetPrintOptions(const TPrintOptions& o);
    void Print();
    int NumberOfPages(platform::TCanvas* canvas, int pageWidth, int pageHeight);
    void PrintToCanvas(platform::TCanvas* canvas, int pageWidth, int pageHeight, int pageNr);
    bool SaveToHTML(const std::string& fileName, bool withFontSize);
    // Why the last SaveToHTML returned false, with the system's reason.
    const std::string& HTMLSaveError() const { return htmlSaveError_; }
    void OutputHTML(bool withFontSize);
    void CopyHTMLToClipboard();
    void DrawHTML(std::string_view text, const TStyle& style, int lineNo);
    const std::vector<std::string>& HTMLOutput() const { return html_; }

    // ---- settings file
    void SaveMemoSettingsToFile(const std::string& fileName);
    void LoadMemoSettingsFromFile(const std::string& fileName);

    // ---- markers, checker, sources
    void AddMarker(int lineNumber, int imageIndex, const std::string& text = {});
    void RemoveMarker(int lineNumber);
    void ClearAllMarkers();
    void GoToMarker(int index);
    void GoToMarkerName(const std::string& name);
    std::function<void(platform::TObject*, int line, const std::string& text)> OnMarkerAdded;
    std::function<void(platform::TObject*, int line)> OnMarkerRemoved;
    TExMarkerList* MarkerList() const { return markerList_.get(); }
    // The styler components beside the editor; the constructor fills it from the owner.
    TExStylerList* StylerList() const { return stylerList_; }
    void SearchForStylers();
    TExMemoChecker* MemoChecker() const { return checker_; }
    void SetMemoChecker(TExMemoChecker* c);
    TExMemoSource* MemoSource() const { return source_; }
    void SetMemoSource(TExMemoSource* s);
    TExMemoStrings* GetInternalLines() const { return lines_; }
    TExCustomMemoStyler* GetInternalStyles() const { return styler_; }
    TExUndoList* InternalUndoList() const { return undo_; }
    // Switches the editor to another document (the source's, or its own with nulls).
    void AttachDocument(TExMemoStrings* lines, TExUndoList* undo, TExCustomMemoStyler* styler);
    // Set while a find or replace dialog works on this editor: the selection stays shown.
    bool FindDialogOpen = false;

    // ---- completion and parameter hints
    TAutoCompletion* AutoCompletion() const { return autoCompletion_.get(); }
    // The kind pictures of the completion list: images 0 to 4 (variable, property, event,
    // procedure, method); nullptr for the list's own.
    platform::TImageList* AutoCompletionListImages() const { return autoCompletionListImages_; }
    void SetAutoCompletionListImages(platform::TImageList* images);
    TAutoHintParameters AutoHintParameters() const { return autoHintParameters_; }
    void SetAutoHintParameters(TAutoHintParameters v);
    int AutoHintParameterDelay() const { return autoHintParameterDelay_; }
    void SetAutoHintParameterDelay(int ms);
    TAutoHintParameterPosition AutoHintParameterPosition = hpBelowCode;
    void ShowForm(bool unused = false);
    void UpdateCompletionList(const std::string& token);
    // Order of two completion entries: OnSortAutoCompletionList when assigned, else their
    // keys compared without case. The list is offered in this order.
    int SortAutoCompletList(base::TStrings& list, int index1, int index2);
    void ListKeyDown(platform::Word& key, platform::TShiftState shift);
    void AcceptCompletion(bool keyboard);
    void AutoCompleteTimer();
    bool SearchParameter(std::string& name, int& delimiters);
    bool CompletionVisible() const;
    bool HintVisible() const;
    TCompletionPopup* Completion() const { return completion_.get(); }
    void HideForm();
    void Hideauto();
    bool PrepareShowHint();
    void HideHint();

    // ---- word wrap and gutter
    TWordWrap WordWrap() const { return wordWrap_; }
    void SetWordWrap(TWordWrap w);
    void DoWrap();
    // Wraps lines first .. last - 1 only (the rest stay as they are).
    void DoWrapLines(int first, int last);
    void UndoWrap();
    void UpdateWrap();
    // Re-wraps only the paragraphs that lines first .. last belong to, after an edit there.
    void UpdateWrapLines(int first, int last);
    TExGutter* Gutter() const { return gutter_.get(); }
    TExActiveLineSettings* ActiveLineSettings() const { return activeLineSettings_.get(); }
    void UpdateGutter();
    void ResizeGutter();

    // ---- painting
    void Paint() override;
    void DrawLine(platform::TCanvas* canvas, int lineNo, TStyle& style, TDrawMode mode, const platform::TRect& rect);
    void GetUpStyle(int lineNo, TStyle& style);
    std::string FormatLineNumber(int& x, int number) const;
    void ThemeAdapt();
    virtual void LoadStyle() {}

    // ---- styler
    TExCustomMemoStyler* SyntaxStyles() const { return styler_; }
    void SetSyntaxStyles(TExCustomMemoStyler* s);
    bool UseStyler() const { return useStyler_; }
    void SetUseStyler(bool v);
    virtual bool IsWordBoundary(char ch) const { return ch == ' '; }
    virtual bool IsTokenBoundary(char ch) const;
    virtual bool EditCanModify() { return true; }
    virtual void SelectionChanged();
    virtual void StatusChanged();
    virtual std::uint32_t GetVersionNr() const { return 0x01060009; }
    virtual std::string GetVersionString() const;
    std::string Version() const;

    // ---- options
    platform::TColor BkColor() const { return bkColor_; }
    void SetBkColor(platform::TColor c) { SetColorIndex(0, c); }
    platform::TColor SelColor() const { return selColor_; }
    void SetSelColor(platform::TColor c) { SetColorIndex(1, c); }
    platform::TColor SelBkColor() const { return selBkColor_; }
    void SetSelBkColor(platform::TColor c) { SetColorIndex(2, c); }
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle b);
    bool Ctl3D() const { return ctl3D_; }
    void SetCtl3D(bool v);
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle s);
    platform::TFont* MemoFont() { return Font(); }
    void SetMemoFont(const platform::TFont& f);
    int TabSize() const { return tabSize_; }
    void SetTabSize(int n) { tabSize_ = std::max(0, n); }
    int RightMargin() const { return rightMargin_; }
    void SetRightMargin(int v);
    platform::TColor RightMarginColor() const { return rightMarginColor_; }
    void SetRightMarginColor(platform::TColor c);
    platform::TColor BreakpointColor() const { return breakpointColor_; }
    void SetBreakpointColor(platform::TColor c);
    platform::TColor BreakpointTextColor() const { return breakpointTextColor_; }
    void SetBreakpointTextColor(platform::TColor c);
    bool HiddenCaret() const { return hiddenCaret_; }
    void SetHiddenCaret(bool v);
    bool CaseSensitive() const { return caseSensitive_; }
    void SetCaseSensitive(bool v);
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool v);
    bool UrlAware() const { return urlAware_; }
    void SetUrlAware(bool v);
    TCharStyle* UrlStyle() const { return urlStyle_.get(); }
    void SetCursorShape(platform::TCursor c);

    // Files dropped from the desktop: each raises OnFileDrop and, unless it says no, is loaded.
    bool AcceptFiles() const { return acceptFiles_; }
    void SetAcceptFiles(bool v);
    bool AutoIndent = true;
    bool AutoExpand = true;
    bool AutoThemeAdapt = false;
    bool BlockShow = true;
    platform::TColor BlockColor = platform::clAqua;
    platform::TColor BlockLineColor = platform::clNone;
    bool DelErase = true;
    bool EnhancedHomeKey = false;
    bool ReadOnly = false;
    TScrollMode ScrollMode = smAuto;
    bool ScrollHint = false;
    bool ShowRightMargin = true;
    bool SmartTabs = false;
    bool TrimTrailingSpaces = false;
    bool WantTab = true;

    // ---- events
    platform::TNotifyEvent OnChange, OnSelectionChange, OnStatusChange, OnCursorChange, OnTopLeftChanged;
    std::function<void(platform::TObject*, bool canUndo, bool canRedo)> OnUndoChange;
    std::function<void(platform::TObject*, const std::string& url)> OnURLClick;
    std::function<void(platform::TObject*, int line)> OnGutterClick, OnGutterRightClick;
    std::function<void(platform::TObject*, platform::TCanvas*, int line, const platform::TRect&)> OnGutterDraw;
    std::function<void(int line)> OnActiveLineChange;
    std::function<void(int column)> OnColumnChange;
    std::function<void(platform::TObject*, bool& allow)> OnOverwriteToggle;
    std::function<void(platform::TObject*, const std::string& file, bool& defaultHandler)> OnFileDrop;
    std::function<void(platform::TObject*, int row, std::string& hint)> OnScrollHint;
    platform::TNotifyEvent OnFind, OnReplace;
    std::function<void(platform::TObject*, const std::string& word, std::string& newWord)> OnWordComplete;

    std::function<void(platform::TObject*, const std::string& token, bool& show)> OnBeforeAutoCompletion;
    std::function<void(platform::TObject*, const std::string& token, base::TStrings& list)> OnGetAutoCompletionList;
    platform::TNotifyEvent OnStartAutoCompletion, OnAutoCompletion, OnCancelAutoCompletion;
    std::function<void(platform::TObject*, std::string& entry)> OnInsertAutoCompletionEntry;
    std::function<int(platform::TObject*, base::TStrings& list, int index1, int index2)> OnSortAutoCompletionList;
    std::function<void(platform::TObject*, const std::string& token, std::string& hint, bool& handled)>
        OnGetParameterHint;
    // Hints under the mouse: the word (or token) at text column X of line Y, the hint to
    // show (the word to begin with) and whether to show it.
    std::function<void(platform::TObject*, int X, int Y, const std::string& word, std::string& hint, bool& show)>
        OnHintForWord;
    std::function<void(platform::TObject*, int X, int Y, const std::string& token, std::string& hint, bool& show)>
        OnHintForToken;
    // The text position the last hint was asked for (column, line).
    platform::TPoint HintCell() const { return hintCell_; }

    // ---- hooks of the line store and the styler
    void LinesTouched(int index);
    // True when line index, rewritten from before to after, leaves the scan in the state it
    // left it before, so that the states known below it still hold.
    bool LineEndsAsBefore(int index, std::string_view before, std::string_view after);
    void LinesAdded(int index);
    void LinesCleared();
    void RevalidateCaret();
    void DeleteStoreLine(int index);
    void BeforeLoad();
    void AfterLoad();
    void StylerGone(TExCustomMemoStyler* s);

    // ---- platform handlers
    void WndProc(platform::TMessage& m) override;
    void CreateWnd() override;
    void KeyDown(platform::Word& key, platform::TShiftState shift) override;
    void KeyUp(platform::Word& key, platform::TShiftState shift) override;
    void KeyPress(char& key) override;
    void MouseDown(platform::TMouseButton button, platform::TShiftState shift, int x, int y) override;
    void MouseMove(platform::TShiftState shift, int x, int y) override;
    void MouseUp(platform::TMouseButton button, platform::TShiftState shift, int x, int y) override;
    void WMLButtonDblClk(platform::TWMMouse& m) override;
    void WMRButtonUp(platform::TWMMouse& m) override;
    // The built-in context menu as last shown (nullptr before the first right click).
    platform::TPopupMenu* ContextMenu() const { return contextMenu_.get(); }
    void DragDrop(platform::TObject* source, int x, int y) override;
    void DragOver(platform::TObject* source, int x, int y, platform::TDragState state, bool& accept) override;
    bool DoMouseWheelDown(platform::TShiftState shift, platform::TPoint pos) override;
    bool DoMouseWheelUp(platform::TShiftState shift, platform::TPoint pos) override;
    void Resize() override;
    void Notification(platform::TComponent* c, TOperation op) override;
    void CMHintShow(platform::TCMHintShow& m) override;
    void WMSetFocus(platform::TWMSetFocus& m) override;
    void WMKillFocus(platform::TWMKillFocus& m) override;
    void WMEraseBkgnd(platform::TWMEraseBkgnd& m) override { m.Result = 1; }
    void WMGetDlgCode(platform::TWMGetDlgCode& m) override;
    void CMFontChanged(platform::TMessage& m) override;
    void WMVScroll(platform::TWMVScroll& m) override;
    void WMHScroll(platform::TWMHScroll& m) override;

    void ShowCaret(bool show);

protected:
    void ApplyFont();
    void SetColorIndex(int index, platform::TColor c);
    void DeleteSelectionInt(bool repaint);
    void StoreLine(int y, const std::string& s);  // replaces a line with notices off
    std::string LineText(int y) const;            // "" outside the range
    int LineCount() const;
    bool HasContinuation(int y) const;  // the next line is y's word-wrap continuation
    std::string TrimmedLine(int y) const;  // without trailing blanks unless continued
    void TrimLine(int y);
    void ApplyCurX(int x);  // the column setter without its early return
    void ReadBarsBack();
    int BarMaxPos(int bar) const;
    void FinishMove(bool extend);
    bool NoteShift(platform::TShiftState shift) const;
    void UpdateBars();
    void RecordUndo(std::unique_ptr<class TUndo> entry);
    void PrepareTokenizer();
    // The colours and style of a run before the active line, breakpoints and selection.
    void RunColors(const TStyle& st, platform::TColor& font, platform::TFontStyles& style,
                   platform::TColor& brush);
    void DrawRun(std::string_view text, const TStyle& st, int lineNo, int& counter, int& x, platform::TCanvas* c,
                 int charW, TDrawMode mode, bool customKeyword, const platform::TRect& textRect);
    void DrawMarginAndBorder();
    void DefaultGutterDraw(platform::TCanvas* canvas, int line, const platform::TRect& r);
    void BlockMatch();
    void SetBlockMark(TBlockMark& mark, int line, int col, int len);
    void InvalidateLine(int line);
    int SmartTarget(bool forTab) const;
    std::string JoinedLineAbove(int y) const;
    void OpenURL(const std::string& run);
    bool FindInLines(const std::string& s, TFindOptions options, int& line, int& col);
    void InsertNoUndo(const std::string& s);  // the text part of SetSelText
    void RunChecker(char key);
    void MemoSettings(const std::string& fileName, bool save);
    TCompletionPopup& Popup();
    platform::TPoint PopupPoint(int lines) const;  // below the caret by `lines` lines, on the screen
    std::string CompletionToken();
    void StartCompletionTimer();
    void StopCompletionTimer();  // the checker's work for Enter, Tab and Space

    // The current document: the editor's own, or an attached source's.
    std::unique_ptr<TExMemoStrings> ownLines_;
    std::unique_ptr<TExUndoList> ownUndo_;
    TExMemoStrings* lines_ = nullptr;
    TExUndoList* undo_ = nullptr;
    std::unique_ptr<TExGutter> gutter_;
    std::unique_ptr<TExActiveLineSettings> activeLineSettings_;
    std::unique_ptr<TCharStyle> urlStyle_;
    std::unique_ptr<platform::TBitmap> lineBitmap_;
    std::unique_ptr<TTokenizerSetup> tokenizer_;
    std::unique_ptr<platform::THintWindow> scrollHint_;
    std::unique_ptr<platform::TPopupMenu> contextMenu_;
    std::unique_ptr<TPrintOptions> printOptions_;
    std::unique_ptr<TExMarkerList> markerList_;
    std::unique_ptr<TAutoCompletion> autoCompletion_;
    platform::TImageList* autoCompletionListImages_ = nullptr;
    std::unique_ptr<TCompletionPopup> completion_;  // made when first needed
    bool swallowSpace_ = false;  // the blank of the Ctrl+Space that opened the list
    std::vector<std::string> html_;
    std::string htmlSaveError_;
    std::string htmlTag_;  // the FONT tag of the last run written
    TExMemoChecker* checker_ = nullptr;
    TExStylerList* stylerList_ = nullptr;  // owned as a component
    TExMemoSource* source_ = nullptr;
    TExCustomMemoStyler* ownStyler_ = nullptr;  // the editor's own styler while a source is attached
    TAutoHintParameters autoHintParameters_ = hpAuto;
    int autoHintParameterDelay_ = 2500;
    TExCustomMemoStyler* styler_ = nullptr;
    TAutoCorrect autoCorrect_;

    int curX_ = 0, curY_ = 0;
    int selStartX_ = 0, selStartY_ = 0, selEndX_ = 0, selEndY_ = 0, selCaretX_ = 0, selCaretY_ = 0;
    int topLine_ = 0, leftCol_ = 0;
    int charWidth_ = 0, charHeight_ = 0;
    int maxLength_ = 0;
    bool notify_ = true;
    bool overwrite_ = false;
    int activeLine_ = -1;
    int textMargin_ = 2;
    TStyle upStyle_;
    int upStyleLine_ = -1;
    platform::TCursor defaultCursor_ = platform::crIBeam;

    platform::TColor bkColor_ = platform::clWhite, selColor_ = platform::clWhite, selBkColor_ = platform::clNavy;
    TBorderStyle borderStyle_ = bsSingle;
    bool ctl3D_ = false;
    TScrollStyle scrollBars_ = ssBoth;
    int tabSize_ = 4;
    int rightMargin_ = 80;
    platform::TColor rightMarginColor_ = 0xE2E2E2;
    platform::TColor breakpointColor_ = platform::clRed, breakpointTextColor_ = platform::clWhite;
    bool acceptFiles_ = false;
    void WMDropFiles(platform::TMessage& m);
    bool hiddenCaret_ = false, caseSensitive_ = false, hideSelection_ = true, urlAware_ = true, useStyler_ = true;
    TWordWrap wordWrap_ = wwNone;
    int undoLimit_ = 100;

    bool mouseSelecting_ = false, dragPending_ = false, dragging_ = false;
    platform::TPoint hintCell_{-1, -1};
    bool caretShown_ = false, caretCreated_ = false;
    platform::TPoint lastCaretPos_{-1, -1};
    bool lastKeyCtrl_ = false;
    bool wrapping_ = false;
    bool creating_ = true;
    TBlockMark blockStart_, blockEnd_;
    TIntList bookmarks_{10, -1};
    std::string delimiters_;
    bool delimitersCached_ = false;
    int barVisible_[2] = {0, 0};
};

class TExMemo : public TExCustomMemo {
public:
    explicit TExMemo(platform::TComponent* owner);
    void Loaded() override;
    bool IsWordBoundary(char ch) const override;
    void RefreshMemo();
};

// Sets up an editor as the program's log window shows its log.
void SetupLogMemo(TExMemo& memo, TExCustomMemoStyler& styler);

}  // namespace memo
