// Every in-cell editor control as the grid lays it over its cell, pixel for pixel: the
// grid with the control on it, the control's place, focus and value, and what a character
// typed on the grid left in it reduce to a checksum kept beside each case.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/TestRig.h"
#include "platform/controls/Edit.h"
#include "platform/forms/Forms.h"
#include "platform/graphics/Graphics.h"
#include "support/PixelHash.h"
#include "support/TestSupport.h"
#include "tests/widgets/grid/GridWindow.h"
#include "widgets/grid/ExGrid.h"
#include "widgets/grid/ExRichEdit.h"
#include "widgets/grid/GridEditLink.h"
#include "widgets/grid/GridEditors.h"

using namespace platform;
using namespace grid;

namespace {

// An edit of the platform plugged into cells through the link, inline or in a pop-up.
class TPixelLink : public TEditLink {
public:
    using TEditLink::TEditLink;
    TEdit* edit = nullptr;
    TWinControl* GetEditControl() override { return edit; }
    void CreateEditor(TWinControl* AParent) override
    {
        if (!edit) edit = new TEdit(this);
        edit->SetParent(AParent);
    }
    void SetCellProps(TColor AColor, TFont* AFont) override
    {
        edit->SetColor(AColor);
        if (AFont) edit->Font()->Assign(*AFont);
    }
    std::string GetEditorValue() override { return edit->Text(); }
    void SetEditorValue(const std::string& Value) override { edit->SetText(Value); }
};

struct EditorCase {
    const char* name;
    TEditorType type;
    std::string text;
    char typed;  // opens the editor with this character typed on the grid; 0 opens it with F2
    std::function<void(TExStringGrid*)> setup;
    std::uint64_t hash;
};

struct EditorPixels : ::testing::Test, gridtest::GridWindow {
    TEditorType type = edNormal;
    TPixelLink* link = nullptr;
    void SetUp() override
    {
        ASSERT_TRUE(OpenEditing(420, 200, 4, 4, false));
        g->SetDefaultColWidth(100);
        for (int r = 0; r < 4; ++r) g->SetRowHeights(r, 26);
        g->OnGetEditorType = [this](TObject*, int c, int, TEditorType& t) {
            if (c == 1) t = type;
        };
        link = new TPixelLink(form);
        g->EditLink = link;
    }
    void TearDown() override { Close(); }

    static std::string Bounds(TControl* c)
    {
        return std::to_string(c->Left()) + "," + std::to_string(c->Top()) + "," + std::to_string(c->Width()) + "," +
               std::to_string(c->Height());
    }
    // The grid and its controls as painted, and the state the editor was left in.
    testsupport::PixelHash Shot(const std::string& name)
    {
        Application->ProcessMessages();
        testsupport::PixelHash h;
        auto shot = PaintToBitmap(g);
        h.Bitmap(*shot);
        testsupport::KeepPicture(*shot, name);
        TWinControl* focus = FindFocusedControl();
        TWinControl* active = g->ActiveEditControl;
        std::string state = std::string(g->EditActive ? "active" : "closed") + " text=" + g->EditControlText();
        if (active) {
            state += " at=" + Bounds(active) + " focus=" + (focus == active ? "control" : active->ContainsControl(focus) ? "inside" : "elsewhere");
            state += " colour=" + std::to_string(active->Color());
        }
        if (auto* cb = dynamic_cast<TCustomComboBox*>(active))
            state += " item=" + std::to_string(cb->ItemIndex()) + " dropped=" + std::to_string(cb->DroppedDown()) +
                     " itemHeight=" + std::to_string(cb->ItemHeight());
        if (g->GridCheckBox()->Visible())
            state += " check=" + Bounds(g->GridCheckBox()) + " " + g->GridCheckBox()->Caption() +
                     (focus == g->GridCheckBox() ? " focused" : "");
        if (g->GridButton()->Visible()) state += " button=" + Bounds(g->GridButton()) + " " + g->GridButton()->Caption();
        if (TForm* popup = link->PopupForm(); popup && popup->Visible()) {
            auto p = PaintToBitmap(popup);
            h.Bitmap(*p);
            testsupport::KeepPicture(*p, name + "-popup");
            state += " popup=" + Bounds(popup);
        }
        h.Text(state);
        return h;
    }
};

}  // namespace

TEST_F(EditorPixels, EveryEditorIsLaidOverItsCellAsBefore)
{
    testsupport::DayMonthYearSettings dates;
    auto combos = [](TExStringGrid* x) {
        x->GridCombo();
        x->AddComboString("apple");
        x->AddComboString("pear");
        x->AddComboString("plum");
        x->GridUniCombo()->Items().Add(u"\u03a9mega");
        x->GridUniCombo()->Items().Add(u"plum");
    };
    auto soft = [](TExStringGrid* x) { x->Look = glSoft; };
    const std::vector<EditorCase> cases = {
        {"spin", edSpinEdit, "42", 0, nullptr, 0xe4c75bf0e4079efaull},
        {"spin of no number", edSpinEdit, "4x", 0, nullptr, 0x5a58b197300764f8ull},
        {"spin typed into", edSpinEdit, "", '7', nullptr, 0xb8394b7f3923df96ull},
        {"float spin", edFloatSpinEdit, "1,234.5", 0, nullptr, 0x5203817c7ea1414bull},
        {"float spin of no number", edFloatSpinEdit, "abc", 0, nullptr, 0xf467648deb18b0ebull},
        {"time spin", edTimeSpinEdit, "08:30:00", 0, nullptr, 0xf559645c5055df6eull},
        {"date spin", edDateSpinEdit, "10/12/2026", 0, nullptr, 0x65678817b188e58cull},
        {"combo", edComboEdit, "pear", 0, combos, 0xa025072a3d78b35dull},
        {"combo soft, sized, typed into", edComboEdit, "pear", 'k',
         [&](TExStringGrid* x) {
             combos(x);
             soft(x);
             x->Navigation.AutoComboDropSize = true;
         }, 0x660a948d7e13075eull},
        {"combo list", edComboList, "plum", 0, combos, 0x341cb68cf50b1ac7ull},
        {"combo list of no item", edComboList, "fig", 0,
         [&](TExStringGrid* x) {
             combos(x);
             x->ComboDefaultIndex = 1;
         }, 0x1c69f1a1e70a27ceull},
        {"combo list dropped", edComboList, "apple", 0,
         [&](TExStringGrid* x) {
             combos(x);
             x->MouseActions.DirectComboDrop = true;
         }, 0xd2c128b9a1e8b6b6ull},
        {"wide combo", edUniComboEdit, "plum", 0, combos, 0xaf6e4c6887b1c49full},
        {"wide combo list soft", edUniComboList, "zzz", 0,
         [&](TExStringGrid* x) {
             combos(x);
             soft(x);
         }, 0xb3ff51b1abe92548ull},
        {"edit button", edEditBtn, "text", 0, nullptr, 0x4ca32c40f154e39aull},
        {"numeric edit button typed into", edNumericEditBtn, "12", '3',
         [](TExStringGrid* x) { x->MaxEditLength = 4; }, 0x3bd03bdb05970136ull},
        {"float edit button", edFloatEditBtn, "-0.5", 0, nullptr, 0xec326c02006a5643ull},
        {"date picker", edDateEdit, "10/12/2026", 0, nullptr, 0x78f378ee49e837ffull},
        {"date picker up-down", edDateEditUpDown, "11/12/2026", 0, nullptr, 0x1fb653e1a54adffcull},
        {"time picker", edTimeEdit, "09:15:00", 0, nullptr, 0x540aa997d681e16eull},
        {"date picker dropped", edDateEdit, "12/12/2026", 0,
         [](TExStringGrid* x) { x->MouseActions.DirectDateDrop = true; }, 0xc7a9c130dfa5710aull},
        {"unit edit button", edUnitEditBtn, "3 kg", 0, nullptr, 0x9a7bb6b70266215full},
        {"check box", edCheckBox, "Yes", 0, nullptr, 0x5cc7b3805d31d37bull},
        {"button", edButton, "Press", 0, nullptr, 0x5c5d7fc868096e2dull},
        {"wide edit", edUniEdit, "abc", 0, nullptr, 0x467e5711e37a1bc2ull},
        {"wide edit typed into", edUniEdit, "abc", 'z', [](TExStringGrid* x) { x->XYOffset = Point(4, 3); }, 0xe725632b4c570472ull},
        {"rich edit", edRichEdit, "bold <B>hull</B>", 0, nullptr, 0xd0bcde159b7dbfa4ull},
        {"link inline", edCustom, "inline", 0, nullptr, 0xb1825f04b4f55df7ull},
        {"link pop-up typed into", edCustom, "pop", 'q',
         [this](TExStringGrid*) {
             link->EditStyle = esPopup;
             link->PopupWidth = 150;
             link->PopupHeight = 60;
         }, 0x132a3e8cb42d8b14ull},
        {"link pop-up of the cell's width", edCustom, "wide", 0,
         [this](TExStringGrid*) {
             link->EditStyle = esPopup;
             link->AutoPopupWidth = true;
             link->PopupHeight = 40;
         }, 0x08d63562aecb6837ull},
    };
    for (const EditorCase& k : cases) {
        SCOPED_TRACE(k.name);
        TearDown();
        SetUp();
        type = k.type;
        if (k.setup) k.setup(g);
        g->SetCells(1, 1, k.text);
        g->SetCells(2, 1, "beside");
        if (k.typed) SendChar(g, k.typed);
        else SendKey(g, VK_F2);
        const testsupport::PixelHash h = Shot(k.name);
        EXPECT_PIXELS(h, k.hash, k.name);
    }
}
