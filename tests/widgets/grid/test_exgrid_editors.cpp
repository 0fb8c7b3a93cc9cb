// The grid's in-cell editor controls driven by keys and the mouse: each is shown in its
// cell, typed into, committed and cancelled, and its value read back from the cell.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/TestRig.h"
#include "platform/forms/Forms.h"
#include "base/DateTime.h"
#include "base/Locale.h"
#include "platform/graphics/Graphics.h"
#include "platform/system/Beep.h"
#include "tests/support/TestSupport.h"
#include "tests/widgets/grid/GridWindow.h"
#include "widgets/grid/ExGrid.h"
#include "widgets/grid/ExRichEdit.h"
#include "widgets/grid/GridEditors.h"

using namespace platform;
using namespace grid;

namespace {

struct EditorsTest : ::testing::Test, gridtest::GridWindow {
    std::map<int, TEditorType> editors;  // by real column
    std::vector<std::string> validated;
    void SetUp() override
    {
        ASSERT_TRUE(OpenEditing(520, 300, 5, 5, false));
        g->SetDefaultColWidth(90);
        g->OnGetEditorType = [this](TObject*, int c, int, TEditorType& t) {
            if (editors.count(c)) t = editors[c];
        };
    }
    void TearDown() override { Close(); }
    void At(int c, int r)
    {
        g->SetCol(c);
        g->SetRow(r);
    }
    TWinControl* Focus() { return FindFocusedControl(); }
    // Opens the editor of the current cell with F2.
    void Open()
    {
        SendKey(g, VK_F2);
        ProcessMessages();
    }
    void ProcessMessages() { Application->ProcessMessages(); }
    void Type(const std::string& s)
    {
        for (char ch : s) SendChar(Focus(), ch);
    }
    void Key(Word vk, TShiftState shift = 0) { SendKey(Focus(), vk, shift); }
    // Refuses every value that holds a '7'.
    void NoSevens()
    {
        g->OnCellValidate = [this](TObject*, int c, int r, std::string& v, bool& ok) {
            validated.push_back(std::to_string(c) + "," + std::to_string(r) + "=" + v);
            ok = v.find('7') == std::string::npos;
        };
    }
    // The control lies inside the cell's rectangle.
    void ExpectInCell(TWinControl* ctl, int c, int r)
    {
        const TRect cell = g->CellRect(c, r);
        EXPECT_TRUE(ctl->Visible());
        EXPECT_GE(ctl->Left(), cell.Left - 1);
        EXPECT_GE(ctl->Top(), cell.Top - 1);
        EXPECT_LE(ctl->Left() + ctl->Width(), cell.Right + 1);
        EXPECT_LE(ctl->Top() + ctl->Height(), cell.Bottom + 1);
    }
};

// Selects all of the focused edit (or combo edit) so that typing replaces it.
void SelectAllIn(TWinControl* c)
{
    if (auto* e = dynamic_cast<TCustomEdit*>(c)) e->SelectAll();
}

struct Case {
    TEditorType type;
    std::string start, typed, kept;
    std::function<void(TExStringGrid*)> check;  // the kept value read back typed
};

}  // namespace

TEST_F(EditorsTest, EachEditorIsShownInItsCellTypedIntoCommittedAndCancelled)
{
    testsupport::DayMonthYearSettings dates;
    g->GridCombo();
    g->AddComboString("apple");
    g->AddComboString("pear");
    g->GridUniCombo()->Items().Add(u"\u03a9mega");
    g->GridUniCombo()->Items().Add(u"plum");
    const std::vector<Case> cases = {
        {edSpinEdit, "5", "42", "42", [](TExStringGrid* x) { EXPECT_EQ(x->GetInts(1, 1), 42); }},
        {edFloatSpinEdit, "1.5", "2.25", "2.25", [](TExStringGrid* x) { EXPECT_DOUBLE_EQ(x->GetFloats(1, 1), 2.25); }},
        {edComboEdit, "pear", "fig", "fig", nullptr},
        {edEditBtn, "a", "text", "text", nullptr},
        {edNumericEditBtn, "1", "-12", "-12", [](TExStringGrid* x) { EXPECT_EQ(x->GetInts(1, 1), -12); }},
        {edFloatEditBtn, "1", "-0.5", "-0.5", [](TExStringGrid* x) { EXPECT_DOUBLE_EQ(x->GetFloats(1, 1), -0.5); }},
        {edUnitEditBtn, "3 kg", "12.5", "12.5 kg", nullptr},
        {edUniEdit, "x", "abc", "abc", [](TExStringGrid* x) { EXPECT_EQ(x->GetWideCells(1, 1), u"abc"); }},
        {edUniComboEdit, "plum", "kiwi", "kiwi", [](TExStringGrid* x) { EXPECT_EQ(x->GetWideCells(1, 1), u"kiwi"); }},
        {edUniComboList, "kiwi", "p", "plum", [](TExStringGrid* x) { EXPECT_EQ(x->GetWideCells(1, 1), u"plum"); }},
        {edTimeSpinEdit, "08:30:00", "09:15:00", "09:15:00",
         [](TExStringGrid* x) { EXPECT_NEAR(x->GetTimes(1, 1), base::EncodeTime(9, 15, 0, 0), 1e-6); }},
        {edDateSpinEdit, "10/12/2026", "11/12/2026", "11/12/2026",
         [](TExStringGrid* x) { EXPECT_EQ(x->GetDates(1, 1), base::EncodeDate(2026, 12, 11)); }},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(int(k.type));
        editors[1] = k.type;
        At(1, 1);
        g->SetCells(1, 1, k.start);
        // Committed with Enter.
        Open();
        ASSERT_TRUE(g->EditActive);
        TWinControl* ctl = g->ActiveEditControl;
        ASSERT_TRUE(ctl);
        ExpectInCell(ctl, 1, 1);
        EXPECT_TRUE(Focus() == ctl || ctl->ContainsControl(Focus()));
        SelectAllIn(Focus());
        Type(k.typed);
        EXPECT_EQ(g->Cells(1, 1), k.start);  // nothing reaches the cell while typing
        Key(VK_RETURN);
        EXPECT_FALSE(g->EditActive);
        EXPECT_FALSE(ctl->Visible());
        EXPECT_TRUE(g->Focused());
        const bool wide = k.type == edUniEdit || k.type == edUniComboEdit || k.type == edUniComboList;
        if (!wide) {
            EXPECT_EQ(g->Cells(1, 1), k.kept);
        }
        if (k.check) k.check(g);
        // Cancelled with Escape: the cell keeps its value.
        const std::string before = g->Cells(1, 1);
        Open();
        ASSERT_TRUE(g->EditActive);
        SelectAllIn(Focus());
        Type("9");
        Key(VK_ESCAPE);
        EXPECT_FALSE(g->EditActive);
        EXPECT_FALSE(ctl->Visible());
        EXPECT_EQ(g->Cells(1, 1), before);
    }
}

TEST_F(EditorsTest, ARefusedValueStaysInTheEditorAndTheCellKeepsItsText)
{
    NoSevens();
    for (TEditorType t : {edSpinEdit, edComboEdit, edEditBtn, edUnitEditBtn, edUniEdit, edUniComboEdit}) {
        SCOPED_TRACE(int(t));
        editors[1] = t;
        At(1, 1);
        g->SetCells(1, 1, "11");
        validated.clear();
        Open();
        TWinControl* ctl = g->ActiveEditControl;
        ASSERT_TRUE(ctl);
        SelectAllIn(Focus());
        Type("17");
        Key(VK_RETURN);
        // Refused: still open on the same cell, the typed value kept to be mended.
        EXPECT_TRUE(g->EditActive);
        EXPECT_TRUE(ctl->Visible());
        EXPECT_EQ(g->Cells(1, 1), "11");
        EXPECT_EQ(validated.size(), 1u);
        EXPECT_TRUE(Focus() == ctl || ctl->ContainsControl(Focus()));
        // Moving away is refused as well.
        Key(VK_DOWN);
        EXPECT_EQ(g->Row(), 1);
        EXPECT_EQ(g->Cells(1, 1), "11");
        SelectAllIn(Focus());
        Type("16");
        Key(VK_RETURN);
        EXPECT_FALSE(g->EditActive);
        if (t == edUniEdit || t == edUniComboEdit) {
            EXPECT_EQ(g->GetWideCells(1, 1), u"16");
        } else {
            EXPECT_EQ(g->Cells(1, 1), "16");
        }
    }
}

TEST_F(EditorsTest, TheWideComboValidatesThroughTheWideAndTheNarrowHandler)
{
    editors[1] = edUniComboEdit;
    std::u16string seenWide;
    g->OnCellValidateWide = [&](TObject*, int, int, std::u16string& v, bool&) { seenWide = v; };
    g->OnCellValidate = [&](TObject*, int, int, std::string& v, bool& ok) {
        ok = true;
        v = v + "!";  // the handler's replacement is kept
    };
    Open();
    SelectAllIn(Focus());
    Type("ab");
    Key(VK_RETURN);
    EXPECT_EQ(seenWide, u"ab");
    EXPECT_EQ(g->GetWideCells(1, 1), u"ab!");
}

TEST_F(EditorsTest, ACharacterTypedOnTheGridArrivesInTheSpinButNotInTheWideCombo)
{
    editors[1] = edSpinEdit;
    editors[2] = edUniComboEdit;
    g->SetCells(1, 1, "");
    SendChar(g, '8');
    ASSERT_TRUE(ProcessUntil([&] { return g->EditActive && g->GridSpin()->Text().find('8') != std::string::npos; }, 500));
    Key(VK_ESCAPE);
    At(2, 1);
    g->SetCells(2, 1, "q");
    SendChar(g, '8');
    ProcessMessages();
    ASSERT_TRUE(g->EditActive);
    EXPECT_EQ(g->GridUniCombo()->Text(), u"q");
    Key(VK_ESCAPE);
}

TEST_F(EditorsTest, SpinKeysPageUpSpinsWithinTheLimitsAndUpLeavesTheCell)
{
    editors[1] = editors[2] = edSpinEdit;
    std::vector<std::string> clicks;
    g->OnSpinClick = [&](TObject*, int c, int r, int v, bool up) {
        clicks.push_back(std::to_string(c) + "," + std::to_string(r) + ":" + std::to_string(v) + (up ? "+" : "-"));
    };
    At(1, 2);
    g->SetCells(1, 2, "98");
    Open();
    TGridSpin* s = g->GridSpin();
    s->Increment = 5;
    Key(VK_PRIOR);
    EXPECT_EQ(s->Value(), 98);  // 103 would pass the maximum
    Key(VK_NEXT);
    EXPECT_EQ(s->Value(), 93);
    Key(VK_HOME);
    EXPECT_EQ(s->Value(), 100);
    Key(VK_END);
    EXPECT_EQ(s->Value(), 0);
    EXPECT_EQ(clicks, (std::vector<std::string>{"1,2:98+", "1,2:93-", "1,2:100+", "1,2:0-"}));
    // The spin buttons raise the event too.
    s->UpClick();
    EXPECT_EQ(clicks.back(), "1,2:5+");
    // Up commits and moves the current cell up.
    Key(VK_UP);
    EXPECT_FALSE(g->EditActive);
    EXPECT_EQ(g->Row(), 1);
    EXPECT_EQ(g->GetInts(1, 2), 5);
    // Tab with goTabs moves the editing to the next cell, Shift+Tab back.
    g->SetOptions(g->Options() | goTabs);
    Open();
    Key(VK_TAB);
    EXPECT_FALSE(g->EditActive);
    EXPECT_EQ(g->Col(), 2);
    Open();
    ASSERT_TRUE(g->EditActive);
    Key(VK_TAB, ssShift);
    EXPECT_EQ(g->Col(), 1);
}

TEST_F(EditorsTest, EnterAdvancesAndOpensTheNextCellsEditor)
{
    editors[1] = editors[2] = edEditBtn;
    g->Navigation.AdvanceOnEnter = true;
    Open();
    SelectAllIn(Focus());
    Type("x");
    Key(VK_RETURN);
    EXPECT_EQ(g->Cells(1, 1), "x");
    EXPECT_EQ(g->Col(), 2);
    EXPECT_TRUE(g->EditActive);  // the next cell's editor is open
    EXPECT_EQ(g->ActiveEditControl, g->GridEditBtn());
    Key(VK_ESCAPE);
}

TEST_F(EditorsTest, ComboKeysLookupAndWheel)
{
    editors[1] = edComboEdit;
    editors[2] = edComboList;
    g->AddComboString("Alpha");
    g->AddComboString("alpine");
    g->AddComboString("Beta");
    g->Lookup = true;
    std::vector<std::string> changes;
    g->OnComboChange = [&](TObject*, int c, int r, int i, const std::string& s) {
        changes.push_back(std::to_string(c) + "," + std::to_string(r) + ":" + std::to_string(i) + "=" + s);
    };
    g->SetCells(1, 1, "");
    Open();
    TGridCombo* cb = g->GridCombo();
    // Typing completes from the first matching item; the typed letters keep their case.
    auto typeReleased = [&](const std::string& text) {
        for (char ch : text) {
            SendChar(Focus(), ch);
            Focus()->Perform(WM_KEYUP, WPARAM(std::toupper((unsigned char)ch)), 0);
        }
    };
    typeReleased("AL");
    EXPECT_EQ(cb->Text(), "ALpha");
    cb->SetText("");
    typeReleased("al");
    EXPECT_EQ(cb->Text(), "alpha");
    EXPECT_EQ(cb->SelStart(), 2);
    EXPECT_EQ(cb->SelLength(), 3);
    // Backspace does not complete again.
    Key(VK_BACK);
    EXPECT_EQ(cb->Text(), "al");
    // Alt+Down opens the list instead of leaving.
    Key(VK_DOWN, ssAlt);
    EXPECT_TRUE(cb->DroppedDown());
    EXPECT_TRUE(g->EditActive);
    Key(VK_ESCAPE);
    EXPECT_FALSE(g->EditActive);
    // The list style: the wheel steps through the items and stops at the last.
    At(2, 1);
    g->SetCells(2, 1, "alpine");
    Open();
    ASSERT_EQ(g->ActiveEditControl, cb);
    EXPECT_EQ(cb->ItemIndex(), 1);
    const TRect r = g->CellRect(2, 1);
    for (int i = 0; i < 3; ++i) HostWheel(cb, 4, 4, -120);
    EXPECT_EQ(cb->ItemIndex(), 2);
    EXPECT_EQ(changes.back(), "2,1:2=Beta");
    (void)r;
    // Left ends editing and moves the current cell left, the chosen item kept.
    Key(VK_LEFT);
    EXPECT_FALSE(g->EditActive);
    EXPECT_EQ(g->Col(), 1);
    EXPECT_EQ(g->Cells(2, 1), "Beta");
}

TEST_F(EditorsTest, TheEditButtonGoesThroughEllipsClickAndTheNumericOneRefusesMisplacedSigns)
{
    editors[1] = edEditBtn;
    editors[2] = edNumericEditBtn;
    g->OnEllipsClick = [](TObject*, int c, int r, std::string& s) { s = s + "@" + std::to_string(c) + std::to_string(r); };
    g->SetCells(1, 1, "v");
    Open();
    TGridEditBtn* e = g->GridEditBtn();
    // A press on the embedded button.
    TWinControl* box = e->ButtonContainer();
    SendMouse(box, WM_LBUTTONDOWN, 3, 3);
    SendMouse(box, WM_LBUTTONUP, 3, 3);
    EXPECT_EQ(e->Text(), "v@11");
    EXPECT_EQ(e->SelLength(), 4);
    Key(VK_RETURN);
    EXPECT_EQ(g->Cells(1, 1), "v@11");
    int beeps = 0;
    TBeepHook old = SetBeepHook([&](UINT) { ++beeps; });
    At(2, 1);
    g->SetCells(2, 1, "");
    Open();
    Type("-1-2a");
    EXPECT_EQ(e->Text(), "-12");
    EXPECT_EQ(beeps, 2);
    SetBeepHook(old);
    Key(VK_ESCAPE);
    EXPECT_EQ(g->Cells(2, 1), "");
}

TEST_F(EditorsTest, TheCheckBoxTogglesBySpaceAndPressAndEnterEndsIt)
{
    editors[1] = edCheckBox;
    g->SetCells(1, 1, "box");
    Open();
    TGridCheckBox* cb = g->GridCheckBox();
    ASSERT_TRUE(cb->Visible());
    EXPECT_EQ(Focus(), cb);
    ExpectInCell(cb, 1, 1);
    EXPECT_EQ(cb->Caption(), "box");
    EXPECT_FALSE(cb->Checked());
    Key(VK_SPACE);
    EXPECT_TRUE(cb->Checked());
    ClickAt(cb, 4, 4);  // the press toggles once
    EXPECT_FALSE(cb->Checked());
    Key(VK_RETURN);
    EXPECT_FALSE(cb->Visible());
    EXPECT_TRUE(g->Focused());
    EXPECT_EQ(g->Cells(1, 1), "box");
}

TEST_F(EditorsTest, TheButtonPassesItsCaptionThroughEllipsClickAndArrowsLeaveIt)
{
    editors[1] = editors[2] = edButton;
    g->OnEllipsClick = [](TObject*, int, int, std::string& s) { s += "+"; };
    g->SetCells(1, 1, "go");
    Open();
    TGridButton* b = g->GridButton();
    ASSERT_TRUE(b->Visible());
    ClickAt(b, 5, 5);
    EXPECT_EQ(b->Caption(), "go+");
    Key(VK_SPACE);
    EXPECT_EQ(b->Caption(), "go++");
    Key(VK_RIGHT);
    EXPECT_FALSE(b->Visible());
    EXPECT_EQ(g->Col(), 2);
    EXPECT_EQ(g->Cells(1, 1), "go");  // nothing is written
}

TEST_F(EditorsTest, AClickOnTheCurrentCellOpensTheControlAndAClickElsewhereCommitsIt)
{
    editors[1] = edEditBtn;
    NoSevens();
    const TRect cell = g->CellRect(1, 1);
    ClickAt(g, cell.Left + 5, cell.Top + 5);
    ASSERT_TRUE(g->EditActive);
    ASSERT_EQ(Focus(), g->GridEditBtn());
    SelectAllIn(Focus());
    Type("27");
    const TRect other = g->CellRect(3, 2);
    ClickAt(g, other.Left + 5, other.Top + 5);
    // Refused: the current cell stays and the control keeps the value.
    EXPECT_EQ(g->Col(), 1);
    EXPECT_TRUE(g->EditActive);
    EXPECT_EQ(g->GridEditBtn()->Text(), "27");
    g->GridEditBtn()->SetText("26");
    ClickAt(g, other.Left + 5, other.Top + 5);
    EXPECT_FALSE(g->EditActive);
    EXPECT_EQ(g->Col(), 3);
    EXPECT_EQ(g->Cells(1, 1), "26");
}

TEST_F(EditorsTest, AControlMadeForAnotherOwnerIsRefused)
{
    EXPECT_THROW(TGridSpin{form}, base::Exception);
    EXPECT_THROW(TGridCombo{form}, base::Exception);
}

TEST_F(EditorsTest, TheDatePickerStepsTypesAndDropsItsCalendar)
{
    testsupport::DayMonthYearSettings dates;
    editors[1] = edDateEdit;
    editors[2] = edTimeEdit;
    editors[3] = edDateEditUpDown;
    g->SetDates(1, 1, base::EncodeDate(2026, 12, 10));
    Open();
    TGridDatePicker* p = g->GetDateTimePicker();
    ASSERT_EQ(g->ActiveEditControl, p);
    ExpectInCell(p, 1, 1);
    EXPECT_EQ(Focus(), p);
    EXPECT_EQ(p->DisplayText(), g->Cells(1, 1));
    Key(VK_UP);  // the day field
    EXPECT_EQ(p->Date(), base::EncodeDate(2026, 12, 11));
    Key(VK_RIGHT);
    Type("03");  // the month typed, then on to the year
    EXPECT_EQ(p->Date(), base::EncodeDate(2026, 3, 11));
    EXPECT_EQ(p->Field(), 2);
    // The calendar: keys move the day while it is down, Enter closes it and stays in the cell.
    Key(VK_F4);
    ASSERT_TRUE(p->Dropped());
    Key(VK_RIGHT);
    Key(VK_RETURN);
    EXPECT_FALSE(p->Dropped());
    EXPECT_TRUE(g->EditActive);
    EXPECT_EQ(p->Date(), base::EncodeDate(2026, 3, 12));
    // A click on a day of the calendar picks it.
    Key(VK_DOWN, ssAlt);
    ASSERT_TRUE(p->Dropped());
    const base::TDateTime pick = base::EncodeDate(2026, 3, 20);
    const TRect day = p->CalendarDayRect(pick);
    ClickAt(p->Calendar(), day.Left + 3, day.Top + 3);
    EXPECT_FALSE(p->Dropped());
    EXPECT_EQ(p->Date(), pick);
    Key(VK_RETURN);
    EXPECT_FALSE(g->EditActive);
    EXPECT_EQ(g->GetDates(1, 1), pick);
    // Escape over a cell that holds no date: the picker shows the present day, the cell stays.
    g->SetCells(1, 1, "soon");
    Open();
    EXPECT_NEAR(p->DateTime(), base::Now(), 1.0);
    Key(VK_ESCAPE);
    EXPECT_FALSE(g->EditActive);
    EXPECT_EQ(g->Cells(1, 1), "soon");
    // The time kind.
    At(2, 1);
    g->SetTimes(2, 1, base::EncodeTime(8, 30, 0, 0));
    Open();
    ASSERT_EQ(g->ActiveEditControl, p);
    Key(VK_UP);
    Key(VK_RETURN);
    EXPECT_NEAR(g->GetTimes(2, 1), base::EncodeTime(9, 30, 0, 0), 1e-6);
    // The up-down mode steps with its buttons.
    g->SetOptions(g->Options() | goTabs);
    At(3, 1);
    g->SetDates(3, 1, base::EncodeDate(2026, 1, 31));
    Open();
    ClickAt(p, p->ClientWidth() - 4, 2);
    EXPECT_EQ(p->Date(), base::EncodeDate(2026, 1, 1));  // the day wraps within the month
    Key(VK_TAB);
    EXPECT_EQ(g->GetDates(3, 1), base::EncodeDate(2026, 1, 1));
}

TEST_F(EditorsTest, TheRichTextEditorIsLaidOverTheCellAndItsTextKeptWhenLeft)
{
    editors[1] = edRichEdit;
    g->SetCells(1, 1, "plain");
    SendChar(g, 'W');
    ASSERT_TRUE(ProcessUntil([&] { return g->EditActive && g->ActiveEditControl && g->ActiveEditControl->Visible(); }, 200));
    TWinControl* ed = g->ActiveEditControl;
    ASSERT_EQ(ed, static_cast<TWinControl*>(g->RichEditor()));
    ExpectInCell(ed, 1, 1);
    ProcessMessages();  // the typed character arrives
    // Another cell clicked: the editor's text goes into the cell.
    const TRect other = g->CellRect(2, 2);
    ClickAt(g, other.Left + 5, other.Top + 5);
    EXPECT_FALSE(g->EditActive);
    EXPECT_FALSE(ed->Visible());
    EXPECT_EQ(g->Col(), 2);
    EXPECT_EQ(g->RichCellText(1, 1), "W");
}

TEST_F(EditorsTest, TheComboListTakesItsDefaultItemObjectsAndAWideDropDown)
{
    editors[1] = edComboList;
    TObject marker;
    g->AddComboString("one");
    g->AddComboStringObject("two", &marker);
    g->AddComboString("a rather long item that needs a wide list");
    EXPECT_EQ(g->GetComboCount(), 3);
    EXPECT_FALSE(g->SetComboSelectionString("none"));
    EXPECT_EQ(g->ComboDefaultIndex, -1);
    EXPECT_TRUE(g->SetComboSelectionString("two"));
    EXPECT_TRUE(g->RemoveComboString("one"));
    EXPECT_FALSE(g->RemoveComboString("one"));
    g->SetComboSelection(0);
    TObject* seen = nullptr;
    g->OnComboObjectChange = [&](TObject*, int, int, int, const std::string&, TObject* o) { seen = o; };
    g->Navigation.AutoComboDropSize = true;
    g->SetCells(1, 1, "absent");
    Open();
    TGridCombo* cb = g->GridCombo();
    ASSERT_EQ(g->ActiveEditControl, cb);
    EXPECT_EQ(cb->ItemIndex(), 0);  // the default item for a text that is not in the list
    EXPECT_GT(cb->DroppedWidth(), cb->Width());
    HostWheel(cb, 4, 4, -120);
    EXPECT_EQ(seen, nullptr);  // the long item has none
    HostWheel(cb, 4, 4, 120);
    EXPECT_EQ(seen, &marker);
    // Escape shows the cell's own text again and writes nothing.
    Key(VK_ESCAPE);
    EXPECT_EQ(g->Cells(1, 1), "absent");
}

TEST_F(EditorsTest, EscapeOnTheButtonPutsTheCellBackAndTheDatePickerShowsNoFrame)
{
    editors[1] = edButton;
    editors[2] = edDateEdit;
    g->SetCells(1, 1, "go");
    Open();
    ASSERT_TRUE(g->GridButton()->Visible());
    g->SetCells(1, 1, "changed meanwhile");
    Key(VK_ESCAPE);
    EXPECT_FALSE(g->GridButton()->Visible());
    EXPECT_EQ(g->Cells(1, 1), "go");  // RestoreCache: the text from when editing began
    At(2, 1);
    Open();
    TGridDatePicker* p = g->GetDateTimePicker();
    ASSERT_TRUE(p->Visible());
    auto bmp = PaintToBitmap(p);
    const TColor window = TColor(ColorToRGB(clWindow));
    for (int x : {0, 1, p->Width() / 2, p->Width() - 1})
        for (int y : {0, 1, p->Height() - 1}) EXPECT_EQ(bmp->Canvas()->Pixel(x, y), window) << x << "," << y;
    Key(VK_ESCAPE);
}

TEST_F(EditorsTest, TheFloatSpinStepsByItsIncrementAndCtrlKeepsKeysInTheButtonEdit)
{
    editors[1] = edFloatSpinEdit;
    editors[2] = edEditBtn;
    std::vector<double> floats;
    g->OnFloatSpinClick = [&](TObject*, int, int, double v, bool) { floats.push_back(v); };
    g->SetCells(1, 1, "1.5");
    Open();
    TGridSpin* s = g->GridSpin();
    s->IncrementFloat = 0.25;
    s->MaxFloatValue = 10;
    Key(VK_PRIOR);
    EXPECT_DOUBLE_EQ(s->FloatValue(), 1.75);
    s->UpClick();
    EXPECT_DOUBLE_EQ(s->FloatValue(), 2.0);
    EXPECT_EQ(floats, std::vector<double>{2.0});  // the buttons raise the float event, the keys the integer one
    Key(VK_RETURN);
    EXPECT_DOUBLE_EQ(g->GetFloats(1, 1), 2.0);
    // Ctrl with an arrow stays in the edit with a button.
    At(2, 1);
    g->SetCells(2, 1, "abc");
    Open();
    Key(VK_DOWN, ssCtrl);
    EXPECT_TRUE(g->EditActive);
    EXPECT_EQ(g->Row(), 1);
    Key(VK_DOWN);
    EXPECT_FALSE(g->EditActive);
    EXPECT_EQ(g->Row(), 2);
}

TEST_F(EditorsTest, FloatAndDateSpinsStoreTheirValueAsTheTypedSettersWriteIt)
{
    testsupport::DayMonthYearSettings dates;
    struct Spin {
        TEditorType type;
        std::string format, start, typed, kept;
    };
    const std::vector<Spin> cases = {
        {edFloatSpinEdit, "%.3f", "1.5", "2.5", "2.500"},
        {edFloatSpinEdit, "%.1f", "1", "3.14159", "3.1"},
        {edFloatSpinEdit, "%d", "1", "2.5", "2.5"},  // no float format: the typed text is kept
        {edDateSpinEdit, "%.2f", "10/12/2026", "1/2/2026", "01/02/2026"},
    };
    std::vector<std::string> seen;
    g->OnCellValidate = [&](TObject*, int, int, std::string& v, bool&) { seen.push_back(v); };
    for (const Spin& k : cases) {
        SCOPED_TRACE(k.typed);
        editors[1] = k.type;
        g->FloatFormat = k.format;
        At(1, 1);
        g->SetCells(1, 1, k.start);
        seen.clear();
        Open();
        ASSERT_TRUE(g->EditActive);
        SelectAllIn(Focus());
        Type(k.typed);
        EXPECT_EQ(g->GridSpin()->Text(), k.typed);
        Key(VK_RETURN);
        EXPECT_FALSE(g->EditActive);
        EXPECT_EQ(g->Cells(1, 1), k.kept);
        EXPECT_EQ(seen, std::vector<std::string>{k.kept});  // the handler judges the stored form
    }
    // The same holds when Up commits and leaves the cell.
    editors[1] = edFloatSpinEdit;
    g->FloatFormat = "%.2f";
    At(1, 2);
    g->SetCells(1, 2, "4");
    Open();
    SelectAllIn(Focus());
    Type("7.5");
    Key(VK_UP);
    EXPECT_EQ(g->Row(), 1);
    EXPECT_EQ(g->Cells(1, 2), "7.50");
}

TEST_F(EditorsTest, TheEditableCombosFillTheirCellAndTheListStyleKeepsItsItemHeight)
{
    g->AddComboString("pear");
    g->GridUniCombo()->Items().Add(u"plum");
    const int fontItem = g->GridCombo()->ItemHeight();
    struct Size {
        TEditorType type;
        int rowHeight;
    };
    for (const Size& k : std::vector<Size>{{edComboList, 30}, {edComboEdit, 22}, {edComboEdit, 34}, {edUniComboEdit, 28}}) {
        SCOPED_TRACE(std::to_string(int(k.type)) + " " + std::to_string(k.rowHeight));
        editors[1] = k.type;
        g->SetRowHeights(1, k.rowHeight);
        At(1, 1);
        Open();
        auto* cb = dynamic_cast<TCustomComboBox*>(g->ActiveEditControl);
        ASSERT_TRUE(cb);
        const TRect cell = g->CellRect(1, 1);
        const int box = cell.Height() - 1;
        if (k.type == edComboList) {
            EXPECT_EQ(cb->ItemHeight(), fontItem);
        } else {
            EXPECT_EQ(cb->ItemHeight(), box - 6);
            EXPECT_EQ(cb->Top(), cell.Top);
            EXPECT_EQ(cb->Height(), box);  // one row high whatever height was asked for
        }
        EXPECT_EQ(cb->Left(), cell.Left);
        EXPECT_EQ(cb->Width(), cell.Width() - 1);
        if (const char* dir = std::getenv("KORVELO_GRID_PNG"))
            PaintToBitmap(form)->SaveToFile(std::string(dir) + "/combo_" + std::to_string(k.rowHeight) + ".png");
        Key(VK_ESCAPE);
        EXPECT_FALSE(g->EditActive);
    }
}
