#include "widgets/memo/MemoStrings.h"

#include <algorithm>
#include <cstdlib>

#include "base/Exception.h"
#include "base/FileUtils.h"
#include "base/StrUtils.h"
#include "widgets/memo/ExMemo.h"
#include "base/ScopeGuard.h"

namespace memo {

namespace {

[[noreturn]] void IndexError(int index)
{
    throw base::EStringListError(base::Format("List index out of bounds (%d)", index));
}

}  // namespace

TExMemoStrings::TExMemoStrings(TExCustomMemo* memo) : memo_(memo) {}

TExMemoStrings::~TExMemoStrings() = default;

std::string TExMemoStrings::ExpandTabs(const std::string& s) const
{
    if (!memo_ || s.find('\t') == std::string::npos) return s;
    const std::string blanks(std::size_t(std::max(0, memo_->TabSize())), ' ');
    std::string out;
    out.reserve(s.size() + blanks.size() * 4);
    for (char c : s) {
        if (c == '\t')
            out += blanks;
        else
            out.push_back(c);
    }
    return out;
}

void TExMemoStrings::Changed()
{
    if (UpdateCount() == 0 && OnChange) OnChange();
}

void TExMemoStrings::SetUpdateState(bool updating)
{
    if (!updating) Changed();
}

void TExMemoStrings::Grew(int length)
{
    if (std::size_t(length) >= lengthCount_.size()) lengthCount_.resize(std::size_t(length) + 1, 0);
    ++lengthCount_[std::size_t(length)];
    maxLen_ = std::max(maxLen_, length);
}

void TExMemoStrings::Shrank(int length)
{
    if (std::size_t(length) >= lengthCount_.size() || lengthCount_[std::size_t(length)] == 0) return;
    --lengthCount_[std::size_t(length)];
    // The longest line went: the next longer length down is the new longest.
    while (maxLen_ > 0 && lengthCount_[std::size_t(maxLen_)] == 0) --maxLen_;
}

void TExMemoStrings::ResetMax()
{
    lengthCount_.assign(1, 0);
    maxLen_ = 0;
    wrappedCount_ = 0;
    for (const Line& l : lines_) {
        Grew(int(l.text.size()));
        if (l.wrapped) ++wrappedCount_;
    }
    askedIndex_ = -1;
}

void TExMemoStrings::SetWrapped(int index, bool v)
{
    if (index < 0 || index >= Count() || lines_[std::size_t(index)].wrapped == v) return;
    lines_[std::size_t(index)].wrapped = v;
    wrappedCount_ += v ? 1 : -1;
    askedIndex_ = -1;
}

int TExMemoStrings::UnwrappedBefore(int index) const
{
    index = std::clamp(index, 0, Count());
    auto wrappedIn = [this](int from, int to) {
        int n = 0;
        for (int i = from; i < to; ++i) n += lines_[std::size_t(i)].wrapped;
        return n;
    };
    int unwrapped;
    const int fromEnd = Count() - index;
    if (askedIndex_ >= 0 && std::abs(index - askedIndex_) < std::min(index, fromEnd)) {
        unwrapped = index >= askedIndex_ ? askedUnwrapped_ + (index - askedIndex_) - wrappedIn(askedIndex_, index)
                                         : askedUnwrapped_ - (askedIndex_ - index) + wrappedIn(index, askedIndex_);
    } else if (index <= fromEnd) {
        unwrapped = index - wrappedIn(0, index);
    } else {
        unwrapped = index - (wrappedCount_ - wrappedIn(index, Count()));
    }
    askedIndex_ = index;
    askedUnwrapped_ = unwrapped;
    return unwrapped;
}

void TExMemoStrings::Touched(int index)
{
    // A line's start state depends on the lines above it, so a change stales those below.
    DropStylesFrom(index);
    if (memo_) memo_->LinesTouched(index);
}

void TExMemoStrings::DropStylesFrom(int index)
{
    for (std::size_t i = std::size_t(std::max(0, index)); i < lines_.size(); ++i)
        if (lines_[i].prop) lines_[i].prop->FHasStyle = false;
}

const std::string& TExMemoStrings::Get(int index) const
{
    if (index < 0 || index >= Count()) IndexError(index);
    return lines_[std::size_t(index)].text;
}

void TExMemoStrings::InsertLine(int index, std::string text)
{
    const int len = int(text.size());
    lines_.insert(lines_.begin() + index, Line{std::move(text), nullptr, nullptr, false});
    if (index <= askedIndex_) askedIndex_ = -1;
    Grew(len);
    Touched(index);
    Changed();
}

int TExMemoStrings::DoAdd(const std::string& s)
{
    const int index = Count();
    InsertLine(index, s);
    return index;
}

int TExMemoStrings::Add(const std::string& s)
{
    const int index = Count();
    InsertLine(index, ExpandTabs(s));
    if (memo_) memo_->LinesAdded(index);
    return index;
}

void TExMemoStrings::DoInsert(int index, const std::string& s)
{
    if (index < 0 || index > Count()) IndexError(index);
    InsertLine(index, ExpandTabs(s));
}

void TExMemoStrings::Insert(int index, const std::string& s)
{
    if (!memo_) {
        DoInsert(index, s);
        return;
    }
    memo_->ClearSelection();
    DoInsert(index, s);
    memo_->RevalidateCaret();
    memo_->Invalidate();
}

namespace {

// True when a and b differ only in blanks at their ends, as the caret's padding and
// trimming make them.
bool SameButTrailingBlanks(const std::string& a, const std::string& b)
{
    const std::size_t n = std::min(a.size(), b.size());
    if (a.compare(0, n, b, 0, n) != 0) return false;
    const std::string& longer = a.size() > b.size() ? a : b;
    return longer.find_first_not_of(' ', n) == std::string::npos;
}

}  // namespace

void TExMemoStrings::DoPut(int index, const std::string& s)
{
    if (index < 0 || index >= Count()) IndexError(index);
    Line& l = lines_[std::size_t(index)];
    const int old = int(l.text.size());
    std::string text = ExpandTabs(s);
    // A line whose scan ends as it did keeps the style states below it.
    const bool keepStyles = memo_ && SameButTrailingBlanks(l.text, text) &&
                            (l.text == text || memo_->LineEndsAsBefore(index, l.text, text));
    std::swap(l.text, text);
    Shrank(old);
    Grew(int(l.text.size()));
    if (!keepStyles) Touched(index);
    Changed();
}

void TExMemoStrings::Put(int index, const std::string& s) { DoPut(index, s); }

void* TExMemoStrings::GetObject(int index) const
{
    if (index < 0 || index >= Count()) return nullptr;
    const Line& l = lines_[std::size_t(index)];
    return l.prop ? l.prop->FObject : l.object;
}

void TExMemoStrings::PutObject(int index, void* obj)
{
    if (index < 0 || index >= Count()) return;
    Line& l = lines_[std::size_t(index)];
    if (l.prop)
        l.prop->FObject = obj;
    else
        l.object = obj;
}

void TExMemoStrings::DoDelete(int index)
{
    if (index < 0 || index >= Count()) return;
    const int old = int(lines_[std::size_t(index)].text.size());
    if (lines_[std::size_t(index)].wrapped) --wrappedCount_;
    if (index < askedIndex_) askedIndex_ = -1;
    lines_.erase(lines_.begin() + index);
    Shrank(old);
    Touched(index);
    Changed();
}

void TExMemoStrings::Delete(int index)
{
    if (index < 0 || index >= Count()) return;
    if (!memo_ || deleting_) {
        DoDelete(index);
        return;
    }
    // Through the editor, so that the deletion can be undone.
    deleting_ = true;
    base::ScopeExit restore([&] { deleting_ = false; });
    memo_->DeleteStoreLine(index);
}

void TExMemoStrings::ClearStrings()
{
    lines_.clear();
    ResetMax();
    Touched(0);
    Changed();
}

void TExMemoStrings::Clear()
{
    ClearLinesProp();
    lines_.clear();
    ResetMax();
    // The editor's caret goes home before anyone hears of the change.
    if (memo_) memo_->LinesCleared();
    Touched(0);
    Changed();
}

void TExMemoStrings::Assign(const base::TStrings& source)
{
    if (&source == this) return;
    if (!memo_) {
        base::TStrings::Assign(source);
        return;
    }
    memo_->SetLines(source);
}

std::vector<TExMemoStrings::TWorkLine> TExMemoStrings::WorkLines() const { return lines_; }

void TExMemoStrings::AssignEx(std::vector<TWorkLine> lines)
{
    BeginUpdate();
    lines_ = std::move(lines);
    ResetMax();
    Touched(0);
    EndUpdate();
}

bool TExMemoStrings::LoadFromFile(const std::string& path)
{
    std::string data;
    if (!base::ReadFile(path, data)) throw base::EInOutError("Cannot open file \"" + path + "\"");
    base::TStringList loaded;
    loaded.SetText(data);
    if (!memo_) {
        base::TStrings::Assign(loaded);
        return true;
    }
    memo_->BeforeLoad();
    ClearLinesProp();
    lines_.clear();
    for (int i = 0; i < loaded.Count(); ++i) lines_.push_back(Line{ExpandTabs(loaded.Get(i)), nullptr, nullptr, false});
    ResetMax();
    Touched(0);
    memo_->AfterLoad();
    return true;
}

void TExMemoStrings::SaveToFile(const std::string& path)
{
    const bool wrapped = memo_ && memo_->WordWrap() != wwNone;
    if (wrapped) memo_->UndoWrap();
    base::ScopeExit restore([&] { if (wrapped) memo_->DoWrap(); });
    base::TStrings::SaveToFile(path);
}

TLineProp* TExMemoStrings::CreateProp(int index)
{
    if (index < 0 || index >= Count()) IndexError(index);
    Line& l = lines_[std::size_t(index)];
    auto p = std::make_unique<TLineProp>();
    p->FObject = l.prop ? l.prop->FObject : l.object;
    l.prop = p.get();
    l.object = nullptr;
    linesProp_.push_back(std::move(p));
    return l.prop;
}

TLineProp* TExMemoStrings::GetLineProp(int index) const
{
    if (index < 0 || index >= Count()) return nullptr;
    return lines_[std::size_t(index)].prop;
}

void TExMemoStrings::SetLineProp(int index, TLineProp* prop)
{
    if (index < 0 || index >= Count()) return;
    lines_[std::size_t(index)].prop = prop;
}

void TExMemoStrings::RestoreObject(int index, TLineProp* prop)
{
    if (index < 0 || index >= Count()) return;
    lines_[std::size_t(index)].prop = prop;
}

void TExMemoStrings::ClearLinesProp()
{
    for (Line& l : lines_) {
        if (l.prop) l.object = l.prop->FObject;
        l.prop = nullptr;
    }
    linesProp_.clear();
}

int TExMemoStrings::GetRealCount() const
{
    if (lines_.empty() || (lines_.size() == 1 && lines_[0].text.empty())) return 0;
    return Count();
}

}  // namespace memo
