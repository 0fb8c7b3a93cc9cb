#include "platform/controls/RichEdit.h"

#include <QWidget>

#include <algorithm>
#include <cstring>

#include "platform/Private.h"
#include "platform/controls/ControlsPrivate.h"
#include "platform/controls/Edit.h"
#include "platform/graphics/GDI.h"
#include "platform/graphics/RichText.h"
#include "platform/system/Clipboard.h"
#include "platform/system/KeyState.h"

namespace platform {

TCustomRichEdit::TCustomRichEdit(TComponent* AOwner)
    : TEditBase(AOwner), doc_(std::make_unique<TRichDocument>())
{
    ControlStyle = csClickEvents | csSetCaption | csDoubleClicks | csCaptureMouse;
    SetBounds(Left(), Top(), 185, 89);
    SetColor(clWindow);
    SetTabStop(true);
    ApplyFont();
    doc_->Clear();
}

TCustomRichEdit::~TCustomRichEdit() = default;

void TCustomRichEdit::CreateParams(TCreateParams& p)
{
    TWinControl::CreateParams(p);
    p.Style |= DWORD(WS_TABSTOP) | DWORD(ES_MULTILINE);
    if (!hideSelection_) p.Style |= ES_NOHIDESEL;
    if (readOnly_) p.Style |= ES_READONLY;
    if (borderStyle_ == bsSingle) p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomRichEdit::CreateWnd()
{
    TEditBase::CreateWnd();
    UpdateCaret();
}

void TCustomRichEdit::ApplyFont()
{
    // Text without a format of its own takes the control's font.
    doc_->SetDefaultFormat(font_.Name(), std::max(1, font_.Size()) * 2);
}

// ---------------------------------------------------------------- content

bool TCustomRichEdit::LoadRTF(const std::string& rtf, std::string* error)
{
    if (!doc_->LoadRTF(rtf, error)) return false;
    undo_.clear();
    typingEnd_ = -1;
    anchor_ = caret_ = 0;
    modified_ = false;
    ContentChanged();
    return true;
}

std::string TCustomRichEdit::SaveRTF() const { return doc_->SaveRTF(); }

void TCustomRichEdit::Clear()
{
    doc_->Clear();
    undo_.clear();
    typingEnd_ = -1;
    anchor_ = caret_ = 0;
    ContentChanged();
}

std::string TCustomRichEdit::PlainText() const { return doc_->PlainText(); }

void TCustomRichEdit::SetText(const std::string& s)
{
    Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(s.c_str()));
}

void TCustomRichEdit::ContentChanged()
{
    Invalidate();
    UpdateCaret();
    Change();
    RequestResize(false);
}

void TCustomRichEdit::Change()
{
    if (OnChange) OnChange(this);
}

void TCustomRichEdit::SelectionChange()
{
    if (OnSelectionChange) OnSelectionChange(this);
}

// ---------------------------------------------------------------- selection

int TCustomRichEdit::SelStart() const { return std::min(anchor_, caret_); }
int TCustomRichEdit::SelLength() const { return std::abs(caret_ - anchor_); }
std::string TCustomRichEdit::SelText() const { return doc_->Text(SelStart(), SelLength()); }
void TCustomRichEdit::SetSelStart(int v) { SetSelection(v, v); }
void TCustomRichEdit::SetSelLength(int v) { SetSelection(SelStart(), SelStart() + std::max(0, v)); }
void TCustomRichEdit::SelectAll() { SetSelection(0, doc_->Length()); }

void TCustomRichEdit::SetSelText(const std::string& s)
{
    Perform(EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(s.c_str()));
}

TRichCharFormat TCustomRichEdit::SelAttributes() const
{
    return doc_->FormatAt(SelLength() > 0 ? SelStart() + 1 : caret_);
}

void TCustomRichEdit::SetSelection(int anchor, int caret)
{
    const int n = doc_->Length();
    anchor = std::clamp(anchor, 0, n);
    caret = std::clamp(caret, 0, n);
    if (anchor == anchor_ && caret == caret_) return;
    anchor_ = anchor;
    caret_ = caret;
    UpdateCaret();
    Invalidate();
    SelectionChange();
    if (eventMask_ & ENM_SELCHANGE) {
        NMHDR h;
        h.hwndFrom = HandleAllocated() ? Handle() : nullptr;
        h.code = EN_SELCHANGE;
        Perform(CN_NOTIFY, 0, LPARAM(&h));
    }
}

void TCustomRichEdit::ReplaceSelection(const std::string& s, bool typing)
{
    const int start = SelStart(), len = SelLength();
    if (s.empty() && len == 0) return;
    SaveUndo(typing);
    // Typed text takes the format of the text it replaces or follows.
    const TRichCharFormat f = doc_->FormatAt(len > 0 ? start + 1 : start);
    doc_->Remove(start, len);
    const int before = doc_->Length();
    doc_->Insert(start, s, &f);
    anchor_ = caret_ = start + (doc_->Length() - before);
    typingEnd_ = typing ? caret_ : -1;
    caretX_ = -1;
    modified_ = true;
    ContentChanged();
    SelectionChange();
}

// ---------------------------------------------------------------- undo and the clipboard

void TCustomRichEdit::SaveUndo(bool typing)
{
    if (typing && typingEnd_ >= 0 && typingEnd_ == caret_ && SelLength() == 0 && !undo_.empty()) return;
    undo_.push_back({doc_->Content(), anchor_, caret_});
    // as many steps as the platform's control keeps
    if (undo_.size() > 100) undo_.erase(undo_.begin());
}

void TCustomRichEdit::Undo()
{
    if (undo_.empty()) return;
    UndoStep step = std::move(undo_.back());
    undo_.pop_back();
    doc_->SetContent(step.content);
    const int n = doc_->Length();
    anchor_ = std::clamp(step.anchor, 0, n);
    caret_ = std::clamp(step.caret, 0, n);
    typingEnd_ = -1;
    caretX_ = -1;
    modified_ = true;
    ContentChanged();
    SelectionChange();
}

TRichContent TCustomRichEdit::SelContent() const
{
    TRichDocument part;
    part.SetContent(doc_->Content());
    const int start = SelStart(), end = start + SelLength();
    part.Remove(end, part.Length() - end);
    part.Remove(0, start);
    return part.Content();
}

namespace {
// Appends b to a, b's first paragraph joining a's last.
void Join(TRichContent& a, const TRichContent& b)
{
    for (std::size_t k = 0; k < b.Paragraphs.size(); ++k) {
        if (k == 0 && !a.Paragraphs.empty()) {
            for (const TRichRun& r : b.Paragraphs[0].Runs) a.Append(r.Format, r.Text);
        } else {
            a.Paragraphs.push_back(b.Paragraphs[k]);
        }
    }
}
}  // namespace

void TCustomRichEdit::ReplaceSelectionContent(const TRichContent& c)
{
    const int start = SelStart(), end = start + SelLength();
    TRichDocument part;
    part.SetContent(doc_->Content());
    part.Remove(start, part.Length() - start);
    TRichContent all = part.Content();
    part.SetContent(doc_->Content());
    part.Remove(0, end);
    const TRichContent right = part.Content();
    part.SetContent(c);
    const int inserted = part.Length();
    Join(all, c);
    Join(all, right);
    doc_->SetContent(all);
    anchor_ = caret_ = std::min(start + inserted, doc_->Length());
    typingEnd_ = -1;
    caretX_ = -1;
    modified_ = true;
    ContentChanged();
    SelectionChange();
}

void TCustomRichEdit::CopyToClipboard()
{
    if (SelLength() <= 0) return;
    TClipboard* cb = Clipboard();
    cb->Open();
    cb->SetAsText(SelText());
    cb->SetFormatData(RegisterClipboardFormat("Rich Text Format"),
                      WriteRTF(SelContent(), doc_->DefaultFormat().FontName) + std::string(1, '\0'));
    cb->Close();
}

void TCustomRichEdit::CutToClipboard()
{
    if (SelLength() <= 0 || readOnly_) return;
    CopyToClipboard();
    ReplaceSelection(std::string());
}

void TCustomRichEdit::PasteFromClipboard()
{
    if (readOnly_) return;
    TClipboard* cb = Clipboard();
    const UINT rtf = RegisterClipboardFormat("Rich Text Format");
    if (cb->HasFormat(rtf)) {
        std::string data = cb->GetFormatData(rtf);
        if (const auto nul = data.find('\0'); nul != std::string::npos) data.resize(nul);
        TRichContent c;
        if (ReadRTF(data, c)) {
            SaveUndo();
            ReplaceSelectionContent(c);
            return;
        }
    }
    if (cb->HasFormat(CF_TEXT)) ReplaceSelection(cb->AsText());
}

// ---------------------------------------------------------------- geometry


TPoint TCustomRichEdit::TextOrigin() const
{
    const TRect fr = FormatRect();
    return {fr.Left, fr.Top};
}

void TCustomRichEdit::SetWordWrap(bool v)
{
    if (v == wordWrap_) return;
    wordWrap_ = v;
    doc_->SetWrapWidth(wordWrap_ ? FormatRect().Width() : 0);
    Invalidate();
    RequestResize(false);
}

void TCustomRichEdit::SetBorderStyle(TBorderStyle s)
{
    s = s == bsNone ? bsNone : bsSingle;
    if (s == borderStyle_) return;
    borderStyle_ = s;
    RecreateWnd();
}

void TCustomRichEdit::SetHideSelection(bool v)
{
    if (v == hideSelection_) return;
    hideSelection_ = v;
    Invalidate();
}

void TCustomRichEdit::RequestResize(bool always)
{
    if (!always && !(eventMask_ & ENM_REQUESTRESIZE)) return;
    doc_->SetWrapWidth(wordWrap_ ? FormatRect().Width() : 0);
    const TSize content = doc_->ContentSize();
    const TRect fr = FormatRect(), cr = ClientRect();
    const int extraW = fr.Left + (cr.Right - fr.Right), extraH = fr.Top + std::max(0, cr.Bottom - fr.Bottom);
    const TSize want{(wordWrap_ ? fr.Width() : content.cx) + extraW, content.cy + extraH};
    if (!always && want.cx == lastRequest_.cx && want.cy == lastRequest_.cy) return;
    lastRequest_ = want;
    REQRESIZE r;
    r.nmhdr.hwndFrom = HandleAllocated() ? Handle() : nullptr;
    r.nmhdr.code = EN_REQUESTRESIZE;
    r.rc = {0, 0, want.cx, want.cy};
    Perform(CN_NOTIFY, 0, LPARAM(&r));
}

void TCustomRichEdit::UpdateCaret()
{
    if (!HandleAllocated() || !Focused()) return;
    const TRect c = doc_->CaretRect(caret_);
    const TPoint o = TextOrigin();
    SetCaretPos(o.X + c.Left, o.Y + c.Top);
}

// ---------------------------------------------------------------- formats

void TCustomRichEdit::GetCharFormat(CHARFORMATA& cf, bool selection) const
{
    const TRichCharFormat f = selection ? SelAttributes() : doc_->DefaultFormat();
    cf.dwMask = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_FACE | CFM_COLOR | CFM_SIZE | CFM_OFFSET;
    cf.dwEffects = (f.Bold ? DWORD(CFE_BOLD) : 0u) | (f.Italic ? DWORD(CFE_ITALIC) : 0u) |
                   (f.Underline ? DWORD(CFE_UNDERLINE) : 0u) | (f.Color == clNone ? DWORD(CFE_AUTOCOLOR) : 0u);
    cf.yHeight = f.HalfPoints * 10;
    cf.yOffset = f.Offset;
    cf.crTextColor = f.Color == clNone ? 0 : ColorToRGB(f.Color);
    const std::string name = f.FontName.empty() ? doc_->DefaultFormat().FontName : f.FontName;
    std::memset(cf.szFaceName, 0, sizeof cf.szFaceName);
    std::memcpy(cf.szFaceName, name.data(), std::min(name.size(), sizeof cf.szFaceName - 1));
}

void TCustomRichEdit::SetCharFormat(const CHARFORMATA& cf, bool selection)
{
    const int start = selection ? SelStart() : 0, len = selection ? SelLength() : doc_->Length();
    TRichCharFormat f;
    unsigned mask = 0;
    if (cf.dwMask & CFM_FACE) {
        f.FontName.assign(cf.szFaceName, strnlen(cf.szFaceName, sizeof cf.szFaceName));
        mask |= rfFont;
    }
    if (cf.dwMask & CFM_SIZE) {
        f.HalfPoints = std::clamp(int(cf.yHeight / 10), 1, 3276);
        mask |= rfSize;
    }
    f.Bold = cf.dwEffects & CFE_BOLD;
    f.Italic = cf.dwEffects & CFE_ITALIC;
    f.Underline = cf.dwEffects & CFE_UNDERLINE;
    f.Color = (cf.dwEffects & CFE_AUTOCOLOR) ? clNone : TColor(cf.crTextColor & 0xFFFFFF);
    f.Offset = cf.yOffset;
    if (cf.dwMask & CFM_BOLD) mask |= rfBold;
    if (cf.dwMask & CFM_ITALIC) mask |= rfItalic;
    if (cf.dwMask & CFM_UNDERLINE) mask |= rfUnderline;
    if (cf.dwMask & CFM_COLOR) mask |= rfColor;
    if (cf.dwMask & CFM_OFFSET) mask |= rfOffset;
    if (len > 0) SaveUndo();
    typingEnd_ = -1;
    doc_->ApplyFormat(start, len, f, mask);
    modified_ = true;
    ContentChanged();
}

// ---------------------------------------------------------------- the control's own behaviour

void TCustomRichEdit::NativeChar(char c)
{
    if (ClipboardChar(c)) return;
    switch (c) {
    case 26:  // Ctrl+Z
        Undo();
        return;
    case 8:
        if (readOnly_) return;
        if (SelLength() == 0) {
            if (caret_ == 0) return;
            anchor_ = caret_ - 1;
        }
        ReplaceSelection(std::string());
        return;
    case 13:
        if (!readOnly_) ReplaceSelection("\r\n");
        return;
    case 9:
        if (!readOnly_) ReplaceSelection("\t");
        return;
    default: break;
    }
    if ((unsigned char)c < 32 || readOnly_) return;
    ReplaceSelection(std::string(1, c), true);
}

void TCustomRichEdit::NativeKey(Word key)
{
    const bool shift = GetKeyState(VK_SHIFT) < 0, ctrl = GetKeyState(VK_CONTROL) < 0;
    const int n = doc_->Length();
    auto moveTo = [&](int target, bool keepColumn = false) {
        if (!keepColumn) caretX_ = -1;
        SetSelection(shift ? anchor_ : target, target);
    };
    auto lineMove = [&](int delta) {
        if (caretX_ < 0) caretX_ = doc_->CaretRect(caret_).Left;
        const int to = doc_->PositionInLine(doc_->LineOf(caret_) + delta, caretX_);
        moveTo(to >= 0 ? to : delta < 0 ? 0 : n, true);
    };
    switch (key) {
    case VK_LEFT:
        if (!shift && SelLength() > 0) moveTo(SelStart());
        else moveTo(caret_ - 1);
        break;
    case VK_RIGHT:
        if (!shift && SelLength() > 0) moveTo(SelStart() + SelLength());
        else moveTo(caret_ + 1);
        break;
    case VK_UP: lineMove(-1); break;
    case VK_DOWN: lineMove(1); break;
    case VK_HOME: moveTo(ctrl ? 0 : doc_->LineStart(caret_)); break;
    case VK_END: moveTo(ctrl ? n : doc_->LineEnd(caret_)); break;
    case VK_DELETE:
        if (readOnly_) break;
        if (SelLength() == 0) {
            if (caret_ >= n) break;
            anchor_ = caret_ + 1;
        }
        ReplaceSelection(std::string());
        break;
    default: break;
    }
}

void TCustomRichEdit::Native(TMessage& m)
{
    switch (m.Msg) {
    case WM_CHAR: NativeChar(char(m.CharCode())); break;
    case WM_KEYDOWN: NativeKey(m.CharCode()); break;
    case WM_SETTEXT: {
        const char* s = reinterpret_cast<const char*>(m.LParam);
        doc_->SetPlainText(s ? std::string(s) : std::string());
        undo_.clear();
        typingEnd_ = -1;
        anchor_ = caret_ = 0;
        modified_ = false;
        ContentChanged();
        m.Result = 1;
        break;
    }
    case WM_COPY: CopyToClipboard(); break;
    case WM_CUT: CutToClipboard(); break;
    case WM_PASTE: PasteFromClipboard(); break;
    case WM_UNDO:
    case EM_UNDO:
        m.Result = CanUndo() ? 1 : 0;
        Undo();
        break;
    case EM_CANUNDO: m.Result = CanUndo() ? 1 : 0; break;
    case EM_EMPTYUNDOBUFFER: ClearUndo(); break;
    case EM_REPLACESEL: {
        const char* s = reinterpret_cast<const char*>(m.LParam);
        ReplaceSelection(s ? std::string(s) : std::string());
        break;
    }
    case EM_GETSEL: AnswerGetSel(m, SelStart(), SelStart() + SelLength()); break;
    case EM_SETSEL: {
        int a = caret_, c = caret_;
        ReadSetSel(m, doc_->Length(), a, c);
        SetSelection(a, c);
        break;
    }
    case EM_GETRECT: FormatRectMessage(m); break;
    case EM_SETRECT:
    case EM_SETRECTNP:
        FormatRectMessage(m);
        doc_->SetWrapWidth(wordWrap_ ? FormatRect().Width() : 0);
        UpdateCaret();
        if (m.Msg == EM_SETRECT) Invalidate();
        break;
    case EM_GETCHARFORMAT:
        if (auto* cf = reinterpret_cast<CHARFORMATA*>(m.LParam); cf && cf->cbSize >= sizeof(CHARFORMATA)) {
            GetCharFormat(*cf, m.WParam & SCF_SELECTION);
            m.Result = LRESULT(cf->dwMask);
        }
        break;
    case EM_SETCHARFORMAT:
        if (const auto* cf = reinterpret_cast<const CHARFORMATA*>(m.LParam); cf && cf->cbSize >= sizeof(CHARFORMATA)) {
            SetCharFormat(*cf, m.WParam & SCF_SELECTION);
            m.Result = 1;
        }
        break;
    case EM_GETEVENTMASK: m.Result = LRESULT(eventMask_); break;
    case EM_SETEVENTMASK:
        m.Result = LRESULT(eventMask_);
        eventMask_ = DWORD(m.LParam);
        lastRequest_ = {-1, -1};
        break;
    case EM_REQUESTRESIZE: RequestResize(true); break;
    case EM_GETMODIFY: m.Result = modified_ ? 1 : 0; break;
    case EM_SETMODIFY: modified_ = m.WParam != 0; break;
    case WM_SETFOCUS:
        CreateCaret(Handle(), 1, doc_->CaretRect(caret_).Height());
        UpdateCaret();
        ShowCaret(Handle());
        Invalidate();
        break;
    case WM_KILLFOCUS:
        selecting_ = false;
        DestroyCaret();
        Invalidate();
        break;
    case WM_LBUTTONDOWN: {
        if (!Focused() && CanFocus()) SetFocus();
        const TPoint o = TextOrigin();
        const int i = doc_->PositionAt({m.XPos() - o.X, m.YPos() - o.Y});
        caretX_ = -1;
        SetSelection((m.Keys() & MK_SHIFT) ? anchor_ : i, i);
        selecting_ = true;
        break;
    }
    case WM_MOUSEMOVE:
        if (selecting_ && (m.Keys() & MK_LBUTTON)) {
            const TPoint o = TextOrigin();
            SetSelection(anchor_, doc_->PositionAt({m.XPos() - o.X, m.YPos() - o.Y}));
        }
        break;
    case WM_LBUTTONUP: selecting_ = false; break;
    default: break;
    }
}

void TCustomRichEdit::DefaultHandler(TMessage& m)
{
    Native(m);
    TWinControl::DefaultHandler(m);
}

void TCustomRichEdit::Dispatch(TMessage& m)
{
    if (m.Msg == CN_NOTIFY) CNNotify(m);
    else TWinControl::Dispatch(m);
}

// ---------------------------------------------------------------- messages





void TCustomRichEdit::WMGetDlgCode(TWMGetDlgCode& m)
{
    m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTALLKEYS;
}




void TCustomRichEdit::WMSize(TWMSize& m)
{
    ResetFormatRect();
    doc_->SetWrapWidth(wordWrap_ ? FormatRect().Width() : 0);
    UpdateCaret();
    TWinControl::WMSize(m);
}

void TCustomRichEdit::CMFontChanged(TMessage& m)
{
    ApplyFont();
    Invalidate();
    TWinControl::CMFontChanged(m);
}

// ---------------------------------------------------------------- painting

void TCustomRichEdit::DrawTo(HDC dc, const TRect& rect, TColor textColor, TColor forceColor)
{
    doc_->SetWrapWidth(std::max(1, rect.Width()));
    doc_->Draw(dc, rect, textColor, forceColor);
}

void TCustomRichEdit::PaintWindow(HDC dc)
{
    const TRect cr = ClientRect();
    FillRect(dc, cr, ColorToRGB(Color()));
    doc_->SetWrapWidth(wordWrap_ ? FormatRect().Width() : 0);
    const bool showSel = SelLength() > 0 && (Focused() || !hideSelection_);
    doc_->Draw(dc, FormatRect(), Enabled() ? font_.Color() : clGrayText, clNone, showSel ? SelStart() : 0,
               showSel ? SelLength() : 0);
}

}  // namespace platform
