// Rich-text cells: RTF between cells and the grid's rich edits, painting bold and
// coloured runs, measuring, the editor's offsets, growth while typing and its keys.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "platform/TestRig.h"
#include "platform/controls/RichEdit.h"
#include "platform/graphics/Graphics.h"
#include "platform/graphics/Rtf.h"
#include "widgets/grid/ExGrid.h"
#include "widgets/grid/ExRichEdit.h"
#include "GridWindow.h"

using namespace platform;
using namespace grid;

namespace {

const std::string kHead = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}{\\colortbl ;\\red255\\green0\\blue0;}\\fs24 ";

struct RichTest : ::testing::Test, gridtest::GridWindow {
    void SetUp() override
    {
        Open(520, 320, 4, 6);
        g->SetBorderStyle(bsNone);
        g->SetScrollBars(ssNone);
        g->SetFixedCols(0);
        g->SetFixedRows(1);
        g->SetDefaultColWidth(120);
        g->HandleNeeded();
    }
    void TearDown() override { Close(); }
    std::unique_ptr<TBitmap> Shot(const char* name)
    {
        auto b = PaintToBitmap(g);
        if (const char* dir = std::getenv("KORVELO_GRID_PNG")) b->SaveToFile(std::string(dir) + "/" + name + ".png");
        return b;
    }
    static bool Red(COLORREF c) { return GetRValue(c) > 190 && GetGValue(c) < 90 && GetBValue(c) < 90; }
    static int Count(TBitmap& b, const TRect& r, bool (*pred)(COLORREF))
    {
        int n = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                if (pred(ColorToRGB(b.Canvas()->Pixel(x, y)))) ++n;
        return n;
    }
    static bool Dark(COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 0x60; }
};

TEST_F(RichTest, DrawsBoldAndColouredRuns)
{
    g->SetCells(0, 1, kHead + "\\b WWWW\\b0\\par}");
    g->SetCells(1, 1, kHead + "WWWW\\par}");
    g->SetCells(2, 1, kHead + "\\cf1 WWWW\\cf0  x\\par}");
    g->SetCol(3);
    g->SetRow(5);
    auto b = Shot("rich-cells");
    const TRect bold = g->CellRect(0, 1), plain = g->CellRect(1, 1), red = g->CellRect(2, 1);
    const int boldInk = Count(*b, bold, Dark), plainInk = Count(*b, plain, Dark);
    EXPECT_GT(plainInk, 20);
    EXPECT_GT(boldInk, plainInk * 12 / 10);
    EXPECT_GT(Count(*b, red, Red), 20);
    EXPECT_EQ(Count(*b, bold, Red), 0);
    EXPECT_GT(Count(*b, red, Dark), 0);  // the automatic-colour "x"
    // Nothing drawn over the neighbouring cell.
    EXPECT_EQ(Count(*b, g->CellRect(3, 1), Dark), 0);
}

TEST_F(RichTest, SelectedCellsTakeTheSelectionTextColourUnlessKept)
{
    g->SetCells(1, 2, kHead + "\\cf1 WWWW\\par}");
    g->SelectionTextColor = clBlue;
    g->SetCol(1);
    g->SetRow(2);
    g->SetSelection({1, 2, 2, 3});
    const TRect r = g->CellRect(1, 2);
    auto b = Shot("rich-selected");
    EXPECT_EQ(Count(*b, r, Red), 0);
    EXPECT_GT(Count(*b, r, [](COLORREF c) { return GetBValue(c) > 190 && GetRValue(c) < 90 && GetGValue(c) < 90; }),
              20);
    g->SelectionRTFKeep = true;
    b = Shot("rich-selected-kept");
    EXPECT_GT(Count(*b, r, Red), 20);
}

TEST_F(RichTest, CellsAndRichEditsExchangeRtf)
{
    const std::string rtf = kHead + "a\\b b\\i c\\i0\\b0\\ul d\\ulnone  \\cf1 e\\cf0\\par second\\par}";
    g->SetCells(0, 1, rtf);
    TExRichEdit* e = g->RichEditor();
    g->CellToRich(0, 1, e);
    EXPECT_EQ(e->PlainText(), "abcd e\r\nsecond");
    g->RichToCell(1, 1, e);
    TRichContent was, now;
    ASSERT_TRUE(ReadRTF(rtf, was));
    ASSERT_TRUE(ReadRTF(g->Cells(1, 1), now));
    EXPECT_TRUE(was == now) << g->Cells(1, 1);
    // Copying the selection gives the plain text.
    g->SetSelection({0, 1, 1, 1});
    EXPECT_EQ(g->SelectedText(), "abcd e\r\nsecond\tabcd e\r\nsecond");
    // An empty cell clears the edit; an empty edit writes a document without text.
    g->CellToRich(3, 1, e);
    EXPECT_EQ(e->PlainText(), "");
    g->RichToCell(2, 1, e);
    TRichContent empty;
    ASSERT_TRUE(ReadRTF(g->Cells(2, 1), empty));
    EXPECT_EQ(empty.PlainText(), "");
    // A cell that starts like RTF but is none is shown as it is, nothing lost.
    g->SetCells(3, 1, "{\\b not rtf}");
    g->CellToRich(3, 1, e);
    EXPECT_EQ(e->PlainText(), "{\\b not rtf}");
}

TEST_F(RichTest, RaisedAndLoweredSelection)
{
    TExRichEdit* e = g->RichEditor();
    int changes = 0;
    g->OnRichEditSelectionChange = [&](TObject* Sender) {
        EXPECT_EQ(Sender, g);
        ++changes;
    };
    e->SetText("H2O");
    e->SetSelStart(1);
    e->SetSelLength(1);
    EXPECT_EQ(changes, 2);  // the editor's selection changes reach the grid's event
    const struct {
        void (TExRichEdit::*set)();
        bool normal, sub, super;
    } cases[] = {{&TExRichEdit::SelSuperscript, false, false, true},
                 {&TExRichEdit::SelSubscript, false, true, false},
                 {&TExRichEdit::SelNormal, true, false, false}};
    for (const auto& c : cases) {
        (e->*c.set)();
        EXPECT_EQ(e->IsSelNormal(), c.normal);
        EXPECT_EQ(e->IsSelSubscript(), c.sub);
        EXPECT_EQ(e->IsSelSuperscript(), c.super);
    }
    e->SelSubscript();
    TRichContent c;
    ASSERT_TRUE(ReadRTF(g->RichToString(e), c));
    ASSERT_EQ(c.Paragraphs[0].Runs.size(), 3u);
    EXPECT_EQ(c.Paragraphs[0].Runs[1].Format.Offset, -40);
}

TEST_F(RichTest, MeasuresRichCells)
{
    g->SetCells(0, 1, kHead + "one\\par}");
    g->SetCells(1, 1, kHead + "one\\par two\\par three\\par}");
    g->SetCells(2, 1, kHead + "\\fs48 one\\par}");
    const TSize one = g->GetCellTextSize(0, 1, false), three = g->GetCellTextSize(1, 1, false),
                big = g->GetCellTextSize(2, 1, false);
    EXPECT_GT(one.cx, 10);
    EXPECT_GT(one.cy, 10);
    EXPECT_GT(three.cy, one.cy * 5 / 2);
    EXPECT_GT(big.cx, one.cx * 3 / 2);
    EXPECT_GT(big.cy, one.cy * 3 / 2);
}

TEST_F(RichTest, EditorGrowsTheRowWhileTyping)
{
    g->SizeWhileTyping.Height = true;
    int grown = 0;
    g->OnEndRowSize = [&](TObject*, int ARow) {
        EXPECT_EQ(ARow, 2);
        ++grown;
    };
    g->SetCells(1, 2, kHead + "line\\par}");
    g->SetCol(1);
    g->SetRow(2);
    const int before = g->RowHeights(2);
    g->ShowRichEditor(1, 2, g->CellRect(1, 2));
    TExRichEdit* e = g->RichEditor();
    ASSERT_TRUE(e->HandleAllocated());
    EXPECT_TRUE(e->Visible());
    EXPECT_EQ(grown, 0);  // loading while locked does not grow the row
    SendKey(e, VK_END, ssCtrl);
    SendChar(e, '\r');
    SendChar(e, 'x');
    EXPECT_EQ(grown, 1);
    EXPECT_GT(g->RowHeights(2), before);
    EXPECT_EQ(e->Height() + 1, g->RowHeights(2));
    SendChar(e, 'y');  // same height: no growth
    EXPECT_EQ(grown, 1);
    SendChar(e, '\r');
    SendChar(e, 'z');
    EXPECT_EQ(grown, 2);
    Shot("rich-editor-grown");
    g->HideRichEditor(1, 2);
    EXPECT_FALSE(e->Visible());
    TRichContent c;
    ASSERT_TRUE(ReadRTF(g->Cells(1, 2), c));
    EXPECT_EQ(c.PlainText(), "line\r\nxy\r\nz");
}

TEST_F(RichTest, TheEditorUndoesAndCarriesRichTextBetweenCells)
{
    g->SetCells(1, 1, kHead + "plain \\b bold\\b0\\par}");
    g->SetCells(1, 2, kHead + "other\\par}");
    g->SetCol(1);
    g->SetRow(1);
    g->ShowRichEditor(1, 1, g->CellRect(1, 1));
    TExRichEdit* e = g->RichEditor();
    EXPECT_FALSE(e->CanUndo());  // the cell's text is where undo stops
    SendKey(e, VK_END, ssCtrl);
    SendChar(e, '!');
    SendChar(e, '!');
    EXPECT_EQ(e->PlainText(), "plain bold!!");
    SendChar(e, 26);  // Ctrl+Z
    EXPECT_EQ(e->PlainText(), "plain bold");
    e->SetSelStart(6);
    e->SetSelLength(4);
    SendChar(e, 3);  // Ctrl+C: "bold" as rich text
    g->HideRichEditor(1, 1);

    g->SetRow(2);
    g->ShowRichEditor(1, 2, g->CellRect(1, 2));
    SendKey(e, VK_END, ssCtrl);
    SendChar(e, 22);  // Ctrl+V
    g->HideRichEditor(1, 2);
    TRichContent c;
    ASSERT_TRUE(ReadRTF(g->Cells(1, 2), c));
    EXPECT_EQ(c.PlainText(), "otherbold");
    ASSERT_FALSE(c.Paragraphs.empty());
    bool bold = false;
    for (const TRichRun& r : c.Paragraphs[0].Runs) bold |= r.Text == "bold" && r.Format.Bold;
    EXPECT_TRUE(bold);
}

TEST_F(RichTest, UpAndDownLeaveTheEditorUnlessCellsHoldLines)
{
    g->SetWordWrap(false);
    g->SetCells(1, 2, kHead + "a\\par b\\par}");
    g->SetCol(1);
    g->SetRow(2);
    g->ShowRichEditor(1, 2, g->CellRect(1, 2));
    TExRichEdit* e = g->RichEditor();
    e->SetSelStart(0);
    SendKey(e, VK_DOWN);
    EXPECT_EQ(g->Row(), 3);
    EXPECT_EQ(e->SelStart(), 0);  // the caret stayed
    g->Multilinecells = true;
    g->SetRow(2);
    g->ShowRichEditor(1, 2, g->CellRect(1, 2));
    e->SetSelStart(0);
    SendKey(e, VK_DOWN);
    EXPECT_EQ(g->Row(), 2);
    EXPECT_EQ(e->SelStart(), 2);  // into the second line
}

}  // namespace

namespace {

// The rich-text editor in the grid's editing flow: F2 lays it over the cell with the
// cell's text; leaving with Down validates the RTF and writes it into the cell.
TEST(RichEditing, EditorOpensOverTheCellAndCommitsThroughValidation)
{
    gridtest::GridWindow w;
    w.Open(520, 300, 4, 5);
    TExStringGrid* g = w.g;
    g->SetFixedCols(0);
    g->SetFixedRows(1);
    g->SetDefaultColWidth(120);
    g->SetWordWrap(false);
    g->SetOptions(g->Options() | goEditing);
    g->OnGetEditorType = [](TObject*, int c, int, TEditorType& t) {
        if (c == 1) t = edRichEdit;
    };
    std::vector<std::string> validated;
    g->OnCellValidate = [&](TObject*, int, int, std::string& v, bool& ok) {
        validated.push_back(v);
        ok = true;
    };
    w.form->Show();
    g->SetFocus();
    ASSERT_TRUE(ProcessUntil([&] { return g->Focused(); }));
    g->SetCells(1, 1, kHead + "\\b bold\\b0  text\\par}");
    g->SetCol(1);
    g->SetRow(1);
    SendKey(g, VK_F2);
    Application->ProcessMessages();
    TExRichEdit* e = g->RichEditor();
    ASSERT_TRUE(e->Visible());
    EXPECT_TRUE(e->Focused());
    const TRect cell = g->CellRect(1, 1);
    EXPECT_GE(e->Left(), cell.Left - 1);
    EXPECT_LE(e->Top() + e->Height(), cell.Bottom + 1);
    EXPECT_EQ(e->PlainText(), "bold text");
    SendKey(e, VK_END, ssCtrl);
    SendChar(e, '!');
    // The focus loss that closing a link's pop-up form brings is ignored once.
    g->LinkFormClosed = true;
    g->SetFocus();
    Application->ProcessMessages();
    EXPECT_TRUE(e->Visible());
    EXPECT_FALSE(g->LinkFormClosed);
    e->SetFocus();
    Application->ProcessMessages();
    SendKey(e, VK_DOWN);
    Application->ProcessMessages();
    EXPECT_FALSE(e->Visible());
    EXPECT_EQ(g->Row(), 2);
    ASSERT_EQ(validated.size(), 1u);
    TRichContent c;
    ASSERT_TRUE(ReadRTF(g->Cells(1, 1), c));
    EXPECT_EQ(c.PlainText(), "bold text!");
    ASSERT_FALSE(c.Paragraphs[0].Runs.empty());
    EXPECT_TRUE(c.Paragraphs[0].Runs[0].Format.Bold);
    w.Close();
}

int RichEditsOf(TExStringGrid* g)
{
    int n = 0;
    for (int i = 0; i < g->ComponentCount(); ++i) n += dynamic_cast<TExRichEdit*>(g->Components(i)) != nullptr;
    return n;
}

// A grid makes its rich edits when a rich-text cell first needs one: none for a grid of
// plain cells, the painting one for the first rich cell shown, the editor when one is edited.
TEST(RichEditing, TheRichEditsAreMadeWhenFirstNeeded)
{
    gridtest::GridWindow w;
    w.Open(520, 300, 4, 5);
    TExStringGrid* g = w.g;
    g->SetFixedCols(0);
    g->SetFixedRows(1);
    g->SetOptions(g->Options() | goEditing);
    g->OnGetEditorType = [](TObject*, int c, int, TEditorType& t) {
        if (c == 1) t = edRichEdit;
    };
    EXPECT_EQ(RichEditsOf(g), 0);
    g->SetCells(0, 1, "plain");
    w.form->Show();
    g->SetFocus();
    ASSERT_TRUE(ProcessUntil([&] { return g->Focused(); }));
    PaintToBitmap(g);
    EXPECT_EQ(RichEditsOf(g), 0);
    g->SetCells(1, 1, kHead + "\\b bold\\b0\\par}");
    PaintToBitmap(g);
    EXPECT_EQ(RichEditsOf(g), 1);
    g->SetCol(1);
    g->SetRow(1);
    SendKey(g, VK_F2);
    Application->ProcessMessages();
    EXPECT_EQ(RichEditsOf(g), 2);
    TExRichEdit* e = g->RichEditor();
    ASSERT_TRUE(e->Visible());
    EXPECT_EQ(e->PlainText(), "bold");
    w.Close();
}

}  // namespace

namespace {

// Printing draws rich-text cells too: on a bitmap page in pixels, on a recording page as
// text calls in the runs' colours; a password cell prints only its mask.
TEST_F(RichTest, PrintsRichCells)
{
    g->SetCells(1, 1, kHead + "\\b bold\\b0  \\cf1 WWWW\\par}");
    g->SetCells(2, 1, kHead + "\\cf1 secret\\par}");
    g->OnIsPasswordCell = [](TObject*, int ARow, int ACol, bool& pw) { pw = ACol == 2 && ARow == 1; };
    TBitmap page(794, 1123);
    page.Canvas()->Brush().SetColor(clWhite);
    page.Canvas()->FillRect({0, 0, 794, 1123});
    g->SetPreviewPage(1);
    g->PrintPreview(page.Canvas(), {0, 0, 794, 1123});
    if (const char* dir = std::getenv("KORVELO_GRID_PNG")) page.SaveToFile(std::string(dir) + "/rich-print.png");
    EXPECT_GT(Count(page, {0, 0, 794, 1123}, Red), 20);
    TRecordingCanvas rec(794, 1123);
    g->PrintPreview(&rec, {0, 0, 794, 1123});
    std::string texts;
    for (const std::string& c : rec.Calls())
        if (c.rfind("Text ", 0) == 0) texts += c + "\n";
    EXPECT_NE(texts.find("'WWWW' color=0000ff"), std::string::npos) << texts;
    EXPECT_NE(texts.find("'bold'"), std::string::npos) << texts;
    EXPECT_EQ(texts.find("secret"), std::string::npos) << texts;
    EXPECT_EQ(texts.find("rtf1"), std::string::npos) << texts;
}

}  // namespace
