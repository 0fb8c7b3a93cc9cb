// Laying a cell's editor control over the cell, through what the grid gives the setup.
#include "widgets/grid/GridEditorSetup.h"

#include <algorithm>
#include <vector>

#include "base/DateTime.h"
#include "base/Locale.h"
#include "base/StrUtils.h"
#include "platform/forms/Forms.h"
#include "widgets/grid/ExUtil.h"
#include "widgets/grid/GridEditLink.h"
#include "widgets/grid/GridEditors.h"
#include "widgets/grid/WideStrings.h"

using namespace platform;

namespace grid {

TEditorSetup::TEditorSetup(TEditorHost& host, int ACol, int ARow) : g_(host), rules_(host.EditorRules())
{
    g_.EditorCell(ACol, ARow, cell_);
    box_ = Rect(cell_.box.Left, cell_.box.Top, cell_.box.Right - 1, cell_.box.Bottom - 1);
    g_.SetActiveControl(nullptr);
}

void TEditorSetup::Show()
{
    const TEditorType t = cell_.type;
    if (IsSpinType(t)) ShowSpin();
    else if (IsComboType(t) || IsUniComboType(t)) ShowCombo();
    else if (IsEditBtnType(t)) ShowEditBtn();
    else if (IsDateType(t)) ShowDatePicker();
    else if (t == edUnitEditBtn) ShowUnitEditBtn();
    else if (t == edCheckBox) {
        ShowCheckBox();
        return;  // no character, and not the active control
    } else if (t == edButton) ShowButton();
    else if (t == edUniEdit) ShowUniEdit();
    else if (t == edRichEdit) ShowRichEdit();
    else if (t == edCustom && g_.Link()) ShowLink();
    Finish();
}

void TEditorSetup::Place(TWinControl* c)
{
    c->SetBounds(box_.Left, box_.Top, box_.Width(), box_.Height());
    c->SetColor(cell_.color);
    c->Show();
    c->SetEnabled(true);
}

void TEditorSetup::ShowSpin()
{
    TGridSpin* s = g_.Spin();
    Place(s);
    s->ExcelStyleDecimalSeparator = rules_.excelDecimalSeparator;
    if (cell_.type == edSpinEdit) {
        s->SetSpinType(sptNormal);
        long long v = 0;
        if (base::TryStrToInt(base::Trim(cell_.text), v)) s->SetValue(int(v));
        else s->SetText(cell_.text);
    } else if (cell_.type == edFloatSpinEdit) {
        s->SetSpinType(sptFloat);
        double v = 0;
        const std::string plain = base::StringReplaceAll(cell_.text, std::string(1, base::ThousandSeparator()), "");
        if (base::TryStrToFloat(base::Trim(plain), v)) s->SetFloatValue(v);
        else s->SetText(cell_.text);
    } else if (cell_.type == edTimeSpinEdit) {
        s->SetSpinType(sptTime);
        s->SetText(cell_.text);
    } else {
        base::TDateTime d = 0;
        if (cell_.text.empty() || !TryStrToDateLocale(cell_.text, d)) d = base::Now();
        s->SetDateValue(d);
        s->SetSpinType(sptDate);
    }
    shown_ = charTarget_ = s;
}

// The narrow and the wide combo share their frame: placed, loaded by their own kind,
// sized to the cell with room for the drop-down, and styled by the grid's look.
void TEditorSetup::ShowCombo()
{
    const bool narrow = IsComboType(cell_.type);
    const bool list = cell_.type == edComboList || cell_.type == edUniComboList;
    TCustomComboBox* cb = narrow ? static_cast<TCustomComboBox*>(g_.Combo()) : g_.UniCombo();
    cb->SetBounds(box_.Left, box_.Top, 0, 0);
    cb->SetDroppedDown(false);
    cb->SetEnabled(true);
    if (narrow) LoadCombo(cb, list);
    else LoadUniCombo(cb, list);
    // The editable one fills the cell: its edit is the item height and 6 pixels of frame.
    if (!list) cb->SetItemHeight(std::max(1, box_.Height() - 6));
    cb->SetBounds(box_.Left, box_.Top, box_.Width(), cb->ItemHeight() * (cb->DropDownCount() + 1) + box_.Height());
    cb->SetColor(cell_.color);
    cb->Show();
    cb->Font()->Assign(g_.GridFont());
    if (narrow) StyleCombo(g_.Combo());
    else StyleCombo(g_.UniCombo());
    shown_ = cb;
    if (narrow) charTarget_ = cb->EditControl() ? cb->EditControl() : cb;
}

void TEditorSetup::LoadCombo(TCustomComboBox* cb, bool list)
{
    cb->SetStyle(list ? csDropDownList : csDropDown);
    if (!list || !SelectEqual(*cb, cb->Items(), g_.StoredText(cell_.col, cell_.row)))
        if (list) cb->SetItemIndex(rules_.comboDefaultIndex >= 0 ? rules_.comboDefaultIndex : 0);
    if (!list) cb->SetText(cell_.text);
}

void TEditorSetup::LoadUniCombo(TCustomComboBox* cb, bool list)
{
    TGridUniCombo* u = g_.UniCombo();
    // The style change rebuilds the platform list: the wide items are kept aside.
    std::vector<WideString> keep;
    for (int i = 0; i < u->Items().Count(); ++i) keep.push_back(u->Items().Get(i));
    u->SetStyle(list ? csDropDownList : csDropDown);
    if (u->Items().Count() != int(keep.size())) {
        u->Items().Clear();
        for (const WideString& w : keep) u->Items().Add(w);
    }
    const WideString wide = g_.WideText(cell_.col, cell_.row);
    if (!SelectEqual(*cb, u->Items(), wide)) cb->SetItemIndex(rules_.comboDefaultIndex >= 0 ? rules_.comboDefaultIndex : 0);
    if (!list) u->SetText(wide);
}

template <class Combo>
void TEditorSetup::StyleCombo(Combo* c)
{
    c->SetFlat(cell_.flat);
    c->SetEtched(cell_.flat);
    if (rules_.autoComboDropSize) c->SizeDropDownWidth();
}

void TEditorSetup::ShowEditBtn()
{
    TGridEditBtn* e = g_.EditBtn();
    Place(e);
    e->SetText(cell_.text);
    e->SetMaxLength(rules_.maxEditLength);
    shown_ = charTarget_ = e;
}

void TEditorSetup::ShowDatePicker()
{
    TGridDatePicker* p = g_.DatePicker();
    p->SetKind(cell_.type == edTimeEdit ? dtkTime : dtkDate);
    p->SetDateMode(cell_.type == edDateEditUpDown ? dmUpDown : dmComboBox);
    p->LoadFromCell(cell_.text);
    p->SetChecked(true);
    Place(p);
    shown_ = p;
}

void TEditorSetup::ShowUnitEditBtn()
{
    TGridUnitEditBtn* u = g_.UnitEditBtn();
    Place(u);
    u->SetMaxLength(rules_.maxEditLength);
    u->SetCellText(cell_.text);
    shown_ = charTarget_ = u;
}

void TEditorSetup::ShowCheckBox()
{
    TGridCheckBox* c = g_.CheckBox();
    c->SetBounds(box_.Left, box_.Top, box_.Width(), box_.Height());
    c->SetCaption(cell_.text);
    c->SetEnabled(true);
    c->SetChecked(false);
    c->Show();
    if (c->CanFocus()) c->SetFocus();
}

void TEditorSetup::ShowButton()
{
    TGridButton* b = g_.Button();
    b->SetBounds(box_.Left - 1, box_.Top - 1, box_.Width() + 2, box_.Height() + 2);
    b->SetCaption(cell_.text);
    b->Show();
    b->SetEnabled(true);
    shown_ = b;
}

void TEditorSetup::ShowUniEdit()
{
    TGridUniEdit* u = g_.UniEdit();
    const int mx = rules_.xyOffset.X, my = rules_.xyOffset.Y;
    u->SetBounds(box_.Left + mx + 2, box_.Top + my + 2, std::max(4, box_.Width() - 2 * mx - 2),
                 std::max(4, box_.Height() - 2 * my - 2));
    u->Show();
    u->SetEnabled(true);
    u->SetColor(cell_.color);
    u->Font()->Assign(g_.GridFont());
    u->SetText(g_.WideText(cell_.col, cell_.row));
    shown_ = charTarget_ = u;
}

void TEditorSetup::ShowRichEdit()
{
    TWinControl* r = g_.ShowRichEditor(cell_.col, cell_.row, box_);
    r->SetColor(cell_.color);
    shown_ = charTarget_ = r;
}

// The application's link: its editor inline over the cell, or on a pop-up form of its own.
void TEditorSetup::ShowLink()
{
    TEditLink* link = g_.Link();
    link->SetGrid(g_.LinkHost());
    link->EditCol = cell_.col;
    link->EditRow = cell_.row;
    if (link->EditStyle == esPopup) {
        PlaceLinkPopup(link);
    } else {
        link->CreateEditor(g_.Window());
        link->SetRect(cell_.box);
    }
    link->SetVisible(true);
    link->SetCellProps(cell_.color, &cell_.font);
    link->SetProperties();
    g_.AdjustLink(cell_.col, cell_.row, link);
    link->SetEditorValue(cell_.text);
    link->SetFocus(true);
    g_.SetActiveControl(link->GetEditControl());
    charTarget_ = link->GetEditControl();
}

void TEditorSetup::PlaceLinkPopup(TEditLink* link)
{
    if (link->AutoPopupWidth) link->PopupWidth = cell_.box.Width();
    TForm* f = link->PopupForm();
    if (!f) {
        f = new TForm(Application);
        f->SetBorderStyle(bsNone);
        f->OnDeactivate = [link](TObject* s) { link->FormExit(s); };
        link->SetPopupForm(f);
    }
    const TPoint p = g_.Window()->ClientToScreen(Point(cell_.box.Left, cell_.box.Top));
    f->SetBounds(p.X, p.Y, link->PopupWidth, link->PopupHeight);
    f->Show();
    link->CreateEditor(f);
    link->SetRect(Rect(0, 0, link->PopupWidth, link->PopupHeight));
}

// The shown control becomes the active one and takes the focus, a drop-down opens when
// asked to, and the character that opened the editor goes to its control.
void TEditorSetup::Finish()
{
    if (shown_) {
        g_.SetActiveControl(shown_);
        if (shown_->CanFocus()) shown_->SetFocus();
        if (IsComboType(cell_.type) && rules_.directComboDrop) g_.Combo()->SetDroppedDown(true);
        if (cell_.type == edDateEdit && rules_.directDateDrop) shown_->Perform(WM_KEYDOWN, VK_F4, 0);
    }
    const char ch = g_.TakePendingChar();
    if (ch && charTarget_ && charTarget_->HandleAllocated())
        PostMessage(charTarget_->Handle(), WM_CHAR, WPARAM((unsigned char)ch), 0);
}

}  // namespace grid
