// The edit link and the editor setup on their own, against fake grids: which keys end a
// link's edit and what the grid is asked to do then, and how the setup places, loads and
// hands over each kind of editor.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/TestRig.h"
#include "platform/controls/Edit.h"
#include "platform/forms/Forms.h"
#include "tests/widgets/grid/GridWindow.h"
#include "widgets/grid/GridEditLink.h"
#include "widgets/grid/GridEditorControls.h"
#include "widgets/grid/GridEditorSetup.h"
#include "widgets/grid/GridEditors.h"

using namespace platform;
using namespace grid;

namespace {

// Writes down what the link asks, one word each.
class FakeLinkHost final : public TEditLinkHost {
public:
    bool editing = true, accept = true;
    std::string cell = "cell", start = "start";
    int lineWidth = 1;
    TWinControl* window = nullptr;
    std::vector<std::string> calls;

    bool LinkEditing() const override { return editing; }
    bool CommitLinkValue() override
    {
        calls.push_back("commit");
        return accept;
    }
    std::string EditStartText() const override { return start; }
    void FocusGrid() override { calls.push_back("focus"); }
    void CloseEditor() override { calls.push_back("close"); }
    void AdvanceAfterEdit(bool Forward) override { calls.push_back(Forward ? "advance" : "back"); }
    void MoveAfterEdit(Word Key, TShiftState) override { calls.push_back("move " + std::to_string(Key)); }
    std::string CellValue() override { return cell; }
    void SetCellValue(const std::string& Value) override { cell = Value; }
    int LineWidth() const override { return lineWidth; }
    void PopupLeft() override { calls.push_back("popup left"); }
    void HookControl(TWinControl*) override { calls.push_back("hook"); }
    void UnhookControl(TWinControl*) override { calls.push_back("unhook"); }
    TWinControl* Window() override { return window; }
    void LinkGone(TEditLink*) override { calls.push_back("gone"); }
};

// A link over a platform edit, made on demand.
class TextLink : public TEditLink {
public:
    using TEditLink::TEditLink;
    TEdit* edit = nullptr;
    bool withControl = false;
    TColor cellColor = clNone;
    std::string value;
    TWinControl* GetEditControl() override { return withControl ? edit : nullptr; }
    void CreateEditor(TWinControl* AParent) override
    {
        if (!edit) edit = new TEdit(this);
        edit->SetParent(AParent);
        withControl = true;
    }
    void SetCellProps(TColor AColor, TFont*) override { cellColor = AColor; }
    std::string GetEditorValue() override { return value; }
    void SetEditorValue(const std::string& Value) override { value = Value; }
};

std::string Joined(const std::vector<std::string>& v)
{
    std::string s;
    for (const std::string& x : v) s += (s.empty() ? "" : ", ") + x;
    return s;
}

}  // namespace

TEST(GridEditLinkPart, KeysThatEndTheEditAndWhatFollows)
{
    EnsurePlatform();
    struct Case {
        Word key;
        TShiftState shift;
        bool want;  // the link's WantKey for this key is set
        bool accept;
        std::string calls;
        Word keyAfter;
    };
    const Case cases[] = {
        {VK_RETURN, 0, false, true, "commit, focus, close, advance", 0},
        {VK_RETURN, ssShift, false, true, "commit, focus, close, back", 0},
        {VK_RETURN, 0, true, true, "", VK_RETURN},
        {VK_ESCAPE, 0, false, true, "focus, close", 0},  // no commit: the start text comes back
        {VK_ESCAPE, 0, true, true, "", VK_ESCAPE},
        {VK_TAB, 0, false, true, "commit, focus, close, move 9, focus", VK_TAB},
        {VK_UP, 0, false, true, "commit, focus, close, move 38, focus", VK_UP},
        {VK_UP, 0, true, true, "", VK_UP},
        {VK_LEFT, 0, true, true, "", VK_LEFT},
        {VK_NEXT, 0, false, true, "commit, focus, close, focus", VK_NEXT},
        {VK_END, 0, true, true, "", VK_END},
        {'A', 0, false, true, "", 'A'},
        {VK_TAB, 0, false, false, "commit", 0},  // refused: the editor stays open
        {VK_RETURN, 0, false, false, "commit", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.key) + (c.shift ? " shift" : "") + (c.want ? " wanted" : "") +
                     (c.accept ? "" : " refused"));
        FakeLinkHost host;
        host.accept = c.accept;
        TextLink link(nullptr);
        link.SetGrid(&host);
        link.WantKeyReturn = link.WantKeyEscape = link.WantKeyUpDown = link.WantKeyLeftRight = link.WantKeyHomeEnd =
            c.want;
        Word key = c.key;
        link.EditKeyDown(nullptr, key, c.shift);
        EXPECT_EQ(Joined(host.calls), c.calls);
        EXPECT_EQ(key, c.keyAfter);
        EXPECT_EQ(link.value, c.key == VK_ESCAPE && !c.want ? "start" : "");
        link.SetGrid(nullptr);
    }
    // Not editing with the link: every key stays with it.
    FakeLinkHost idle;
    idle.editing = false;
    TextLink link(nullptr);
    link.SetGrid(&idle);
    Word key = VK_RETURN;
    link.EditKeyDown(nullptr, key, 0);
    EXPECT_TRUE(idle.calls.empty());
    EXPECT_EQ(key, VK_RETURN);
    link.SetGrid(nullptr);
}

TEST(GridEditLinkPart, CellValueFocusControlAndPopupThroughTheHost)
{
    EnsurePlatform();
    FakeLinkHost host;
    TForm* form = Construct<TForm>(Application);
    host.window = form;
    {
        TextLink link(nullptr);
        EXPECT_EQ(link.GetCellValue(), "");  // no grid yet
        link.SetGrid(&host);
        EXPECT_EQ(link.GetCellValue(), "cell");
        link.SetCellValue("new");
        EXPECT_EQ(host.cell, "new");
        EXPECT_EQ(link.GetParent(), form);

        // the control is hooked while it has the focus and unhooked as the editor closes
        link.CreateEditor(form);
        link.SetRect({10, 20, 110, 45});
        EXPECT_EQ(link.edit->BoundsRect(), (TRect{10, 20, 109, 44}));
        link.SetFocus(true);
        link.HideEditor();
        EXPECT_EQ(Joined(host.calls), "hook, close, unhook");
        host.calls.clear();
        link.SetFocus(false);
        EXPECT_EQ(Joined(host.calls), "focus");

        // leaving the pop-up closes the edit and tells the grid; after the edit, nothing
        host.calls.clear();
        link.withControl = false;
        link.FormExit(nullptr);
        EXPECT_EQ(Joined(host.calls), "close, popup left");
        host.calls.clear();
        host.editing = false;
        link.FormExit(nullptr);
        EXPECT_TRUE(host.calls.empty());
    }
    EXPECT_EQ(host.calls.back(), "gone");  // the grid forgets a link that goes
    form->Free();
}

namespace {

// A grid's cell and settings as the setup is given them; the controls are the real ones,
// owned by a grid that stays hidden.
class FakeEditorHost final : public TGridEditorControls {
public:
    explicit FakeEditorHost(TExStringGrid& owner) : TGridEditorControls(owner) {}
    TEditorCell cell;
    TEditorRules rules;
    std::string stored;
    TEditLink* link = nullptr;
    FakeLinkHost linkHost;
    TWinControl* active = reinterpret_cast<TWinControl*>(1);  // set by the setup
    char pending = 'x';
    std::vector<std::string> adjusted;

    void EditorCell(int ACol, int ARow, TEditorCell& c) override
    {
        c.col = ACol + 100;  // a real column of its own
        c.row = ARow;
        c.box = cell.box;
        c.color = cell.color;
        c.text = cell.text;
        c.type = cell.type;
    }
    TEditorRules EditorRules() override { return rules; }
    std::string StoredText(int, int) override { return stored; }
    std::u16string WideText(int, int) override { return u""; }
    TWinControl* ShowRichEditor(int, int, const TRect&) override { return nullptr; }
    TEditLink* Link() override { return link; }
    TEditLinkHost* LinkHost() override { return &linkHost; }
    void AdjustLink(int col, int row, TEditLink*) override
    {
        adjusted.push_back(std::to_string(col) + "," + std::to_string(row));
    }
    void SetActiveControl(TWinControl* control) override { active = control; }
    char TakePendingChar() override { return std::exchange(pending, char(0)); }
};

}  // namespace

TEST(GridEditorSetupPart, ControlsArePlacedLoadedAndHandedOver)
{
    gridtest::GridWindow w;
    w.Open(300, 200, 3, 3);
    struct Case {
        TEditorType type;
        std::string text, stored;
        int defaultIndex;
        std::string shown;  // the control's text afterwards
    };
    const Case cases[] = {
        {edSpinEdit, "42", "", -1, "42"},
        {edEditBtn, "abc", "", -1, "abc"},
        {edComboEdit, "typed", "", -1, "typed"},
        {edComboList, "b", "b", -1, "b"},
        {edComboList, "zz", "zz", 2, "c"},  // not in the list: the default item
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(int(c.type)) + " " + c.text);
        FakeEditorHost host(*w.g);
        host.cell.type = c.type;
        host.cell.text = c.text;
        host.cell.box = {10, 20, 90, 40};
        host.cell.color = clYellow;
        host.stored = c.stored;
        host.rules.comboDefaultIndex = c.defaultIndex;
        host.rules.xyOffset = {0, 0};
        w.g->GridCombo()->Items().Clear();
        for (const char* item : {"a", "b", "c"}) w.g->GridCombo()->Items().Add(item);
        TEditorSetup(host, 1, 2).Show();
        TWinControl* expected = IsSpinType(c.type)    ? static_cast<TWinControl*>(w.g->GridSpin())
                                : IsComboType(c.type) ? static_cast<TWinControl*>(w.g->GridCombo())
                                                      : static_cast<TWinControl*>(w.g->GridEditBtn());
        EXPECT_EQ(host.active, expected);
        EXPECT_TRUE(expected->Visible());
        EXPECT_EQ(expected->Left(), 10);
        EXPECT_EQ(expected->Top(), 20);
        if (!IsComboType(c.type)) {
            EXPECT_EQ(expected->Color(), clYellow);
        }
        EXPECT_EQ(expected->Text(), c.shown);
        EXPECT_EQ(host.pending, 0);  // the opening character was taken
        expected->Hide();
    }
    w.Close();
}

TEST(GridEditorSetupPart, TheLinkGetsItsCellPlaceAndValue)
{
    gridtest::GridWindow w;
    w.Open(300, 200, 3, 3);
    FakeEditorHost host(*w.g);
    TextLink* link = new TextLink(w.form);
    host.link = link;
    host.cell.type = edCustom;
    host.cell.text = "start";
    host.cell.box = {10, 20, 90, 40};
    host.cell.color = clAqua;
    TEditorSetup(host, 1, 2).Show();
    EXPECT_EQ(link->Grid(), &host.linkHost);
    EXPECT_EQ(link->EditCol, 101);
    EXPECT_EQ(link->EditRow, 2);
    EXPECT_EQ(link->edit->Parent(), w.g);
    EXPECT_EQ(link->edit->BoundsRect(), (TRect{10, 20, 89, 39}));  // less the host's line width
    EXPECT_EQ(link->cellColor, clAqua);
    EXPECT_EQ(link->value, "start");
    EXPECT_EQ(host.adjusted, std::vector<std::string>{"101,2"});
    EXPECT_EQ(host.active, link->edit);
    EXPECT_EQ(Joined(host.linkHost.calls), "hook");
    link->SetGrid(nullptr);
    w.Close();
}

TEST(GridEditorSetupPart, ACheckBoxIsNotTheActiveControl)
{
    gridtest::GridWindow w;
    w.Open(300, 200, 3, 3);
    FakeEditorHost host(*w.g);
    host.cell.type = edCheckBox;
    host.cell.text = "tick";
    host.cell.box = {0, 0, 50, 20};
    TEditorSetup(host, 1, 1).Show();
    EXPECT_EQ(host.active, nullptr);
    EXPECT_EQ(w.g->GridCheckBox()->Caption(), "tick");
    EXPECT_EQ(host.pending, 'x');  // no character goes to a check box
    w.Close();
}
