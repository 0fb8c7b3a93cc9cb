// Scrolling a window's pixels, redraw switched off and on, hint data, drag images,
// keys posted to the parent.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/controls/DragImageList.h"
#include "platform/forms/Forms.h"
#include "platform/graphics/GDI.h"
#include "platform/TestRig.h"

using namespace platform;

namespace {

// Bands of ten pixels, red and blue by turns, scrolled by Top bands; one line per
// SB_LINEDOWN, one page (five lines) per SB_PAGEDOWN, the thumb's position as it moves.
class TBands : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    int top = 0;
    int paints = 0;
    TRect lastClip;
    std::vector<std::string> log;

    void Paint() override
    {
        ++paints;
        GetClipBox(Canvas()->Handle(), &lastClip);
        for (int y = 0; y < ClientHeight(); y += 10) {
            Canvas()->Brush().SetColor(((y / 10 + top) % 2) ? clBlue : clRed);
            Canvas()->FillRect(Rect(0, y, ClientWidth(), y + 10));
        }
    }
    void WMVScroll(TWMVScroll& m) override
    {
        log.push_back(std::to_string(m.ScrollCode()) + " " + std::to_string(m.ScrollPos()));
        int to = top;
        switch (m.ScrollCode()) {
        case SB_LINEDOWN: to = top + 1; break;
        case SB_LINEUP: to = top - 1; break;
        case SB_PAGEDOWN: to = top + 5; break;
        case SB_PAGEUP: to = top - 5; break;
        case SB_THUMBTRACK: to = m.ScrollPos(); break;
        case SB_TOP: to = 0; break;
        default: return;
        }
        to = std::clamp(to, 0, 20);
        if (to == top) return;
        ScrollWindow(Handle(), 0, (top - to) * 10, nullptr, nullptr);
        top = to;
        SetScrollPos(Handle(), SB_VERT, top, true);
    }
};

struct WindowFixture : ::testing::Test {
    TForm* form = nullptr;
    void SetUp() override
    {
        form = Construct<TForm>(Application);
        form->SetBounds(0, 0, 220, 160);
    }
    void TearDown() override { form->Free(); }
    template <class T>
    T* Child(int left, int top, int width, int height)
    {
        auto* c = new T(form);
        c->SetParent(form);
        c->SetBounds(left, top, width, height);
        return c;
    }
};

TColor At(TCustomControl* c, int x, int y) { return c->Canvas()->Pixel(x, y); }

}  // namespace

TEST_F(WindowFixture, ScrollMessagesReachTheHandlerAndScrollWindowMovesThePixels)
{
    auto* b = Child<TBands>(0, 0, 100, 100);
    form->Show();
    SCROLLINFO si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMax = 29;
    si.nPage = 10;
    SetScrollInfo(b->Handle(), SB_VERT, si, true);
    ASSERT_TRUE(ProcessUntil([&] { return b->paints > 0; }));
    const int width = b->ClientWidth();
    EXPECT_EQ(At(b, 5, 5), clRed);

    const int before = b->paints;
    HostScroll(b, SB_VERT, SB_LINEDOWN);
    // The moved pixels show at once; only the uncovered strip is painted.
    EXPECT_EQ(At(b, 5, 5), clBlue);
    ASSERT_TRUE(ProcessUntil([&] { return b->paints > before; }));
    EXPECT_EQ(b->lastClip, Rect(0, 90, width, 100));
    EXPECT_EQ(At(b, 5, 95), clRed);  // band 10

    HostScroll(b, SB_VERT, SB_PAGEDOWN);
    EXPECT_EQ(b->top, 6);
    HostScroll(b, SB_VERT, SB_THUMBTRACK, 13);
    EXPECT_EQ(b->top, 13);
    EXPECT_EQ(GetScrollPos(b->Handle(), SB_VERT), 13);
    HostScroll(b, SB_VERT, SB_TOP);
    EXPECT_EQ(b->top, 0);
    Application->ProcessMessages();
    EXPECT_EQ(At(b, 5, 5), clRed);
    EXPECT_EQ(At(b, 5, 15), clBlue);
    EXPECT_EQ(b->log, (std::vector<std::string>{"1 0", "8 0", "3 0", "8 0", "5 13", "4 13", "8 0", "6 0", "8 0"}));
    form->Hide();
}

TEST_F(WindowFixture, RedrawOffHoldsThePaintUntilItIsOnAgain)
{
    auto* b = Child<TBands>(0, 0, 100, 100);
    form->Show();
    ASSERT_TRUE(ProcessUntil([&] { return b->paints > 0; }));
    const int before = b->paints;
    b->Perform(WM_SETREDRAW, 0);
    EXPECT_FALSE(b->RedrawEnabled());
    b->Invalidate();
    b->Update();
    Application->ProcessMessages();
    EXPECT_EQ(b->paints, before);
    b->Perform(WM_SETREDRAW, 1);
    EXPECT_TRUE(ProcessUntil([&] { return b->paints > before; }));
    const int after = b->paints;
    EXPECT_TRUE(RedrawWindow(b->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW));
    EXPECT_EQ(b->paints, after + 1);
    form->Hide();
}

namespace {
int gHintPayload = 7;
class TDataHint : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    void CMHintShow(TCMHintShow& m) override
    {
        HintInfoOf(m)->HintData = &gHintPayload;
        HintInfoOf(m)->HintStr = "with data";
    }
};
class TDataHintWindow : public THintWindow {
public:
    using THintWindow::THintWindow;
    static void* seen;
    void ActivateHintData(TRect r, const std::string& hint, void* data) override
    {
        seen = data;
        THintWindow::ActivateHintData(r, hint, data);
    }
};
void* TDataHintWindow::seen = nullptr;
}  // namespace

TEST_F(WindowFixture, HintDataReachesTheHintWindowWhichShowsAndHides)
{
    SetHintWindowClass([](TComponent* owner) -> THintWindow* { return new TDataHintWindow(owner); });
    auto* c = Child<TDataHint>(10, 10, 50, 30);
    c->SetHint("plain");
    c->SetShowHint(true);
    form->Show();
    ASSERT_TRUE(Application->ActivateHintFor(c, {3, 4}));
    EXPECT_EQ(TDataHintWindow::seen, &gHintPayload);
    THintWindow* w = Application->HintWindow();
    EXPECT_TRUE(w->Shown());
    EXPECT_EQ(w->Caption(), "with data");
    EXPECT_FALSE(w->Focused());
    Application->HideHint();
    EXPECT_FALSE(w->Shown());
    SetHintWindowClass(nullptr);
    form->Hide();
}

namespace {
class TPictureSource : public TCustomControl {
public:
    explicit TPictureSource(TComponent* owner) : TCustomControl(owner), images(8, 8)
    {
        TBitmap b(8, 8);
        b.Canvas()->Brush().SetColor(clGreen);
        b.Canvas()->FillRect(Rect(0, 0, 8, 8));
        images.Add(&b);
        images.SetDragImage(0, 2, 3);
    }
    TDragImageList images;
    TDragImageList* GetDragImages() override { return &images; }
};
}  // namespace

TEST_F(WindowFixture, TheDragImageFollowsTheMouseAndCancelDragEndsTheDrag)
{
    auto* src = Child<TPictureSource>(10, 10, 40, 40);
    form->Show();
    std::vector<std::string> log;
    src->OnEndDrag = [&](TObject*, TObject* target, int, int) { log.push_back(target ? "end on" : "end nowhere"); };
    SendMouse(src, WM_LBUTTONDOWN, 5, 5);
    src->BeginDrag(true);
    EXPECT_TRUE(src->images.Dragging());
    SendMouse(src, WM_MOUSEMOVE, 30, 20);
    EXPECT_EQ(src->images.DragPos(), src->ClientToScreen(Point(30, 20)));
    EXPECT_TRUE(src->images.ImageShown());
    CancelDrag();
    EXPECT_FALSE(src->Dragging());
    EXPECT_FALSE(src->images.Dragging());
    EXPECT_FALSE(src->images.ImageShown());
    EXPECT_EQ(log, (std::vector<std::string>{"end nowhere"}));
    form->Hide();
}

TEST_F(WindowFixture, AKeyPostedToTheParentRunsAfterTheCurrentMessage)
{
    auto* child = Child<TBands>(0, 0, 50, 50);
    std::vector<std::string> order;
    child->OnKeyDown = [&](TObject*, Word& key, TShiftState) {
        order.push_back("child " + std::to_string(key));
        PostMessage(form->Handle(), WM_KEYDOWN, key, 0);
        key = 0;
    };
    form->OnKeyDown = [&](TObject*, Word& key, TShiftState) { order.push_back("form " + std::to_string(key)); };
    SendKey(child, VK_DOWN);
    order.push_back("returned");
    Application->ProcessMessages();
    EXPECT_EQ(order, (std::vector<std::string>{"child 40", "returned", "form 40"}));
}

TEST_F(WindowFixture, TheDrawnScrollBarAnswersTheMouseAtItsArrowsPageAreaAndThumb)
{
    auto* b = Child<TBands>(0, 0, 100, 100);
    form->Show();
    SCROLLINFO si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMax = 29;
    si.nPage = 10;
    SetScrollInfo(b->Handle(), SB_VERT, si, true);
    HostScrollBarMouse(b, SB_VERT, {8, -4}, {8, -4});  // the down arrow
    EXPECT_EQ(b->top, 1);
    HostScrollBarMouse(b, SB_VERT, {8, -24}, {8, -24});  // the page area under the thumb
    EXPECT_EQ(b->top, 6);
    EXPECT_EQ(b->log, (std::vector<std::string>{"1 0", "8 0", "3 0", "8 0"}));
    b->log.clear();
    // The thumb dragged to the bottom: tracking, its last position, the end.
    SCROLLINFO now;
    now.fMask = SIF_POS;
    GetScrollInfo(b->Handle(), SB_VERT, now);
    HostScrollBarMouse(b, SB_VERT, {8, 16 + 2 + now.nPos * 2}, {8, 200});
    ASSERT_GE(b->log.size(), 3u);
    EXPECT_EQ(b->log[b->log.size() - 3].substr(0, 2), "5 ");
    EXPECT_EQ(b->log[b->log.size() - 2], "4 20");
    EXPECT_EQ(b->log.back(), "8 0");
    EXPECT_EQ(b->top, 20);
    form->Hide();
}

namespace {

// A borderless pop-up whose bottom-right ten pixels are a sizing corner.
class TGripPopup : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    int presses = 0;
    void CreateParams(TCreateParams& p) override
    {
        TCustomControl::CreateParams(p);
        p.Style = DWORD(WS_POPUP);
    }
    void WMNCHitTest(TMessage& m) override
    {
        const TPoint p = ScreenToClient(Point(m.LParamLo(), m.LParamHi()));
        m.Result = p.X > Width() - 10 && p.Y > Height() - 10 ? HTBOTTOMRIGHT : HTCLIENT;
    }
    void WMLButtonDown(TWMMouse& m) override
    {
        ++presses;
        TCustomControl::WMLButtonDown(m);
    }
};

TEST(SizingGrip, TheCornerThatAnswersTheSizingHitTestSizesThePopUp)
{
    EnsurePlatform();
    TGripPopup popup(nullptr);
    popup.SetBounds(100, 100, 80, 60);
    popup.Show();
    HostMouse(&popup, hmMove, mbLeft, 75, 55);
    EXPECT_EQ(ShownCursor(&popup), "size-nwse");
    HostMouse(&popup, hmPress, mbLeft, 75, 55);
    HostMouse(&popup, hmMove, mbLeft, 95, 75);
    HostMouse(&popup, hmRelease, mbLeft, 95, 75);
    EXPECT_EQ(popup.Width(), 100);
    EXPECT_EQ(popup.Height(), 80);
    EXPECT_EQ(popup.Left(), 100);
    EXPECT_EQ(popup.presses, 0);  // the corner is not the client's
    // Inside, the press is the client's and sizes nothing.
    HostMouse(&popup, hmPress, mbLeft, 20, 20);
    HostMouse(&popup, hmMove, mbLeft, 40, 40);
    HostMouse(&popup, hmRelease, mbLeft, 40, 40);
    EXPECT_EQ(popup.presses, 1);
    EXPECT_EQ(popup.Width(), 100);
    // It never shrinks below a pixel.
    HostMouse(&popup, hmPress, mbLeft, 95, 75);
    HostMouse(&popup, hmMove, mbLeft, -500, -500);
    HostMouse(&popup, hmRelease, mbLeft, -500, -500);
    EXPECT_EQ(popup.Width(), 1);
    EXPECT_EQ(popup.Height(), 1);
}

}  // namespace
