#include "widgets/memo/MemoSource.h"

#include <algorithm>

#include "base/Exception.h"
#include "base/StringList.h"
#include "widgets/memo/MemoStrings.h"
#include "widgets/memo/MemoStyler.h"
#include "widgets/memo/UndoList.h"

namespace memo {

using namespace platform;

TExMemoSource::TExMemoSource(TComponent* owner)
    : TComponent(owner), lines_(std::make_unique<TExMemoStrings>()), undo_(std::make_unique<TExUndoList>())
{
}

TExMemoSource::~TExMemoSource()
{
    if (memo_ && memo_->MemoSource() == this) memo_->SetMemoSource(nullptr);
    Unlink();
}

void TExMemoSource::Unlink()
{
    if (styler_ && styler_->AllStyles().Memo() == memo_) styler_->AllStyles().SetMemo(nullptr);
    lines_->SetMemo(nullptr);
    lines_->OnChange = nullptr;
    undo_->SetOwner(nullptr);
}

void TExMemoSource::SetMemo(TExCustomMemo* e)
{
    if (e == memo_) return;
    // The editor's MemoSource setter detaches the source it shows and comes back here.
    if (e && e->MemoSource() != this) {
        e->SetMemoSource(this);
        return;
    }
    if (TExCustomMemo* d = memo_) {
        readOnly_ = d->ReadOnly;
        modified_ = d->Modified();
        d->GetMemoState(state_);
        bookmarks_.clear();
        for (int i = 0; i < 10; ++i) bookmarks_.push_back(d->GetBookmarks(i));
        Unlink();
        memo_ = nullptr;
        d->AttachDocument(nullptr, nullptr, nullptr);
        if (d->MemoSource() == this) d->SetMemoSource(nullptr);
        d->RemoveFreeNotification(this);
        d->Invalidate();
    }
    memo_ = e;
    if (!e) {
        Unlink();
        return;
    }
    e->FreeNotification(this);
    lines_->SetMemo(e);
    lines_->OnChange = [e] { e->LinesChanged(); };
    e->AttachDocument(lines_.get(), undo_.get(), styler_);
    e->ResetMemoState(state_);
    if (bookmarks_.size() == 10)
        for (int i = 0; i < 10; ++i) e->SetBookmarks(i, bookmarks_[std::size_t(i)]);
    undo_->SetOwner(e);
    e->ReadOnly = readOnly_;
    e->Invalidate();
}

void TExMemoSource::SetLines(const base::TStrings& strings)
{
    lines_->Clear();
    for (int i = 0; i < strings.Count(); ++i) lines_->Add(strings.Get(i));
}

void TExMemoSource::SetSyntaxStyler(TExCustomMemoStyler* s)
{
    if (s == styler_) return;
    styler_ = s;
    if (s) s->FreeNotification(this);
    if (memo_) memo_->AttachDocument(lines_.get(), undo_.get(), styler_);
}

void TExMemoSource::SetUndoList(const TExUndoList& list)
{
    undo_->Clear();
    // Copies, so that each entry has one owner: merging or dropping an entry here never
    // touches the given list's. Oldest first, so the newest stays on top.
    for (int i = list.Count() - 1; i >= 0; --i) undo_->Add(list.Get(i)->Clone());
}

bool TExMemoSource::Modified() const { return memo_ ? memo_->Modified() : undo_->Count() > 0; }

void TExMemoSource::SetModified(bool v)
{
    if (memo_) memo_->SetModified(v);
}

bool TExMemoSource::ReadOnly() const { return memo_ ? memo_->ReadOnly : readOnly_; }

void TExMemoSource::SetReadOnly(bool v)
{
    if (memo_)
        memo_->ReadOnly = v;
    else
        readOnly_ = v;
}

void TExMemoSource::Notification(TComponent* c, TOperation op)
{
    TComponent::Notification(c, op);
    if (op != opRemove || !c) return;
    if (c == static_cast<TComponent*>(styler_)) {
        styler_ = nullptr;
        if (memo_) {
            memo_->AttachDocument(lines_.get(), undo_.get(), nullptr);
            memo_->Invalidate();
        }
    }
    if (c == static_cast<TComponent*>(memo_)) {
        // The editor is going away: only the links go.
        Unlink();
        memo_ = nullptr;
    }
}

// ---------------------------------------------------------------- the editor's side

void TExCustomMemo::AttachDocument(TExMemoStrings* lines, TExUndoList* undo, TExCustomMemoStyler* styler)
{
    const bool own = lines_ == ownLines_.get();
    if (styler_ && styler_->AllStyles().Memo() == this) styler_->AllStyles().SetMemo(nullptr);
    if (lines) {
        if (own) ownStyler_ = styler_;
        lines_ = lines;
        undo_ = undo;
        styler_ = styler;
    } else {
        lines_ = ownLines_.get();
        undo_ = ownUndo_.get();
        styler_ = own ? styler_ : ownStyler_;
        ownStyler_ = nullptr;
    }
    if (styler_) styler_->AllStyles().SetMemo(this);
    useStyler_ = styler_ != nullptr;
    delimitersCached_ = false;
    upStyleLine_ = -1;
    lines_->DropStylesFrom(0);
    maxLength_ = lines_->MaxLength();
    ResizeScrollBars(false);
    Invalidate();
}

void TExCustomMemo::SetMemoSource(TExMemoSource* s)
{
    if (s == source_) return;
    TExMemoSource* old = source_;
    source_ = s;
    if (old) {
        old->SetMemo(nullptr);
        old->RemoveFreeNotification(this);
    }
    if (s) {
        s->FreeNotification(this);
        s->SetMemo(this);
    }
    maxLength_ = lines_->MaxLength();
    ResizeScrollBars(false);
}

void TExCustomMemo::SetMemoChecker(TExMemoChecker* c)
{
    if (c == checker_) return;
    if (checker_) checker_->RemoveFreeNotification(this);
    checker_ = c;
    if (c) {
        c->SetMemo(this);
        c->FreeNotification(this);
    }
}

// ---------------------------------------------------------------- styler list

void TExCustomMemo::SearchForStylers()
{
    TComponent* owner = Owner();
    if (!owner) return;
    std::vector<TExCustomMemoStyler*>& list = stylerList_->Stylers();
    for (int i = 0; i < owner->ComponentCount(); ++i)
        if (auto* s = dynamic_cast<TExCustomMemoStyler*>(owner->Components(i));
            s && std::find(list.begin(), list.end(), s) == list.end()) {
            list.push_back(s);
            s->FreeNotification(stylerList_);
        }
}

void TExStylerList::Notification(TComponent* c, TOperation op)
{
    TComponent::Notification(c, op);
    if (!c) return;
    // A component being freed no longer casts to its class: compare it as a component.
    auto it = std::find_if(stylers_.begin(), stylers_.end(),
                           [c](TExCustomMemoStyler* s) { return static_cast<TComponent*>(s) == c; });
    if (op == opRemove && it != stylers_.end()) stylers_.erase(it);
    auto* s = op == opInsert ? dynamic_cast<TExCustomMemoStyler*>(c) : nullptr;
    if (s && it == stylers_.end()) {
        stylers_.push_back(s);
        s->FreeNotification(this);
    }
}

// ---------------------------------------------------------------- checkers

TExMemoChecker::~TExMemoChecker()
{
    if (memo_ && memo_->MemoChecker() == this) memo_->SetMemoChecker(nullptr);
}

void TExMemoChecker::CheckLine(int lineNumber)
{
    if (memo_) memo_->ClearLineErrors(lineNumber);
}

void TExMemoChecker::CheckWord(int, int, const std::string&) {}

void TExMemoChecker::CorrectLine(int) {}

void TExMemoChecker::CorrectWord(int, int, std::string&) {}

void TExMemoChecker::CheckAllLines()
{
    if (!memo_) throw base::EInvalidOperation("No memo assigned.");
    for (int i = 0; i < memo_->Lines()->Count(); ++i) CheckLine(i);
}

void TExMemoChecker::CorrectAllLines()
{
    if (!memo_) throw base::EInvalidOperation("No memo assigned.");
    for (int i = 0; i < memo_->Lines()->Count(); ++i) CorrectLine(i);
}

std::string TExMemoChecker::ReplaceOnce(const std::string& s, const std::string& oldPattern,
                                        const std::string& newPattern)
{
    const std::size_t at = oldPattern.empty() ? std::string::npos : s.find(oldPattern);
    if (at == std::string::npos) return s;
    std::string out = s;
    out.replace(at, oldPattern.size(), newPattern);
    return out;
}

TExMemoCapitalChecker::TExMemoCapitalChecker(TComponent* owner) : TExMemoChecker(owner)
{
    AutoCorrectType = acLineCorrect;
}

void TExMemoCapitalChecker::CorrectLine(int lineNumber)
{
    if (!Memo() || lineNumber < 0 || lineNumber >= Memo()->Lines()->Count()) return;
    std::string s = Memo()->Lines()->Get(lineNumber);
    char p1 = ' ', p2 = '.';
    for (char& c : s) {
        if (p1 == ' ' && (p2 == '.' || p2 == '!' || p2 == '?') && c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
        p2 = p1;
        p1 = c;
    }
    Memo()->Lines()->Put(lineNumber, s);
}

}  // namespace memo
