#include "platform/forms/FindDialog.h"

#include "platform/controls/Edit.h"
#include "platform/controls/StdCtrls.h"
#include "platform/forms/Forms.h"

namespace platform {

TFindDialog::TFindDialog(TComponent* AOwner) : TCommonDialog(AOwner) { Title = "Find"; }

TFindDialog::~TFindDialog() = default;

int TFindDialog::AddRow(int top, const std::string& label, TEdit*& edit)
{
    auto* l = new TLabel(form_);
    l->SetParent(form_);
    l->SetBounds(8, top + 3, 80, 16);
    l->SetCaption(label);
    edit = new TEdit(form_);
    edit->SetParent(form_);
    edit->SetBounds(92, top, 180, 22);
    return top + 28;
}

TButton* TFindDialog::AddButton(int top, const std::string& caption, TNotifyEvent onClick)
{
    auto* b = new TButton(form_);
    b->SetParent(form_);
    b->SetCaption(caption);
    b->SetBounds(284, top, 88, 24);
    b->OnClick = std::move(onClick);
    return b;
}

void TFindDialog::BuildForm()
{
    form_ = Construct<TForm>(this);
    form_->SetBorderStyle(bsDialog);
    form_->SetCaption(Title);
    form_->SetClientWidth(380);
    form_->SetClientHeight(110);
    int top = AddRow(8, "Fi&nd what:", findEdit_);
    wholeWord_ = new TCheckBox(form_);
    wholeWord_->SetParent(form_);
    wholeWord_->SetCaption("Match &whole word only");
    wholeWord_->SetBounds(8, top + 8, 170, 20);
    matchCase_ = new TCheckBox(form_);
    matchCase_->SetParent(form_);
    matchCase_->SetCaption("Match &case");
    matchCase_->SetBounds(8, top + 32, 170, 20);
    up_ = new TRadioButton(form_);
    up_->SetParent(form_);
    up_->SetCaption("&Up");
    up_->SetBounds(184, top + 8, 44, 20);
    down_ = new TRadioButton(form_);
    down_->SetParent(form_);
    down_->SetCaption("&Down");
    down_->SetBounds(230, top + 8, 54, 20);
    AddButton(8, "&Find Next", [this](TObject*) { FindNext(); })->SetDefault(true);
    TButton* cancel = AddButton(38, "Cancel", [this](TObject*) { CloseDialog(); });
    cancel->Cancel = true;
    form_->OnClose = [this](TObject*, TCloseAction& action) {
        action = caHide;
        ReadControls();
        options_ |= frDialogTerm;
        if (OnClose) OnClose(this);
    };
}

void TFindDialog::ShowOptions()
{
    if (!built_) return;
    findEdit_->SetText(findText_);
    wholeWord_->SetChecked(options_ & frWholeWord);
    matchCase_->SetChecked(options_ & frMatchCase);
    (options_ & frDown ? down_ : up_)->SetChecked(true);
    wholeWord_->SetVisible(!(options_ & frHideWholeWord));
    matchCase_->SetVisible(!(options_ & frHideMatchCase));
    up_->SetVisible(!(options_ & frHideUpDown));
    down_->SetVisible(!(options_ & frHideUpDown));
    wholeWord_->SetEnabled(!(options_ & frDisableWholeWord));
    matchCase_->SetEnabled(!(options_ & frDisableMatchCase));
    up_->SetEnabled(!(options_ & frDisableUpDown));
    down_->SetEnabled(!(options_ & frDisableUpDown));
}

void TFindDialog::ReadControls()
{
    if (!built_) return;
    findText_ = findEdit_->Text();
    auto set = [this](unsigned flag, bool on) { options_ = on ? options_ | flag : options_ & ~flag; };
    set(frWholeWord, wholeWord_->Checked());
    set(frMatchCase, matchCase_->Checked());
    set(frDown, down_->Checked());
}

bool TFindDialog::Execute()
{
    if (!built_) {
        BuildForm();
        built_ = true;
    }
    options_ &= ~(frFindNext | frReplace | frReplaceAll | frDialogTerm);
    ShowOptions();
    if (position_.X >= 0 && position_.Y >= 0) {
        form_->Position = poDesigned;
        form_->SetBounds(position_.X, position_.Y, form_->Width(), form_->Height());
    } else {
        form_->Position = poScreenCenter;
    }
    form_->Show();
    if (OnShow) OnShow(this);
    return true;
}

void TFindDialog::CloseDialog()
{
    if (built_ && form_->Visible())
        form_->Close();
}

bool TFindDialog::Visible() const { return built_ && form_->Visible(); }

std::string TFindDialog::FindText() const
{
    return built_ ? findEdit_->Text() : findText_;
}

void TFindDialog::SetFindText(const std::string& s)
{
    findText_ = s;
    if (built_) findEdit_->SetText(s);
}

TFindOptions TFindDialog::Options() const
{
    TFindOptions o = options_;
    if (built_) {
        o = (o & ~(frWholeWord | frMatchCase | frDown)) | (wholeWord_->Checked() ? frWholeWord : 0u) |
            (matchCase_->Checked() ? frMatchCase : 0u) | (down_->Checked() ? frDown : 0u);
    }
    return o;
}

void TFindDialog::SetOptions(TFindOptions o)
{
    options_ = o;
    ShowOptions();
}

void TFindDialog::SetPosition(TPoint p)
{
    position_ = p;
    if (built_) form_->SetBounds(p.X, p.Y, form_->Width(), form_->Height());
}

void TFindDialog::FindNext()
{
    ReadControls();
    options_ = (options_ | frFindNext) & ~(frReplace | frReplaceAll);
    if (OnFind) OnFind(this);
}

// ---------------------------------------------------------------- replace

TReplaceDialog::TReplaceDialog(TComponent* AOwner) : TFindDialog(AOwner) { Title = "Replace"; }

void TReplaceDialog::BuildForm()
{
    TFindDialog::BuildForm();
    form_->SetClientHeight(140);
    // The replacement row goes under the search row; the switches move down.
    for (TControl* c : {static_cast<TControl*>(wholeWord_), static_cast<TControl*>(matchCase_),
                        static_cast<TControl*>(up_), static_cast<TControl*>(down_)})
        c->SetTop(c->Top() + 28);
    AddRow(36, "Re&place with:", replaceEdit_);
    replaceEdit_->SetText(replaceText_);
    AddButton(68, "&Replace", [this](TObject*) { Replace(); });
    AddButton(98, "Replace &All", [this](TObject*) { ReplaceAll(); });
}

std::string TReplaceDialog::ReplaceText() const
{
    return built_ ? replaceEdit_->Text() : replaceText_;
}

void TReplaceDialog::SetReplaceText(const std::string& s)
{
    replaceText_ = s;
    if (built_) replaceEdit_->SetText(s);
}

void TReplaceDialog::Replace()
{
    ReadControls();
    if (built_) replaceText_ = replaceEdit_->Text();
    options_ = (options_ | frReplace) & ~(frFindNext | frReplaceAll);
    if (OnReplace) OnReplace(this);
}

void TReplaceDialog::ReplaceAll()
{
    ReadControls();
    if (built_) replaceText_ = replaceEdit_->Text();
    options_ = (options_ | frReplaceAll) & ~(frFindNext | frReplace);
    if (OnReplace) OnReplace(this);
}

}  // namespace platform
