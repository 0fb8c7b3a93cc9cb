// The completion list and the parameter hint.
#include "widgets/memo/AutoCompletion.h"

#include <algorithm>
#include <cctype>
#include <cstdint>

#include "base/StrUtils.h"
#include "platform/forms/Forms.h"
#include "platform/graphics/GDI.h"
#include "platform/graphics/ImageList.h"
#include "platform/system/Thread.h"
#include "widgets/memo/ExMemo.h"
#include "widgets/memo/Gutter.h"
#include "widgets/memo/MemoStyler.h"

namespace memo {

using namespace platform;

TAutoCompletion::TAutoCompletion(TExCustomMemo* memo) : memo_(memo) {}

TAutoCompletion::~TAutoCompletion() = default;

void TAutoCompletion::SetDelay(int ms) { delay_ = ms; }

void TAutoCompletion::SetShowImages(bool v) { showImages_ = v; }

TColor TAutoCompletion::KindColor(int kind) const
{
    switch (kind) {
    case 1: return ColorVar;
    case 2: return ColorProp;
    case 3: return ColorEvent;
    case 4: return ColorMethod;
    case 5: return ColorFunc;
    case 6: return ColorProc;
    default: return ColorIdentifier;
    }
}

std::string CompletionNamePart(const std::string& entry)
{
    const std::size_t blank = entry.find(' ');
    return blank == std::string::npos ? entry : entry.substr(blank + 1);
}

std::string CompletionKey(const std::string& entry)
{
    const std::string name = CompletionNamePart(entry);
    return name.substr(0, name.find_first_of(" (;"));
}

// ---------------------------------------------------------------- the list box

namespace {

// The list's own kind pictures, 16 by 16 on green (the transparent colour): a letter-free
// sign per kind in its own colour.
void MakeKindPictures(TImageList& list)
{
    const TColor green = TColor(0x00FF00);
    struct Sign {
        TColor fill;
        int shape;  // 0 box, 1 diamond, 2 bolt, 3 bar, 4 circle
    } signs[5] = {{TColor(0xC06000), 0}, {TColor(0x008080), 1}, {TColor(0x0000C0), 2}, {TColor(0x800080), 3},
                  {TColor(0x008000), 4}};
    for (const Sign& sg : signs) {
        TBitmap b(16, 16);
        TCanvas* c = b.Canvas();
        c->Brush().SetColor(green);
        c->FillRect(Rect(0, 0, 16, 16));
        c->Brush().SetColor(sg.fill);
        c->Pen().SetColor(TColor(0x000000));
        switch (sg.shape) {
        case 0: c->Rectangle(3, 3, 13, 13); break;
        case 1: {
            const TPoint pts[4] = {{8, 2}, {14, 8}, {8, 14}, {2, 8}};
            c->Polygon(pts, 4);
            break;
        }
        case 2: {
            const TPoint pts[6] = {{9, 1}, {3, 9}, {8, 9}, {6, 15}, {13, 6}, {8, 6}};
            c->Polygon(pts, 6);
            break;
        }
        case 3: c->Rectangle(2, 5, 14, 11); break;
        default: c->Ellipse(2, 2, 14, 14); break;
        }
        list.AddMasked(&b, green);
    }
}

}  // namespace

TAutoCompletionListBox::TAutoCompletionListBox(TComponent* owner)
    : TCustomListBox(owner), pictures_(std::make_unique<TImageList>(16, 16))
{
    SetStyle(lbOwnerDrawFixed);
    MakeKindPictures(*pictures_);
}

TAutoCompletionListBox::~TAutoCompletionListBox() = default;

int TAutoCompletionListBox::KindImage(int kind)
{
    switch (kind) {
    case 1: return 0;  // variable
    case 2: return 1;  // property
    case 3: return 2;  // event
    case 4: return 4;  // method
    case 5: case 6: return 3;  // function and procedure
    default: return -1;
    }
}

void TAutoCompletionListBox::SetImages(TImageList* images)
{
    if (images == images_) return;
    if (images_) RemoveFreeNotification(images_);
    images_ = images;
    if (images_) FreeNotification(images_);
    Invalidate();
}

void TAutoCompletionListBox::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomListBox::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == images_) {
        images_ = nullptr;
        Invalidate();
    }
}

namespace {

std::string KindWord(const std::string& entry)
{
    const std::size_t blank = entry.find(' ');
    return blank == std::string::npos ? std::string() : entry.substr(0, blank + 1);
}

std::string Upper(std::string s)
{
    for (char& c : s) c = char(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

int KindOf(const base::TStrings& list, int i)
{
    return int(reinterpret_cast<std::intptr_t>(list.GetObject(i)));
}

}  // namespace

int TAutoCompletionListBox::AutoAdaptWidth()
{
    TCanvas* c = Canvas();
    c->Font().Assign(*Font());
    kindWidth_ = 0;
    for (int i = 0; i < Items().Count(); ++i) kindWidth_ = std::max(kindWidth_, c->TextWidth(KindWord(Items().Get(i))));
    int widest = 0;
    for (int i = 0; i < Items().Count(); ++i) {
        const std::string& e = Items().Get(i);
        const std::string name = CompletionNamePart(e);
        const std::size_t bracket = name.find('(');
        int w = KindWord(e).empty() ? 0 : kindWidth_;
        c->Font().SetStyle(fsBold);
        w += c->TextWidth(name.substr(0, bracket));
        c->Font().SetStyle(0);
        if (bracket != std::string::npos) w += c->TextWidth(name.substr(bracket));
        widest = std::max(widest, w);
    }
    SetItemHeight(std::max(16, c->TextHeight("h_")));
    return widest + (ShowImages ? 20 : 0) + GetSystemMetrics(SM_CXVSCROLL) + 8;
}

void TAutoCompletionListBox::DrawItem(int index, const TRect& rect, TOwnerDrawState state)
{
    TCanvas* c = Canvas();
    c->FillRect(rect);
    int x = rect.Left + 2 + (ShowImages ? 20 : 0);
    const std::string& e = Items().Get(index);
    if (ShowImages) {
        // Images the given list lacks keep the list's own picture.
        const int picture = KindImage(KindOf(Items(), index));
        const TImageList* from = images_ && picture < images_->Count() ? images_ : pictures_.get();
        if (picture >= 0) from->Draw(c, rect.Left + 2, rect.Top + (rect.Height() - from->Height()) / 2, picture);
    }
    const TColor fontColor = c->Font().Color();
    c->Brush().SetStyle(bsClear);
    const std::string kind = KindWord(e);
    if (!kind.empty()) {
        if (!(state & odSelected)) c->Font().SetColor(KindColors[std::clamp(KindOf(Items(), index), 0, 6)]);
        c->TextOut(x, rect.Top, kind);
        x += kindWidth_;
    }
    c->Font().SetColor(fontColor);
    const std::string name = CompletionNamePart(e);
    const std::size_t bracket = std::min(name.find('('), name.size());
    c->Font().SetStyle(fsBold);
    c->TextOut(x, rect.Top, name.substr(0, bracket));
    x += c->TextWidth(name.substr(0, bracket));
    c->Font().SetStyle(0);
    c->TextOut(x, rect.Top, name.substr(bracket));
    c->Brush().SetStyle(bsSolid);
}

// ---------------------------------------------------------------- the hint window

namespace {

class TParameterHintWindow : public THintWindow {
public:
    TParameterHintWindow(TComponent* owner, TCompletionPopup& popup, TExCustomMemo& memo)
        : THintWindow(owner), popup_(popup), memo_(memo)
    {
    }
    void Paint() override
    {
        TCanvas* c = Canvas();
        const THintParameter* hp = memo_.SyntaxStyles() ? &memo_.SyntaxStyles()->HintParameter : nullptr;
        c->Brush().SetColor(hp ? hp->BkColor : clInfoBk);
        c->Pen().SetColor(TColor(0x808080));
        c->Rectangle(0, 0, Width(), Height());
        c->Font().Assign(*memo_.Font());
        c->Font().SetColor(hp ? hp->TextColor : clBlack);
        c->Brush().SetStyle(bsClear);
        int x = 2;
        for (int i = 0; i < 3; ++i) {
            c->Font().SetStyle(popup_.BoldPart == i + 1 ? TFontStyles(fsBold) : TFontStyles(0));
            c->TextOut(x, 2, popup_.Parts[i]);
            x += c->TextWidth(popup_.Parts[i]);
        }
        c->Brush().SetStyle(bsSolid);
    }
    void MouseDown(TMouseButton, TShiftState, int, int) override
    {
        if (memo_.CanFocus()) memo_.SetFocus();
        memo_.Invalidate();
    }

private:
    TCompletionPopup& popup_;
    TExCustomMemo& memo_;
};

}  // namespace

TCompletionPopup::TCompletionPopup(TExCustomMemo* memo) : owner(std::make_unique<TComponent>(nullptr))
{
    Window = Construct<TForm>(owner.get());
    Window->SetBorderStyle(bsSizeToolWin);
    Window->SetFormStyle(fsStayOnTop);
    List = new TAutoCompletionListBox(Window);
    List->SetParent(Window);
    List->SetAlign(alClient);
    CompletionTimer = new TTimer(owner.get());
    CompletionTimer->SetEnabled(false);
    CompletionTimer->SetInterval(UINT(memo->AutoCompletion()->Delay()));
    CompletionTimer->SetOnTimer([memo](TObject*) { memo->AutoCompleteTimer(); });
    HintTimer = new TTimer(owner.get());
    HintTimer->SetEnabled(false);
    HintTimer->SetInterval(UINT(memo->AutoHintParameterDelay()));
    HintTimer->SetOnTimer([memo](TObject*) { memo->HideHint(); });
    Hint = new TParameterHintWindow(owner.get(), *this, *memo);
}

TCompletionPopup::~TCompletionPopup() = default;

// ---------------------------------------------------------------- the editor's side

TCompletionPopup& TExCustomMemo::Popup()
{
    if (!completion_) completion_ = std::make_unique<TCompletionPopup>(this);
    return *completion_;
}

void TExCustomMemo::SetAutoCompletionListImages(TImageList* images)
{
    if (images == autoCompletionListImages_) return;
    if (autoCompletionListImages_) RemoveFreeNotification(autoCompletionListImages_);
    autoCompletionListImages_ = images;
    if (images) FreeNotification(images);
    if (completion_) completion_->List->SetImages(images);
}

bool TExCustomMemo::CompletionVisible() const { return completion_ && completion_->Window->Visible(); }

bool TExCustomMemo::HintVisible() const { return completion_ && completion_->Hint->Shown(); }

void TExCustomMemo::SetAutoHintParameters(TAutoHintParameters v)
{
    autoHintParameters_ = v;
    HideHint();
}

void TExCustomMemo::SetAutoHintParameterDelay(int ms)
{
    if (ms <= 0) return;
    autoHintParameterDelay_ = ms;
    if (completion_) completion_->HintTimer->SetInterval(UINT(ms));
}

TPoint TExCustomMemo::PopupPoint(int lines) const
{
    const TPoint origin = ClientToScreen({0, 0});
    const int gutter = gutter_->Visible() ? gutter_->GutterWidth() : 0;
    return {origin.X + gutter + (curX_ - leftCol_) * charWidth_, origin.Y + (curY_ - topLine_ + lines) * charHeight_ + 2};
}

void TExCustomMemo::ShowForm(bool)
{
    if (!autoCompletion_->Active || ReadOnly || !styler_ || styler_->listAuto.Count() == 0) return;
    std::string token = Upper(FullWordAtCursor());
    bool show = true;
    if (OnBeforeAutoCompletion) OnBeforeAutoCompletion(this, token, show);
    if (!show) return;
    TCompletionPopup& p = Popup();
    p.Candidates.Clear();
    const base::TStringList& all = styler_->listAuto;
    for (int i = 0; i < all.Count(); ++i)
        if (token.empty() || Upper(CompletionNamePart(all.Get(i))).rfind(token, 0) == 0)
            p.Candidates.AddObject(all.Get(i), all.GetObject(i));
    if (OnGetAutoCompletionList) OnGetAutoCompletionList(this, token, p.Candidates);
    if (p.Candidates.Count() == 0) return;
    p.Candidates.CustomSort([this](const base::TStringList& list, int a, int b) {
        return SortAutoCompletList(const_cast<base::TStringList&>(list), a, b);
    });
    const TPoint at = PopupPoint(1);
    p.Window->SetBounds(at.X, at.Y, autoCompletion_->Width, autoCompletion_->Height);
    TAutoCompletionListBox& list = *p.List;
    list.Items().Clear();
    for (int i = 0; i < p.Candidates.Count(); ++i) list.Items().AddObject(p.Candidates.Get(i), p.Candidates.GetObject(i));
    list.Font()->Assign(autoCompletion_->Font());
    list.SetColor(autoCompletion_->Color);
    for (int k = 0; k < 7; ++k) list.KindColors[k] = autoCompletion_->KindColor(k);
    list.ShowImages = autoCompletion_->ShowImages();
    list.SetImages(autoCompletionListImages_);
    list.OnKeyDown = [this](TObject*, Word& key, TShiftState shift) { ListKeyDown(key, shift); };
    list.OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int, int) { AcceptCompletion(false); };
    if (OnStartAutoCompletion) OnStartAutoCompletion(this);
    const int w = list.AutoAdaptWidth();
    if (autoCompletion_->SizeDropDown) p.Window->SetWidth(w);
    p.Window->Show();
    if (list.CanFocus()) list.SetFocus();
    const std::string t = p.TokenMode ? Upper(TokenAtXY(p.TokenX, p.TokenY)) : std::string();
    if (p.TokenMode && !t.empty())
        UpdateCompletionList(t);
    else
        list.SetItemIndex(0);
}

int TExCustomMemo::SortAutoCompletList(base::TStrings& list, int index1, int index2)
{
    if (OnSortAutoCompletionList) return OnSortAutoCompletionList(this, list, index1, index2);
    return base::CompareText(CompletionKey(list.Get(index1)), CompletionKey(list.Get(index2)));
}

void TExCustomMemo::UpdateCompletionList(const std::string& token)
{
    TCompletionPopup& p = Popup();
    TAutoCompletionListBox& list = *p.List;
    list.Items().Clear();
    for (int i = 0; i < p.Candidates.Count(); ++i)
        if (token.empty() || Upper(CompletionNamePart(p.Candidates.Get(i))).rfind(token, 0) == 0)
            list.Items().AddObject(p.Candidates.Get(i), p.Candidates.GetObject(i));
    list.SetItemIndex(list.Items().Count() > 0 ? 0 : -1);
}

void TExCustomMemo::HideForm()
{
    if (!CompletionVisible()) return;
    completion_->List->OnKeyDown = nullptr;
    completion_->List->OnMouseUp = nullptr;
    completion_->TokenMode = false;
    completion_->Window->Hide();
    if (CanFocus()) SetFocus();
}

void TExCustomMemo::Hideauto()
{
    if (OnCancelAutoCompletion) OnCancelAutoCompletion(this);
    HideForm();
}

std::string TExCustomMemo::CompletionToken()
{
    TCompletionPopup& p = Popup();
    return Upper(p.TokenMode ? TokenAtXY(p.TokenX, p.TokenY) : FullWordAtCursor());
}

void TExCustomMemo::ListKeyDown(Word& key, TShiftState shift)
{
    const Word k = key;
    if ((k >= 16 && k <= 18) || (k >= 33 && k <= 40) || k == 160 || k == 161 || k == 164 || k == 165) return;
    key = 0;
    switch (k) {
    case VK_BACK:
        if (!ReadOnly) BackSpace();
        if (Popup().TokenMode && FullWordAtCursor().find('.') == std::string::npos)
            HideForm();
        else
            UpdateCompletionList(CompletionToken());
        return;
    case VK_TAB:
    case VK_ESCAPE:
        HideForm();
        ShowCaret(true);
        return;
    case VK_RETURN:
    case VK_SPACE:
    case '5': AcceptCompletion(true); return;
    case VK_DELETE:
        if (!ReadOnly) DeleteChar(curX_, curY_);
        return;
    default: break;
    }
    const bool typed = k == 45 || (k >= '0' && k <= '9') || (k >= 'A' && k <= 'Z') || (k >= 97 && k <= 122) || k == 189;
    if (!typed) {
        Hideauto();
        ShowCaret(true);
        return;
    }
    char ch = k == 189 ? '_' : char(k);
    if (!(shift & ssShift)) ch = char(std::tolower(static_cast<unsigned char>(ch)));
    if (!ReadOnly) InsertChar(ch);
    UpdateCompletionList(CompletionToken());
    Invalidate();
}

void TExCustomMemo::AcceptCompletion(bool keyboard)
{
    TCompletionPopup& p = Popup();
    const int index = p.List->ItemIndex();
    if (index < 0 || index >= p.List->Items().Count()) return;
    const std::string original = p.List->Items().Get(index);
    std::string entry = original;
    if (OnInsertAutoCompletionEntry) OnInsertAutoCompletionEntry(this, entry);
    bool brackets = false;
    if (entry == original) {
        entry = CompletionKey(original);
        if (keyboard && original.find('(') != std::string::npos) {
            entry += "()";
            brackets = true;
        }
    }
    // The range replaced: the word around the caret, or the token typed since token mode began.
    const std::string line = LineText(curY_);
    int from = std::min(curX_, int(line.size())), to = from;
    if (!p.TokenMode || entry.find('.') != std::string::npos) {
        auto bound = [&](char c) { return c == ' ' || (keyboard && (c == '(' || c == ')')); };
        while (from > 0 && !bound(line[std::size_t(from - 1)])) --from;
        while (to < int(line.size()) && !bound(line[std::size_t(to)])) ++to;
    } else {
        from = std::min(p.TokenX, from);
    }
    if (OnAutoCompletion) OnAutoCompletion(this);
    SetSelection(from, curY_, to, curY_);
    curX_ = to;
    SetSelText(entry);
    HideForm();
    ShowCaret(true);
    if (brackets) {
        SetCurX(curX_ - 1);
        PrepareShowHint();
    }
}

void TExCustomMemo::AutoCompleteTimer()
{
    TCompletionPopup& p = Popup();
    p.CompletionTimer->SetEnabled(false);
    if (!autoCompletion_->Active || !autoCompletion_->AutoDisplay || WordAtCursor().empty()) return;
    p.TokenMode = true;
    p.TokenX = curX_;
    p.TokenY = curY_;
    ShowForm();
}

void TExCustomMemo::StartCompletionTimer()
{
    if (!autoCompletion_->Active) return;
    TCompletionPopup& p = Popup();
    p.CompletionTimer->SetInterval(UINT(autoCompletion_->Delay()));
    p.CompletionTimer->SetEnabled(false);
    p.CompletionTimer->SetEnabled(true);
}

void TExCustomMemo::StopCompletionTimer()
{
    if (completion_) completion_->CompletionTimer->SetEnabled(false);
}

// ---------------------------------------------------------------- parameter hints

bool TExCustomMemo::SearchParameter(std::string& name, int& delimiters)
{
    const THintParameter& hp = styler_->HintParameter;
    std::string line = LineText(curY_);
    if (!caseSensitive_) line = Upper(line);
    delimiters = 0;
    int blanks = 0;
    int x = std::min(curX_, int(line.size())) - 1;
    for (; x >= 0; --x) {
        const char c = line[std::size_t(x)];
        if (c == hp.HintCharEnd) return false;
        if (c == hp.HintCharStart) break;
        if (c == hp.HintCharWriteDelimiter) ++delimiters;
        blanks = c == ' ' ? blanks + 1 : 0;
        if (blanks > 4) return false;
    }
    if (x < 0) return false;
    int from = x;
    while (from > 0 && line[std::size_t(from - 1)] != ' ' && line[std::size_t(from - 1)] != '(' &&
           line[std::size_t(from - 1)] != ')')
        --from;
    name = line.substr(std::size_t(from), std::size_t(x - from));
    return true;
}

bool TExCustomMemo::PrepareShowHint()
{
    if (!styler_ || curY_ < topLine_ || curY_ > topLine_ + GetVisible(1)) return false;
    std::string name;
    int count = 0;
    if (!SearchParameter(name, count) || name.empty()) {
        HideHint();
        return false;
    }
    const THintParameter& hp = styler_->HintParameter;
    std::string hint;
    bool handled = false;
    if (OnGetParameterHint) OnGetParameterHint(this, name, hint, handled);
    if (!handled) {
        hint.clear();
        for (int i = 0; i < hp.Parameters.Count(); ++i) {
            const std::string& sig = hp.Parameters.Get(i);
            if ((caseSensitive_ ? sig : Upper(sig)).rfind(name, 0) == 0) {
                hint = sig;
                break;
            }
        }
    }
    const std::size_t open = hint.find(hp.HintCharStart);
    if (hint.empty() || open == std::string::npos) {
        HideHint();
        return false;
    }
    const std::size_t close = hint.find(hp.HintCharEnd, open + 1);
    const std::string inner = hint.substr(open + 1, close == std::string::npos ? std::string::npos : close - open - 1);
    // Parameters with their closing delimiters; the current one after `count` delimiters.
    std::vector<std::string> params(1);
    for (char c : inner) {
        params.back() += c;
        if (c == hp.HintCharDelimiter || c == hp.HintCharWriteDelimiter) params.emplace_back();
    }
    TCompletionPopup& p = Popup();
    for (std::string& part : p.Parts) part.clear();
    for (int i = 0; i < int(params.size()); ++i) p.Parts[i < count ? 0 : i == count ? 1 : 2] += params[std::size_t(i)];
    p.BoldPart = p.Parts[1].empty() ? 1 : 2;
    p.HintTimer->SetEnabled(false);
    p.HintTimer->SetEnabled(true);
    TCanvas* c = Canvas();
    c->Font().Assign(*Font());
    int w = 6;
    for (int i = 0; i < 3; ++i) {
        c->Font().SetStyle(p.BoldPart == i + 1 ? TFontStyles(fsBold) : TFontStyles(0));
        w += c->TextWidth(p.Parts[i]);
    }
    c->Font().SetStyle(0);
    const int h = c->TextHeight("h,g_`") + 4;
    const TPoint at = PopupPoint(AutoHintParameterPosition == hpBelowCode ? 1 : -1);
    p.Hint->SetBounds(at.X, at.Y, w, h);
    p.Hint->ShowNoActivate();
    p.Hint->Invalidate();
    if (CanFocus()) SetFocus();
    return true;
}

void TExCustomMemo::HideHint()
{
    if (completion_) {
        completion_->HintTimer->SetEnabled(false);
        if (completion_->Hint->Shown()) completion_->Hint->ReleaseHandle();
    }
}

}  // namespace memo
