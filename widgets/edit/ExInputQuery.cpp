#include "widgets/edit/ExInputQuery.h"

#include <cmath>
#include <cstdint>

#include "platform/controls/StdCtrls.h"
#include "platform/forms/Forms.h"

namespace edit {

using namespace platform;

namespace {

int MulDiv(int a, int b, int c) { return int(std::lround(double(a) * b / c)); }

}  // namespace

bool ExInputQuery(TExEditType EditType, const TQueryParams* params, const std::string& caption,
                  const std::string& prompt, std::string& value)
{
    TForm* form = Construct<TForm>(Application);
    struct Free {
        TForm* f;
        ~Free() { f->Free(); }
    } freeForm{form};
    form->SetBorderStyle(bsDialog);
    form->SetCaption(caption);
    form->Canvas()->Font().Assign(*form->Font());
    const int cx = form->Canvas()->TextWidth("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz") / 52;
    const int cy = form->Canvas()->TextHeight("A");
    form->SetClientWidth(MulDiv(180, cx, 4));
    form->SetClientHeight(MulDiv(63, cy, 8));
    form->Position = poScreenCenter;
    auto* label = new TLabel(form);
    label->SetParent(form);
    label->SetAutoSize(true);
    label->SetBounds(MulDiv(8, cx, 4), MulDiv(8, cy, 8), label->Width(), label->Height());
    label->SetCaption(prompt);
    auto* edit = new TExEdit(form);
    edit->SetParent(form);
    edit->SetBounds(label->Left(), MulDiv(19, cy, 8), MulDiv(164, cx, 4), edit->Height());
    edit->SetMaxLength(255);
    edit->SetText(value);
    edit->SelectAll();
    edit->SetEditType(EditType);
    if (params) {
        edit->SetPrefix(params->Prefix);
        edit->SetSuffix(params->Suffix);
        edit->SetPrecision(std::int16_t(params->Precision));
        edit->LengthLimit = std::int16_t(params->LengthLimit);
        edit->SetFlat(params->Flat);
        if (params->Flat) edit->SetHeight(edit->Height() - 4);
    }
    const int top = MulDiv(41, cy, 8), w = MulDiv(50, cx, 4), h = MulDiv(14, cy, 8);
    auto* ok = new TButton(form);
    ok->SetParent(form);
    ok->SetCaption("OK");
    ok->ModalResult = mrOk;
    ok->SetDefault(true);
    ok->SetBounds(MulDiv(38, cx, 4), top, w, h);
    auto* cancel = new TButton(form);
    cancel->SetParent(form);
    cancel->SetCaption("Cancel");
    cancel->ModalResult = mrCancel;
    cancel->Cancel = true;
    cancel->SetBounds(MulDiv(92, cx, 4), top, w, h);
    form->SetActiveControl(edit);
    if (form->ShowModal() != mrOk) return false;
    value = edit->GetText();
    return true;
}

}  // namespace edit
