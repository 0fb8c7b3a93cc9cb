// The typed edit's auto-completion: a list under the edit offering the entries that
// begin with what was typed, and the history of entered values.
#include <algorithm>

#include "base/StrUtils.h"
#include "base/StringList.h"
#include "platform/controls/ListBox.h"
#include "platform/forms/Forms.h"
#include "platform/graphics/GDI.h"
#include "widgets/edit/ExEdit.h"

namespace edit {

using namespace platform;

namespace {

constexpr int kRow = 12;

}  // namespace

TLookupSettings::TLookupSettings()
    : DisplayList(std::make_unique<base::TStringList>()), ValueList(std::make_unique<base::TStringList>())
{
}

TLookupSettings::~TLookupSettings() = default;

// The drop-down: a window without activation holding the list.
class TListHintWindow : public THintWindow {
public:
    explicit TListHintWindow(TExEdit* edit) : THintWindow(edit), edit_(edit)
    {
        list_ = new TListBox(this);
        list_->SetParent(this);
        list_->SetAlign(alClient);
        list_->SetItemHeight(kRow);
        list_->SetBorderStyle(lbsNone);
        list_->OnKeyPress = [this](TObject*, char& k) {
            if (k == 13) edit_->DoneLookup();
        };
        list_->OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int, int) { edit_->DoneLookup(); };
    }
    TListBox* ListControl() const { return list_; }
    void Paint() override {}  // the list covers it
    // The bottom-right ten pixels size the window; elsewhere nothing of it is hit.
    void WMNCHitTest(TMessage& m) override
    {
        const TPoint p = ScreenToClient(Point(m.LParamLo(), m.LParamHi()));
        const int f = FrameWidth();
        m.Result = p.X + f > Width() - 10 && p.Y + f > Height() - 10 ? HTBOTTOMRIGHT : HTNOWHERE;
    }

private:
    TExEdit* edit_;
    TListBox* list_;
};

TCustomListBox* TExEdit::LookupList() const { return lookupWindow_ ? lookupWindow_->ListControl() : nullptr; }

bool TExEdit::LookupShown() const { return lookupWindow_ && lookupWindow_->Visible(); }

void TExEdit::HideLookup()
{
    if (lookupWindow_) lookupWindow_->Hide();
}

void TExEdit::UpdateLookup()
{
    if (!Lookup.Enabled) return;
    const std::string v = GetText();
    std::string word = v;
    lookupStart_ = 0;
    if (Lookup.Multi) {
        const std::size_t sep = v.rfind(Lookup.Separator);
        if (sep != std::string::npos) {
            word = v.substr(sep + 1);
            lookupStart_ = int(sep) + 1;
        }
    }
    if (int(word.size()) < Lookup.NumChars()) {
        HideLookup();
        return;
    }
    if (!lookupWindow_) lookupWindow_ = new TListHintWindow(this);
    TListBox* list = lookupWindow_->ListControl();
    const bool wasShown = lookupWindow_->Visible();
    const TPoint origin = ClientToScreen(Point(0, 0));
    const int left = origin.X + PosFromChar(ValueStart() + lookupStart_).X + 8;
    const int top = origin.Y + Height() - 6;
    int height = Lookup.DisplayCount * kRow + 4;
    list->SetColor(Lookup.Color);
    list->Font()->SetName("Arial");
    list->Font()->SetSize(8);
    list->Items().Clear();
    const std::string key = Lookup.CaseSensitive ? word : base::UpperCase(word);
    std::vector<std::pair<std::string, int>> found;
    for (int i = 0; i < Lookup.DisplayList->Count(); ++i) {
        const std::string& entry = Lookup.DisplayList->Get(i);
        const std::string e = Lookup.CaseSensitive ? entry : base::UpperCase(entry);
        if (e.compare(0, key.size(), key) == 0) found.emplace_back(entry, i);
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const auto& a, const auto& b) { return base::CompareText(a.first, b.first) < 0; });
    for (const auto& f : found) {
        const int at = list->Items().Add(f.first);
        list->Items().PutObject(at, reinterpret_cast<void*>(std::intptr_t(f.second)));
    }
    const int n = int(found.size());
    if (n > 0) list->SetItemIndex(0);
    if (n < Lookup.DisplayCount) height = n * kRow + 4;
    int width = lookupWindow_->Width();
    if (n > 0 && !wasShown) {
        lookupWindow_->Canvas()->Font().Assign(*list->Font());
        width = 50;
        for (const auto& f : found) width = std::max(width, lookupWindow_->Canvas()->TextWidth(f.first));
        if (n > Lookup.DisplayCount) width += GetSystemMetrics(SM_CXVSCROLL);
        width += 10;
    }
    lookupWindow_->SetBounds(left, top, width, height);
    if (n > 0) lookupWindow_->ShowNoActivate();
    else lookupWindow_->Hide();
}

void TExEdit::DoneLookup()
{
    if (!lookupWindow_) return;
    TListBox* list = lookupWindow_->ListControl();
    const int sel = list->ItemIndex();
    HideLookup();
    if (CanFocus() && !Focused()) SetFocus();
    if (sel < 0) return;
    const int k = int(reinterpret_cast<std::intptr_t>(list->Items().GetObject(sel)));
    std::string value = k < Lookup.ValueList->Count() ? Lookup.ValueList->Get(k) : list->Items().Get(sel);
    if (OnLookupSelect) OnLookupSelect(this, value);
    if (OnLookupIndexSelect) OnLookupIndexSelect(this, k, value);
    if (Lookup.Multi) {
        value += Lookup.Separator;
        const std::string v = GetText();
        const std::size_t sep = v.rfind(Lookup.Separator);
        SetText((sep == std::string::npos ? std::string() : v.substr(0, sep + 1)) + value);
        SetSelStart(ValueStart() + int(GetText().size()));
    } else {
        SetText(value);
        SelectAll();
    }
}

// Keys for the shown list; true when the key was used.
bool TExEdit::LookupKey(Word key)
{
    if (!LookupShown()) return false;
    TListBox* list = lookupWindow_->ListControl();
    const int n = list->Items().Count(), i = list->ItemIndex(), page = Lookup.DisplayCount;
    switch (key) {
    case VK_RETURN: DoneLookup(); return true;
    case VK_HOME: list->SetItemIndex(0); return true;
    case VK_END: list->SetItemIndex(n - 1); return true;
    case VK_NEXT: list->SetItemIndex(std::min(n - 1, i + page)); return true;
    case VK_PRIOR: list->SetItemIndex(i > page ? i - page : 0); return true;
    case VK_UP: list->SetItemIndex(std::max(0, i - 1)); return true;
    case VK_DOWN: list->SetItemIndex(std::min(n - 1, i + 1)); return true;
    default: return false;
    }
}

void TExEdit::AddHistory()
{
    if (!Lookup.Enabled || !Lookup.History) return;
    const std::string v = base::Trim(GetText());
    if (!v.empty() && Lookup.DisplayList->IndexOf(v) < 0) Lookup.DisplayList->Add(v);
}

}  // namespace edit
