#include "platform/controls/Edit.h"

#include <QFontMetrics>
#include <QGlyphRun>
#include <QTextLayout>
#include <QWidget>

#include <algorithm>
#include <cctype>
#include <cstring>

#include "platform/Private.h"
#include "platform/controls/ControlsPrivate.h"
#include "platform/graphics/GDI.h"
#include "platform/system/Clipboard.h"
#include "platform/TestRig.h"

namespace platform {

namespace {

QFont QFontOf(const TFont& f) { return MakeQFont(f.Name(), f.Height(), f.Style(), f.Pitch()); }

std::string ChangeCase(const std::string& s, TEditCharCase c)
{
    if (c == ecNormal) return s;
    const QString q = AnsiToQString(s);
    return QStringToAnsi(c == ecUpperCase ? q.toUpper() : q.toLower());
}

bool IsWordChar(char c) { return !std::isspace(static_cast<unsigned char>(c)); }

}  // namespace

TCustomEdit::TCustomEdit(TComponent* AOwner)
    : TEditBase(AOwner), canvas_(std::make_unique<TControlCanvas>(this))
{
    ControlStyle = csClickEvents | csSetCaption | csDoubleClicks | csFixedHeight | csCaptureMouse;
    SetBounds(Left(), Top(), 121, 25);
    SetColor(clWindow);
    SetTabStop(true);
}

TCustomEdit::~TCustomEdit() = default;

TCanvas* TCustomEdit::Canvas() { return canvas_.get(); }

void TCustomEdit::CreateParams(TCreateParams& p)
{
    TWinControl::CreateParams(p);
    p.Style |= DWORD(WS_TABSTOP) | DWORD(ES_AUTOHSCROLL);
    static const DWORD align[] = {ES_LEFT, ES_RIGHT, ES_CENTER};
    p.Style |= align[alignment_];
    if (!hideSelection_) p.Style |= ES_NOHIDESEL;
    if (readOnly_) p.Style |= ES_READONLY;
    if (charCase_ == ecUpperCase) p.Style |= ES_UPPERCASE;
    if (charCase_ == ecLowerCase) p.Style |= ES_LOWERCASE;
    if (borderStyle_ == bsSingle) {
        if (ctl3D_) p.ExStyle |= WS_EX_CLIENTEDGE;
        else p.Style |= WS_BORDER;
    }
}

DWORD TCustomEdit::EditStyle() const
{
    TCreateParams p;
    const_cast<TCustomEdit*>(this)->CreateParams(p);
    return p.Style;
}

void TCustomEdit::CreateWnd()
{
    TWinControl::CreateWnd();
    AdjustHeight();
    UpdateCaret();
}

// ---------------------------------------------------------------- properties

void TCustomEdit::SetText(const std::string& s)
{
    Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(s.c_str()));
}

void TCustomEdit::ChangeText(const std::string& s)
{
    if (s == Text()) return;
    TWinControl::SetText(s);
    InvalidateLayout();
    Change();
}

void TCustomEdit::Change()
{
    if (OnChange) OnChange(this);
}

int TCustomEdit::SelStart() const { return std::min(anchor_, caret_); }
int TCustomEdit::SelLength() const { return std::abs(caret_ - anchor_); }
std::string TCustomEdit::SelText() const { return Text().substr(std::size_t(SelStart()), std::size_t(SelLength())); }

void TCustomEdit::SetSelStart(int v) { Perform(EM_SETSEL, WPARAM(v), LPARAM(v)); }

void TCustomEdit::SetSelLength(int v)
{
    const int start = SelStart();
    Perform(EM_SETSEL, WPARAM(start), LPARAM(start + std::max(0, v)));
}

void TCustomEdit::SetSelText(const std::string& s)
{
    Perform(EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(s.c_str()));
}

void TCustomEdit::SelectAll() { Perform(EM_SETSEL, 0, -1); }
void TCustomEdit::ClearSelection() { Perform(WM_CLEAR); }
void TCustomEdit::CopyToClipboard() { Perform(WM_COPY); }
void TCustomEdit::CutToClipboard() { Perform(WM_CUT); }
void TCustomEdit::PasteFromClipboard() { Perform(WM_PASTE); }
void TCustomEdit::Undo() { Perform(WM_UNDO); }
bool TCustomEdit::CanUndo() const { return canUndo_; }
void TCustomEdit::ClearUndo() { Perform(EM_EMPTYUNDOBUFFER); }

void TCustomEdit::SetReadOnly(bool v) { Perform(EM_SETREADONLY, v ? 1 : 0); }
void TCustomEdit::SetMaxLength(int v) { Perform(EM_LIMITTEXT, WPARAM(std::max(0, v))); }

void TCustomEdit::SetPasswordChar(char c)
{
    if (c != passwordChar_) Perform(EM_SETPASSWORDCHAR, WPARAM((unsigned char)c));
}

void TCustomEdit::SetCharCase(TEditCharCase c)
{
    if (c == charCase_) return;
    charCase_ = c;
    const int a = anchor_, k = caret_;
    ChangeText(ChangeCase(Text(), c));
    SetSelection(a, k);
}

void TCustomEdit::SetAlignment(TAlignment a)
{
    if (a == alignment_) return;
    alignment_ = a;
    RecreateWnd();
}

void TCustomEdit::SetBorderStyle(TBorderStyle s)
{
    s = s == bsNone ? bsNone : bsSingle;
    if (s == borderStyle_) return;
    borderStyle_ = s;
    RecreateWnd();
    AdjustHeight();
}

void TCustomEdit::SetCtl3D(bool v)
{
    if (v == ctl3D_) return;
    ctl3D_ = v;
    RecreateWnd();
    AdjustHeight();
}

void TCustomEdit::SetHideSelection(bool v)
{
    if (v == hideSelection_) return;
    hideSelection_ = v;
    Invalidate();
}

void TCustomEdit::SetAutoSize(bool v)
{
    if (v == autoSize_) return;
    autoSize_ = v;
    AdjustHeight();
}

void TCustomEdit::AdjustHeight()
{
    // The height that fits one line of the font with the sunken border.
    if (autoSize_ && borderStyle_ == bsSingle) {
        ControlStyle |= csFixedHeight;
        SetHeight(LineHeight() + (ctl3D_ ? 8 : 6));
    } else {
        ControlStyle &= ~csFixedHeight;
    }
}

// ---------------------------------------------------------------- geometry

char TCustomEdit::ShownPasswordChar() const
{
    // The password style alone hides the text behind '*'.
    return passwordChar_ ? passwordChar_ : (EditStyle() & ES_PASSWORD) ? '*' : 0;
}

std::u16string TCustomEdit::ShownText() const { return AnsiToWide(Text()); }

std::u16string TCustomEdit::Display() const
{
    const char c = ShownPasswordChar();
    if (c) return std::u16string(Text().size(), AnsiToWide(std::string(1, c))[0]);
    std::u16string w = ShownText();
    w.resize(Text().size(), u'?');  // one character per position of the 8-bit text
    return w;
}

void TCustomEdit::InvalidateLayout()
{
    offsetsValid_ = false;
    Invalidate();
}

namespace {
long long charactersMeasured = 0;
}  // namespace

long long EditCharactersMeasured() { return charactersMeasured; }

const std::vector<int>& TCustomEdit::Offsets() const
{
    if (!offsetsValid_) {
        const QString d = QString::fromStdU16String(Display());
        offsets_.assign(std::size_t(d.size()) + 1, 0);
        if (!d.isEmpty()) {
            // The text is laid out once per change and every boundary read from that
            // layout: measuring each prefix on its own costs the square of the length.
            charactersMeasured += d.size();
            QTextLayout layout(d, QFontOf(font_));
            QTextOption option;
            option.setWrapMode(QTextOption::NoWrap);
            layout.setTextOption(option);
            layout.beginLayout();
            QTextLine line = layout.createLine();
            layout.endLayout();
            const QList<QGlyphRun> runs = layout.glyphRuns();
            if (runs.size() == 1 && runs[0].positions().size() == d.size() && !d.isRightToLeft()) {
                // One glyph per character, in order: a boundary is where its glyph starts.
                const QList<QPointF> pos = runs[0].positions();
                for (qsizetype i = 1; i < d.size(); ++i) offsets_[std::size_t(i)] = qRound(pos[i].x() - pos[0].x());
            } else {
                for (qsizetype i = 1; i < d.size(); ++i) offsets_[std::size_t(i)] = qRound(line.cursorToX(int(i)));
            }
            offsets_.back() = qRound(line.naturalTextWidth());
        }
        offsetsValid_ = true;
    }
    return offsets_;
}


// Client x of the text's first boundary.
int TCustomEdit::TextOrigin() const
{
    const TRect fr = FormatRect();
    const int total = Offsets().back();
    int x = fr.Left - scrollX_;
    if (total < fr.Width()) {
        const DWORD style = EditStyle();
        if (style & ES_RIGHT) x = fr.Right - total - 1;
        else if (style & ES_CENTER) x = fr.Left + (fr.Width() - total) / 2;
    }
    return x;
}

TPoint TCustomEdit::PosFromChar(int index) const
{
    const auto& off = Offsets();
    index = std::clamp(index, 0, int(off.size()) - 1);
    return {TextOrigin() + off[std::size_t(index)], FormatRect().Top};
}

int TCustomEdit::CharFromPos(TPoint p) const
{
    const auto& off = Offsets();
    const int x = p.X - TextOrigin();
    // The boundary nearest to x.
    auto it = std::lower_bound(off.begin(), off.end(), x);
    if (it == off.end()) return int(off.size()) - 1;
    int i = int(it - off.begin());
    if (i > 0 && x - off[std::size_t(i - 1)] < off[std::size_t(i)] - x) --i;
    return i;
}

void TCustomEdit::ScrollToCaret()
{
    const TRect fr = FormatRect();
    const auto& off = Offsets();
    const int total = off.back();
    if (total < fr.Width()) {
        scrollX_ = 0;
        return;
    }
    const int cx = off[std::size_t(std::clamp(caret_, 0, int(off.size()) - 1))];
    const int width = std::max(1, fr.Width() - 1);
    if (cx - scrollX_ > width) scrollX_ = cx - width + width / 4;
    if (cx < scrollX_) scrollX_ = std::max(0, cx - width / 4);
    scrollX_ = std::clamp(scrollX_, 0, std::max(0, total - width));
}

void TCustomEdit::UpdateCaret()
{
    if (!Focused() || !HandleAllocated()) return;
    ScrollToCaret();
    const TPoint p = PosFromChar(caret_);
    SetCaretPos(p.X, p.Y);
}

void TCustomEdit::SetSelection(int anchor, int caret)
{
    const int n = int(Text().size());
    anchor = std::clamp(anchor, 0, n);
    caret = std::clamp(caret, 0, n);
    if (anchor == anchor_ && caret == caret_) return;
    anchor_ = anchor;
    caret_ = caret;
    UpdateCaret();
    Invalidate();
}

int TCustomEdit::WordStart(int i) const
{
    const std::string& t = Text();
    while (i > 0 && !IsWordChar(t[std::size_t(i - 1)])) --i;
    while (i > 0 && IsWordChar(t[std::size_t(i - 1)])) --i;
    return i;
}

int TCustomEdit::WordEnd(int i) const
{
    const std::string& t = Text();
    const int n = int(t.size());
    while (i < n && IsWordChar(t[std::size_t(i)])) ++i;
    while (i < n && !IsWordChar(t[std::size_t(i)])) ++i;
    return i;
}

// ---------------------------------------------------------------- editing

void TCustomEdit::ReplaceSelection(const std::string& s, bool userEdit)
{
    std::string text = Text();
    const int start = SelStart(), len = SelLength();
    std::string add = ChangeCase(s, charCase_);
    if (userEdit && maxLength_ > 0) {
        const int room = maxLength_ - (int(text.size()) - len);
        if (room <= 0 && !add.empty()) return;
        if (int(add.size()) > room) add.resize(std::size_t(std::max(0, room)));
    }
    if (add.empty() && len == 0) return;
    undoText_ = text;
    undoCaret_ = caret_;
    canUndo_ = true;
    text.replace(std::size_t(start), std::size_t(len), add);
    const int caret = start + int(add.size());
    anchor_ = caret_ = caret;
    if (userEdit) modified_ = true;
    ChangeText(text);
    UpdateCaret();
    Invalidate();
}

void TCustomEdit::NativeChar(char c)
{
    if (ClipboardChar(c)) return;
    switch (c) {
    case 26: Perform(WM_UNDO); return;   // Ctrl+Z
    case 8:
        if (readOnly_) return;
        if (SelLength() == 0) {
            if (caret_ == 0) return;
            anchor_ = caret_ - 1;
        }
        ReplaceSelection(std::string(), true);
        return;
    default: break;
    }
    if ((unsigned char)c < 32 || readOnly_) return;
    ReplaceSelection(std::string(1, c), true);
}

void TCustomEdit::NativeKey(Word key)
{
    const bool shift = GetKeyState(VK_SHIFT) < 0, ctrl = GetKeyState(VK_CONTROL) < 0;
    const int n = int(Text().size());
    auto moveTo = [&](int target) { SetSelection(shift ? anchor_ : target, target); };
    switch (key) {
    case VK_LEFT:
        if (!shift && SelLength() > 0 && !ctrl) moveTo(SelStart());
        else moveTo(ctrl ? WordStart(caret_) : caret_ - 1);
        break;
    case VK_RIGHT:
        if (!shift && SelLength() > 0 && !ctrl) moveTo(SelStart() + SelLength());
        else moveTo(ctrl ? WordEnd(caret_) : caret_ + 1);
        break;
    case VK_HOME: moveTo(0); break;
    case VK_END: moveTo(n); break;
    case VK_DELETE:
        if (shift) {
            Perform(WM_CUT);
        } else if (!readOnly_) {
            if (SelLength() == 0) {
                if (caret_ >= n) break;
                anchor_ = caret_ + 1;
            }
            ReplaceSelection(std::string(), true);
        }
        break;
    case VK_INSERT:
        if (ctrl) Perform(WM_COPY);
        else if (shift) Perform(WM_PASTE);
        break;
    default: break;
    }
}

void TCustomEdit::NativeMouse(TMessage& m)
{
    switch (m.Msg) {
    case WM_LBUTTONDOWN: {
        if (!Focused() && CanFocus()) {
            mouseEnter_ = true;
            SetFocus();
            mouseEnter_ = false;
        }
        const int i = CharFromPos(m.Pos());
        SetSelection((m.Keys() & MK_SHIFT) ? anchor_ : i, i);
        selecting_ = true;
        break;
    }
    case WM_LBUTTONDBLCLK: {
        const int i = CharFromPos(m.Pos());
        int s = i, e = i;
        const std::string& t = Text();
        while (s > 0 && IsWordChar(t[std::size_t(s - 1)])) --s;
        while (e < int(t.size()) && IsWordChar(t[std::size_t(e)])) ++e;
        SetSelection(s, e);
        break;
    }
    case WM_MOUSEMOVE:
        if (selecting_ && (m.Keys() & MK_LBUTTON)) SetSelection(anchor_, CharFromPos(m.Pos()));
        break;
    case WM_LBUTTONUP: selecting_ = false; break;
    default: break;
    }
}

// What the platform's edit does with a message nobody took.
void TCustomEdit::Native(TMessage& m)
{
    switch (m.Msg) {
    case WM_CHAR: NativeChar(char(m.CharCode())); break;
    case WM_KEYDOWN: NativeKey(m.CharCode()); break;
    case WM_SETTEXT: {
        const char* s = reinterpret_cast<const char*>(m.LParam);
        anchor_ = caret_ = 0;
        scrollX_ = 0;
        modified_ = false;
        canUndo_ = false;
        ChangeText(s ? std::string(s) : std::string());
        UpdateCaret();
        Invalidate();
        m.Result = 1;
        break;
    }
    case WM_GETTEXT: {
        char* out = reinterpret_cast<char*>(m.LParam);
        if (!out || m.WParam == 0) break;
        const std::size_t n = std::min<std::size_t>(Text().size(), m.WParam - 1);
        std::memcpy(out, Text().data(), n);
        out[n] = 0;
        m.Result = LRESULT(n);
        break;
    }
    case WM_COPY:
        if (SelLength() > 0 && !ShownPasswordChar()) Clipboard()->SetAsText(SelText());
        break;
    case WM_CUT:
        if (SelLength() > 0 && !ShownPasswordChar() && !readOnly_) {
            Clipboard()->SetAsText(SelText());
            ReplaceSelection(std::string(), true);
        }
        break;
    case WM_PASTE:
        if (!readOnly_ && Clipboard()->HasFormat(CF_TEXT)) {
            std::string s = Clipboard()->AsText();
            // One line: the text stops at the first line break.
            s = s.substr(0, s.find_first_of("\r\n"));
            ReplaceSelection(s, true);
        }
        break;
    case WM_CLEAR:
        if (!readOnly_) ReplaceSelection(std::string(), true);
        break;
    case WM_UNDO:
    case EM_UNDO:
        if (canUndo_ && !readOnly_) {
            std::string back = undoText_;
            const int caret = undoCaret_;
            undoText_ = Text();
            undoCaret_ = caret_;
            modified_ = true;
            ChangeText(back);
            anchor_ = caret_ = std::min(caret, int(back.size()));
            UpdateCaret();
            Invalidate();
            m.Result = 1;
        }
        break;
    case EM_GETSEL: AnswerGetSel(m, SelStart(), SelStart() + SelLength()); break;
    case EM_SETSEL: {
        int a = caret_, c = caret_;
        ReadSetSel(m, int(Text().size()), a, c);
        SetSelection(a, c);
        break;
    }
    case EM_GETRECT: FormatRectMessage(m); break;
    case EM_SETRECT:
    case EM_SETRECTNP:
        FormatRectMessage(m);
        UpdateCaret();
        if (m.Msg == EM_SETRECT) Invalidate();
        break;
    case EM_SCROLLCARET: UpdateCaret(); break;
    case EM_GETMODIFY: m.Result = modified_ ? 1 : 0; break;
    case EM_SETMODIFY: modified_ = m.WParam != 0; break;
    case EM_LINELENGTH: m.Result = LRESULT(Text().size()); break;
    case EM_REPLACESEL: {
        const char* s = reinterpret_cast<const char*>(m.LParam);
        const bool wasModified = modified_;
        ReplaceSelection(s ? std::string(s) : std::string(), false);
        modified_ = wasModified;
        if (!m.WParam) canUndo_ = false;
        break;
    }
    case EM_LIMITTEXT: maxLength_ = int(m.WParam); break;
    case EM_GETLIMITTEXT: m.Result = maxLength_; break;
    case EM_CANUNDO: m.Result = canUndo_ ? 1 : 0; break;
    case EM_EMPTYUNDOBUFFER: canUndo_ = false; break;
    case EM_SETPASSWORDCHAR:
        passwordChar_ = char(m.WParam);
        InvalidateLayout();
        UpdateCaret();
        break;
    case EM_GETPASSWORDCHAR: m.Result = (unsigned char)passwordChar_; break;
    case EM_SETREADONLY:
        readOnly_ = m.WParam != 0;
        Invalidate();
        m.Result = 1;
        break;
    case EM_POSFROMCHAR: {
        const int i = int(m.WParam);
        if (i < 0 || i >= int(Text().size())) {
            m.Result = -1;
            break;
        }
        const TPoint p = PosFromChar(i);
        m.Result = LRESULT(MakeLParam(p.X, p.Y));
        break;
    }
    case EM_CHARFROMPOS: m.Result = LRESULT(CharFromPos({m.XPos(), m.YPos()}) & 0xFFFF); break;
    case WM_SETFOCUS: {
        CreateCaret(Handle(), 1, LineHeight());
        UpdateCaret();
        ShowCaret(Handle());
        Invalidate();
        break;
    }
    case WM_KILLFOCUS:
        selecting_ = false;
        DestroyCaret();
        Invalidate();
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE: NativeMouse(m); break;
    default: break;
    }
}

void TCustomEdit::DefaultHandler(TMessage& m)
{
    Native(m);
    TWinControl::DefaultHandler(m);
}

// ---------------------------------------------------------------- messages

void TCustomEdit::WndProc(TMessage& m) { TWinControl::WndProc(m); }

void TCustomEdit::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_COPY: WMCopy(m); break;
    case WM_CUT: WMCut(m); break;
    case WM_PASTE: WMPaste(m); break;
    case WM_CLEAR: WMClear(m); break;
    case WM_UNDO: WMUndo(m); break;
    case WM_SETTEXT: WMSetText(m); break;
    default: TWinControl::Dispatch(m); break;
    }
}





void TCustomEdit::WMGetDlgCode(TWMGetDlgCode& m)
{
    m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
    if (EditStyle() & ES_MULTILINE) m.Result |= DLGC_WANTALLKEYS;
}





void TCustomEdit::WMSize(TWMSize& m)
{
    // A new size (also a window made again with other styles) gives the text area back its default.
    ResetFormatRect();
    offsetsValid_ = false;
    UpdateCaret();
    TWinControl::WMSize(m);
}

void TCustomEdit::CMEnter(TMessage& m)
{
    if (AutoSelect && !mouseEnter_ && !(EditStyle() & ES_MULTILINE)) SelectAll();
    TWinControl::CMEnter(m);
}

void TCustomEdit::CMFontChanged(TMessage& m)
{
    InvalidateLayout();
    if (HandleAllocated()) AdjustHeight();
    if (Focused()) {
        CreateCaret(Handle(), 1, LineHeight());
        UpdateCaret();
        ShowCaret(Handle());
    }
    TWinControl::CMFontChanged(m);
}

// ---------------------------------------------------------------- painting

void TCustomEdit::PaintWindow(HDC dc)
{
    canvas_->PaintOn(dc, [this] { PaintText(); });
}

void TCustomEdit::PaintText()
{
    TCanvas* c = canvas_.get();
    c->Font().Assign(*Font());
    if (!Enabled()) c->Font().SetColor(clGrayText);
    const TRect fr = FormatRect();
    const std::u16string d = Display();
    const auto& off = Offsets();
    const int x0 = TextOrigin();
    HDC dc = c->Handle();
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, fr.Left, fr.Top, fr.Right, fr.Bottom);
    c->Brush().SetStyle(bsClear);
    // Only the characters inside the text area (and one beyond each side) are drawn, at
    // their places in the whole text: a long text is not shaped again at every paint.
    const int n = int(d.size());
    int first = int(std::upper_bound(off.begin(), off.end(), fr.Left - x0) - off.begin()) - 2;
    int last = int(std::lower_bound(off.begin(), off.end(), fr.Right - x0) - off.begin()) + 1;
    first = std::clamp(first, 0, n);
    last = std::clamp(last, first, n);
    const std::u16string shown = d.substr(std::size_t(first), std::size_t(last - first));
    const int xs = x0 + off[std::size_t(first)];
    c->TextOutW(xs, fr.Top, shown);
    if (SelLength() > 0 && (Focused() || !hideSelection_)) {
        const int s = SelStart(), e = s + SelLength();
        const TRect sel = Rect(x0 + off[std::size_t(s)], fr.Top, x0 + off[std::size_t(e)], fr.Top + LineHeight());
        c->Brush().SetStyle(bsSolid);
        c->Brush().SetColor(clHighlight);
        c->FillRect(sel);
        IntersectClipRect(dc, sel.Left, sel.Top, sel.Right, sel.Bottom);
        c->Font().SetColor(clHighlightText);
        c->Brush().SetStyle(bsClear);
        c->TextOutW(xs, fr.Top, shown);
    }
    RestoreDC(dc, saved);
}

int TCustomEdit::LineHeight() const
{
    QFontMetrics fm(QFontOf(font_));
    return fm.ascent() + fm.descent();
}

}  // namespace platform
