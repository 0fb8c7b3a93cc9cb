#include "widgets/memo/MemoFind.h"

#include "base/Exception.h"
#include "platform/forms/Dialogs.h"
#include "platform/forms/Forms.h"
#include "widgets/memo/ExMemo.h"
#include "widgets/memo/UndoList.h"
#include "base/ScopeGuard.h"

namespace memo {

using namespace platform;

TExMemoFindDialog::TExMemoFindDialog(TComponent* owner) : TExMemoFindDialog(owner, new TFindDialog(nullptr)) {}

TExMemoFindDialog::TExMemoFindDialog(TComponent* owner, TFindDialog* dialog) : TComponent(owner), dialog_(dialog)
{
    InsertComponent(dialog_);
    dialog_->OnFind = [this](TObject*) { Find(); };
    dialog_->OnClose = [this](TObject*) { Close(); };
}

TExMemoFindDialog::~TExMemoFindDialog()
{
    if (memo_) memo_->RemoveFreeNotification(this);
}

std::string TExMemoFindDialog::FindText() const { return dialog_->FindText(); }

void TExMemoFindDialog::SetExMemo(TExCustomMemo* m)
{
    if (m == memo_) return;
    if (memo_) memo_->RemoveFreeNotification(this);
    memo_ = m;
    if (m) m->FreeNotification(this);
}

TFindOptions TExMemoFindDialog::GetFindOptions() const { return dialog_->Options(); }

void TExMemoFindDialog::Notification(TComponent* c, TOperation op)
{
    TComponent::Notification(c, op);
    if (op == opRemove && c && c == static_cast<TComponent*>(memo_)) memo_ = nullptr;
}

bool TExMemoFindDialog::Execute()
{
    if (!memo_) throw base::Exception("No memo assigned.");
    memo_->SetSelection(0, 0, 0, 0);
    memo_->FindDialogOpen = true;
    dialog_->SetFindText(findText_);
    TPoint p = memo_->ClientToScreen({memo_->Left(), memo_->Top()});
    if (p.X < 0 || p.Y < 0 || p.X >= Screen->Width() || p.Y >= Screen->Height()) p = {0, 0};
    dialog_->SetPosition(p);
    return dialog_->Execute();
}

void TExMemoFindDialog::Close()
{
    if (memo_) memo_->FindDialogOpen = false;
}

namespace {

// The message with its one "%s" filled in; any other specifier is refused, never passed on.
std::string FormatOne(const std::string& format, const std::string& arg)
{
    std::string out;
    bool used = false;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') {
            out += format[i];
            continue;
        }
        const char next = i + 1 < format.size() ? format[i + 1] : 0;
        if (next == '%') {
            out += '%';
        } else if (next == 's' && !used) {
            out += arg;
            used = true;
        } else {
            throw base::EConvertError("Format '" + format + "' invalid or incompatible with argument");
        }
        ++i;
    }
    return out;
}

}  // namespace

void TExMemoFindDialog::NotFound()
{
    if (DisplayMessage) MessageDlg(FormatOne(NotFoundMessage, dialog_->FindText()), mtInformation, mbOK);
}

void TExMemoFindDialog::Done()
{
    if (OnFindDone) OnFindDone(this);
}

void TExMemoFindDialog::Find()
{
    if (!memo_) return;
    if (memo_->FindText(dialog_->FindText(), dialog_->Options()) == -1) {
        NotFound();
        Done();
    } else if (memo_->CanFocus()) {
        memo_->SetFocus();
    }
}

// ---------------------------------------------------------------- replace

TExMemoFindReplaceDialog::TExMemoFindReplaceDialog(TComponent* owner)
    : TExMemoFindDialog(owner, new TReplaceDialog(nullptr))
{
    NotFoundMessage = "Text not found";
    static_cast<TReplaceDialog*>(dialog_)->OnReplace = [this](TObject*) { Replace(); };
}

std::string TExMemoFindReplaceDialog::ReplaceText() const
{
    return static_cast<TReplaceDialog*>(dialog_)->ReplaceText();
}

bool TExMemoFindReplaceDialog::Execute()
{
    static_cast<TReplaceDialog*>(dialog_)->SetReplaceText(replaceText_);
    return TExMemoFindDialog::Execute();
}

void TExMemoFindReplaceDialog::Done()
{
    if (OnReplaceDone) OnReplaceDone(this);
}

void TExMemoFindReplaceDialog::Replace()
{
    if (!memo_) return;
    const std::string find = dialog_->FindText(), repl = ReplaceText();
    const TFindOptions options = dialog_->Options();
    if (options & frReplaceAll) {
        // One undo step for the whole run.
        memo_->UndoList()->BeginGroup();
        base::ScopeExit restore([&] { memo_->UndoList()->EndGroup(); });
        int last = -1;
        for (;;) {
            const int at = memo_->FindText(find, options);
            if (at == last) break;
            last = at;
            if (at < 0) break;
            memo_->SetSelText(repl);
        }
    } else {
        if (memo_->HasSelection()) memo_->SetSelText(repl);
        if (memo_->FindText(find, options) == -1) {
            memo_->Invalidate();
            NotFound();
        }
    }
    memo_->Invalidate();
}

// ---------------------------------------------------------------- last occurrence

int LastOccurrence(const std::string& pattern, const std::string& s)
{
    if (s.size() < pattern.size()) return 0;
    if (s == pattern) return 1;
    if (pattern.empty()) return 0;
    const std::size_t p = s.rfind(pattern);
    return p == std::string::npos ? 0 : int(p) + 1;
}

}  // namespace memo
