// The typed edit's label, state colours, prompt, flat and 3D borders on pixels, and
// dragging text from one edit to another.
#include "EditFixture.h"

#include "platform/controls/ExtCtrls.h"
#include "platform/controls/StdCtrls.h"
#include "platform/graphics/Graphics.h"
#include "platform/system/Clipboard.h"
#include "widgets/edit/ExEdDD.h"

using namespace edit;
using namespace platform;
using edittest::EditTest;
using edittest::LookAt;

namespace {

TColor PixelAt(TBitmap& b, int x, int y) { return b.Canvas()->Pixel(x, y); }

TEST_F(EditTest, LabelSitsWhereItsPositionSays)
{
    e->SetBounds(150, 100, 100, 21);
    e->SetLabelCaption("Start Draught");
    TLabel* l = e->Label();
    ASSERT_NE(l, nullptr);
    const int w = l->Width(), h = l->Height();
    l->Canvas()->Font().Assign(*l->Font());
    const int tw = l->Canvas()->TextWidth("Start Draught");
    const struct {
        TLabelPosition pos;
        int left, top;
    } cases[] = {
        {lpLeftTop, 150 - tw - 4, 100},         {lpLeftCenter, 150 - tw - 4, 100 + (21 - h) / 2},
        {lpLeftBottom, 150 - tw - 4, 121 - h},  {lpTopLeft, 150, 100 - h - 4},
        {lpBottomLeft, 150, 125},               {lpLeftTopLeft, 146, 100},
        {lpTopCenter, 150 + (100 - w) / 2, 100 - h - 4}, {lpBottomCenter, 150 + (100 - w) / 2, 125},
    };
    for (const auto& c : cases) {
        e->SetLabelPosition(c.pos);
        EXPECT_EQ(l->Left(), c.left) << c.pos;
        EXPECT_EQ(l->Top(), c.top) << c.pos;
    }
    // A label wider than its edit centres over it (signed halves).
    e->SetBounds(150, 100, 20, 21);
    e->SetLabelPosition(lpTopCenter);
    EXPECT_EQ(l->Left(), 150 + (20 - w) / 2);
    EXPECT_LT(l->Left(), 150);
    // Moving the edit moves the label; disabling greys it out.
    e->SetLabelPosition(lpTopLeft);
    e->SetLabelMargin(2);
    e->SetBounds(20, 60, 100, 21);
    EXPECT_EQ(l->Left(), 20);
    EXPECT_EQ(l->Top() + h + 2, 60);
    e->SetEnabled(false);
    EXPECT_FALSE(l->Enabled());
    e->SetLabelAlwaysEnabled(true);
    EXPECT_TRUE(l->Enabled());
}

TEST_F(EditTest, StateColoursOnPixels)
{
    e->SetColor(clRed);
    e->SetText("12");
    auto normal = PaintToBitmap(e);
    EXPECT_EQ(PixelAt(*normal, 100, 10), clRed);
    e->SetEnabled(false);
    auto disabled = PaintToBitmap(e);
    EXPECT_EQ(PixelAt(*disabled, 100, 10), clSilver);
    e->SetEnabled(true);
    EXPECT_EQ(PaintToBitmap(e)->Canvas()->Pixel(100, 10), clRed);
    e->FocusColor = clYellow;
    e->SetFocus();
    EXPECT_EQ(PaintToBitmap(e)->Canvas()->Pixel(100, 10), clYellow);
}

// Pixels of the text area that are not the background.
int Inked(TBitmap& b)
{
    int n = 0;
    for (int y = 4; y < b.Height() - 4; ++y)
        for (int x = 8; x < 90; ++x) n += PixelAt(b, x, y) != clWhite;
    return n;
}

TEST_F(EditTest, EmptyTextPromptShowsOnlyUnfocused)
{
    e->SetColor(clWhite);
    e->SetEmptyText("Enter a draught");
    e->SetText("");
    auto bmp = PaintToBitmap(e);
    LookAt(*bmp, "edit-empty-text");
    EXPECT_GT(Inked(*bmp), 40);
    bool greyOnly = true;  // the prompt is grey
    for (int y = 4; y < bmp->Height() - 4; ++y)
        for (int x = 8; x < 90; ++x) {
            const TColor c = PixelAt(*bmp, x, y);
            greyOnly = greyOnly && (c & 0xFF) == ((c >> 8) & 0xFF) && (c & 0xFF) >= 0x70;
        }
    EXPECT_TRUE(greyOnly);
    e->SetFocus();
    EXPECT_EQ(Inked(*PaintToBitmap(e)), 0);
}

TEST_F(EditTest, FlatAndThreeDBorders)
{
    form->SetColor(clBtnFace);
    e->SetColor(clWhite);
    e->SetFlatLineColor(clBlue);
    e->SetText("1.5");
    auto plain = PaintToBitmap(e);
    e->SetFlat(true);
    EXPECT_EQ(e->BorderStyle(), bsNone);
    EXPECT_EQ(e->Color(), form->Color());
    auto flat = PaintToBitmap(e);
    LookAt(*flat, "edit-flat");
    // The underline along the bottom, the parent's colour above it.
    EXPECT_EQ(PixelAt(*flat, 60, e->Height() - 1), clBlue);
    EXPECT_EQ(PixelAt(*flat, 120, 3), ColorToRGB(clBtnFace));
    e->SetFlat(false);
    EXPECT_EQ(e->BorderStyle(), bsSingle);
    EXPECT_EQ(e->Color(), clWhite);
    e->SetBorder3D(true);
    auto threeD = PaintToBitmap(e);
    LookAt(*threeD, "edit-3d");
    EXPECT_EQ(PixelAt(*threeD, 60, 0), ColorToRGB(clBtnShadow));
    (void)plain;
}

TEST_F(EditTest, ErrorMarkersUnderlineInRed)
{
    e->SetColor(clWhite);
    e->SetText("wrong word");
    e->SetErrorMarker(0, 5);
    auto bmp = PaintToBitmap(e);
    LookAt(*bmp, "edit-error-marker");
    // The red pixels right of x0 (the second word's start when the marker moves there).
    auto red = [&](TBitmap& b, int x0) {
        int n = 0;
        for (int y = 0; y < b.Height(); ++y)
            for (int x = x0; x < b.Width(); ++x) n += PixelAt(b, x, y) == clRed;
        return n;
    };
    EXPECT_GT(red(*bmp, 0), 10);
    const int second = e->PosFromChar(6).X + e->FrameWidth();
    EXPECT_EQ(red(*bmp, second + 2), 0);
    // Position and length set one at a time: the marker under "word".
    e->SetErrorMarkerPos(6);
    e->SetErrorMarkerLen(4);
    EXPECT_EQ(e->ErrorMarkerPos(), 6);
    EXPECT_EQ(e->ErrorMarkerLen(), 4);
    EXPECT_GT(red(*PaintToBitmap(e), second + 2), 10);
}

// ---------------------------------------------------------------- drag and drop

class DragTest : public EditTest {
protected:
    void SetUp() override
    {
        EditTest::SetUp();
        e->SetBounds(10, 10, 150, 21);
        target = New(10, 80);
        target->SetBounds(10, 80, 150, 21);
        for (TExEdit* ed : {e, target}) {
            ed->OleDropSource = true;
            ed->SetOleDropTarget(true);
        }
        e->SetText("alpha beta");
        target->SetText("xy");
        e->SetFocus();
        e->Perform(EM_SETSEL, 6, 10);  // "beta"
    }
    // Presses in the selection, then drags to (x, y) of `over` and lets go there.
    void Drag(TExEdit* over, int x, int y, UINT keys = 0)
    {
        const TPoint start = e->PosFromChar(8);
        SendMouse(e, WM_LBUTTONDOWN, start.X, start.Y + 3);
        const TPoint p = e->ScreenToClient(over->ClientToScreen(Point(x, y)));
        PostMessage(e->Handle(), WM_MOUSEMOVE, MK_LBUTTON | keys, MakeLParam(p.X, p.Y));
        PostMessage(e->Handle(), WM_LBUTTONUP, keys, MakeLParam(p.X, p.Y));
        SendMouse(e, WM_MOUSEMOVE, start.X + 6, start.Y + 3, ssLeft);
    }
    TExEdit* target = nullptr;
};

TEST_F(DragTest, DragToAnotherEditMovesTheText)
{
    const TPoint end = target->PosFromChar(2);
    Drag(target, end.X + 2, 5);
    EXPECT_EQ(target->Text(), "xybeta");
    EXPECT_EQ(e->Text(), "alpha ");
}

TEST_F(DragTest, DragWithCtrlCopies)
{
    const TPoint mid = target->PosFromChar(1);
    Drag(target, mid.X, 5, MK_CONTROL);
    EXPECT_EQ(target->Text(), "xbetay");
    EXPECT_EQ(e->Text(), "alpha beta");
}

TEST_F(DragTest, DragOntoItsOwnSelectionInsertsNothingAndWithinMoves)
{
    const TPoint own = e->PosFromChar(8);
    Drag(e, own.X, 5);
    EXPECT_EQ(e->Text(), "alpha beta");
    e->Perform(EM_SETSEL, 6, 10);
    const TPoint front = e->PosFromChar(0);
    Drag(e, front.X, 5);
    EXPECT_EQ(e->Text(), "betaalpha ");
}

TEST_F(DragTest, ATypedEditRefusesWhatItsTypeRefuses)
{
    target->SetEditType(etFloat);
    target->SetPrecision(2);
    target->SetText("1.5");
    Drag(target, 5, 5);
    EXPECT_EQ(target->Text(), "1.50");
    EXPECT_EQ(e->Text(), "alpha beta");  // a refused drop moves nothing
}

TEST(DropTarget, AFailingHandlerIsReportedAndRefusesTheDrop)
{
    struct Failing : TAEDropTarget {
        void DropText(TPoint, const std::string&) override { throw std::runtime_error("assertion failed"); }
    } t;
    std::string reported;
    SetDragDropErrorHandler([&](const std::string& m) { reported = m; });
    TSourceDataObject data("text", "");
    int effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    t.DragEnter(data, MK_LBUTTON, Point(0, 0), effect);
    EXPECT_EQ(effect, DROPEFFECT_MOVE);
    t.Drop(data, 0, Point(0, 0), effect);
    EXPECT_EQ(effect, DROPEFFECT_NONE);
    EXPECT_NE(reported.find("assertion failed"), std::string::npos);
    // A data object that cannot list its formats is refused the same way.
    struct NoFormats : TDataObject {
        HRESULT QueryGetData(unsigned) const override { return DV_E_FORMATETC; }
        HRESULT GetData(unsigned, std::string&) const override { return DV_E_FORMATETC; }
        bool EnumFormats(std::vector<unsigned>&) const override { return false; }
    } none;
    reported.clear();
    t.DragEnter(none, MK_LBUTTON, Point(0, 0), effect);
    EXPECT_EQ(effect, DROPEFFECT_NONE);
    EXPECT_NE(reported.find("Cannot get the format enumerator"), std::string::npos);
    SetDragDropErrorHandler(nullptr);
}

TEST(DropTarget, SourceFormatsAndFiles)
{
    TSourceDataObject data("ab", "{\\rtf1}");
    std::string block;
    EXPECT_EQ(data.GetData(CF_TEXT, block), S_OK);
    EXPECT_EQ(block, std::string("ab\0", 3));
    EXPECT_EQ(data.GetData(CF_UNICODETEXT, block), S_OK);
    EXPECT_EQ(block, std::string("a\0b\0\0\0", 6));
    EXPECT_EQ(data.GetData(CF_RTF(), block), DV_E_FORMATETC);  // rich text is off
    TSourceDataObject empty("", "");
    EXPECT_EQ(empty.GetData(CF_TEXT, block), S_OK);
    EXPECT_EQ(block.size(), 1u);
    struct Files : TDataObject {
        HRESULT QueryGetData(unsigned f) const override { return f == CF_HDROP ? S_OK : DV_E_FORMATETC; }
        HRESULT GetData(unsigned f, std::string& b) const override
        {
            b = MakeFileDropBlock({"/tmp/a.txt", "/tmp/b.txt"}, true);
            return QueryGetData(f);
        }
        bool EnumFormats(std::vector<unsigned>& f) const override
        {
            f = {CF_HDROP};
            return true;
        }
    } files;
    struct Target : TAEDropTarget {
        std::vector<std::string> got;
        void DropFiles(TPoint, const std::vector<std::string>& f) override { got = f; }
    } t;
    int effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    t.DragEnter(files, MK_LBUTTON | MK_CONTROL, Point(0, 0), effect);
    EXPECT_EQ(effect, DROPEFFECT_COPY);
    t.Drop(files, MK_CONTROL, Point(0, 0), effect);
    EXPECT_EQ(t.got, (std::vector<std::string>{"/tmp/a.txt", "/tmp/b.txt"}));
}

}  // namespace

namespace {

TEST_F(EditTest, ATransparentEditShowsItsParentsDrawingBehindTheText)
{
    using namespace platform;
    form->SetColor(clLime);
    auto* t = new edit::TExEdit(form);
    t->SetParent(form);
    t->SetBounds(10, 10, 150, 24);
    t->SetColor(clWhite);
    t->SetText("W");
    auto inside = [&] {
        auto shot = GrabWindow(form);
        const TPoint at = form->ScreenToClient(t->ClientToScreen(Point(t->ClientWidth() - 20, t->ClientHeight() / 2)));
        return shot->Canvas()->Pixel(at.X, at.Y);
    };
    EXPECT_EQ(inside(), ColorToRGB(clWhite));
    t->SetTransparent(true);
    EXPECT_TRUE(t->Transparent());
    EXPECT_EQ(inside(), ColorToRGB(clLime));
    t->SetText("WWW");  // still drawn over the parent
    EXPECT_EQ(inside(), ColorToRGB(clLime));
}

// A red disc drawn by the parent as one of its graphic controls.
class TDisc : public platform::TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
    void Paint() override
    {
        Canvas()->Brush().SetColor(platform::clRed);
        Canvas()->Pen().SetColor(platform::clRed);
        Canvas()->Ellipse(0, 0, Width(), Height());
    }
};

TEST_F(EditTest, ATransparentEditShowsTheShapesUnderIt)
{
    using namespace platform;
    form->SetColor(clLime);
    auto* disc = new TDisc(form);
    disc->SetParent(form);
    disc->SetBounds(100, 150, 60, 60);
    auto* t = new edit::TExEdit(form);
    t->SetParent(form);
    t->SetBounds(80, 170, 150, 24);
    t->SetColor(clWhite);
    t->SetText("W");
    t->SetTransparent(true);
    auto shot = GrabWindow(form);
    edittest::LookAt(*shot, "transparent-edit-over-shape");
    auto at = [&](int x) {
        const TPoint p = form->ScreenToClient(t->ClientToScreen(Point(x, t->ClientHeight() / 2)));
        return shot->Canvas()->Pixel(p.X, p.Y);
    };
    const int discMiddle = 100 + 30 - t->Left() - t->FrameWidth();
    EXPECT_EQ(at(discMiddle), ColorToRGB(clRed));         // the shape shows through
    EXPECT_EQ(at(t->ClientWidth() - 10), ColorToRGB(clLime));  // and the parent beside it
}

TEST_F(EditTest, SetCaretByCursorPutsTheCaretUnderThePointer)
{
    using namespace platform;
    TPoint saved;
    GetCursorPos(saved);
    e->SetText("abcdef");
    e->SetFocus();
    const TPoint p = e->ClientToScreen(e->PosFromChar(3));
    SetCursorPos(p.X + 1, p.Y + 2);
    e->SetCaretByCursor();
    EXPECT_EQ(e->SelStart(), 3);
    EXPECT_EQ(e->SelLength(), 0);
    SetCursorPos(saved.X, saved.Y);
    Application->ProcessMessages();
}

}  // namespace
