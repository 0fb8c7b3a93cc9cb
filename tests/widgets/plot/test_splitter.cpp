// Splitters: dragging resizes the neighbour; paired splitters move together.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "base/Exception.h"
#include "platform/controls/Controls.h"
#include "platform/TestRig.h"
#include "widgets/plot/SyncSplitter.h"

using namespace platform;
using platform::TSplitter;
using plot::TSyncSplitter;

namespace {

// Records every message that reaches the splitter's message procedure.
class RecordingSplitter : public TSyncSplitter {
public:
    using TSyncSplitter::TSyncSplitter;
    void WndProc(TMessage& m) override
    {
        seen.push_back(m.Msg);
        TSyncSplitter::WndProc(m);
    }
    std::vector<UINT> seen;
};

// One row of views: a pane on the left, the splitter, a pane filling the rest.
struct Row {
    explicit Row(TComponent* owner, int width, int height)
    {
        host = new TCustomControl(owner);
        host->SetBounds(0, 0, width, height);
        left = new TCustomControl(owner);
        left->SetBounds(0, 0, 200, height);
        left->SetAlign(alLeft);
        left->SetParent(host);
        splitter = new RecordingSplitter(owner);
        splitter->SetLeft(200);
        splitter->SetParent(host);
        right = new TCustomControl(owner);
        right->SetAlign(alClient);
        right->SetParent(host);
    }
    void Press(int x, int y) { SendMouse(host, WM_LBUTTONDOWN, x, y); }
    void Move(int x, int y) { SendMouse(host, WM_MOUSEMOVE, x, y, ssLeft); }
    void Release(int x, int y) { SendMouse(host, WM_LBUTTONUP, x, y); }
    void Drag(int fromX, int toX, int y)
    {
        Press(fromX, y);
        Move((fromX + toX) / 2, y);
        Move(toX, y);
        Release(toX, y);
    }
    TCustomControl* host;
    TCustomControl* left;
    RecordingSplitter* splitter;
    TCustomControl* right;
};

// Each row's splitter is the other's partner.
void PairBothWays(Row& a, Row& b)
{
    a.splitter->SetPartner(b.splitter);
    b.splitter->SetPartner(a.splitter);
}

class SplitterTest : public ::testing::Test {
protected:
    void SetUp() override { EnsurePlatform(); }
    std::unique_ptr<TComponent> owner = std::make_unique<TComponent>();
};

TEST_F(SplitterTest, AControlFreedDuringADragIsForgotten)
{
    Row row(owner.get(), 400, 100);
    row.Press(201, 50);
    ASSERT_EQ(row.splitter->ResizeControl(), row.left);
    delete row.left;
    EXPECT_EQ(row.splitter->ResizeControl(), nullptr);
    row.Move(260, 50);
    row.Release(260, 50);
    EXPECT_EQ(row.splitter->ResizeControl(), nullptr);
}

TEST_F(SplitterTest, ADragResizesTheControlBeforeItAndTheSplitterFollows)
{
    Row row(owner.get(), 400, 100);
    ASSERT_EQ(row.splitter->Left(), 200);
    ASSERT_EQ(row.right->Left(), 203);
    row.Drag(201, 251, 40);
    EXPECT_EQ(row.left->Width(), 250);
    EXPECT_EQ(row.splitter->Left(), 250);
    EXPECT_EQ(row.right->Left(), 253);
    EXPECT_EQ(row.right->Width(), 147);
    EXPECT_EQ(row.splitter->ResizeControl(), nullptr);
}

TEST_F(SplitterTest, TheSizeStaysWithinTheMinimumOnBothSides)
{
    Row row(owner.get(), 400, 100);
    row.Drag(201, 5, 40);
    EXPECT_EQ(row.left->Width(), 30);
    row.Drag(31, 399, 40);
    // The client pane keeps the minimum too: 400 - 3 - 30.
    EXPECT_EQ(row.left->Width(), 367);
}

TEST_F(SplitterTest, PairedSplittersMoveTogetherEitherWay)
{
    Row upper(owner.get(), 400, 100), lower(owner.get(), 400, 60);
    PairBothWays(upper, lower);

    upper.Drag(201, 241, 50);
    EXPECT_EQ(upper.left->Width(), 240);
    EXPECT_EQ(lower.left->Width(), 240);
    EXPECT_EQ(lower.splitter->Left(), 240);

    lower.Drag(241, 191, 10);
    EXPECT_EQ(lower.left->Width(), 190);
    EXPECT_EQ(upper.left->Width(), 190);
    EXPECT_EQ(upper.splitter->Left(), 190);
}

TEST_F(SplitterTest, NeitherSplitterGetsItsOwnMessageBack)
{
    Row upper(owner.get(), 400, 100), lower(owner.get(), 400, 60);
    PairBothWays(upper, lower);
    upper.Drag(201, 241, 50);
    const std::vector<UINT> drag{WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_MOUSEMOVE, WM_LBUTTONUP};
    auto mouseOnly = [](const std::vector<UINT>& v) {
        std::vector<UINT> out;
        for (UINT m : v)
            if (m >= WM_MOUSEFIRST && m <= WM_MOUSELAST) out.push_back(m);
        return out;
    };
    EXPECT_EQ(mouseOnly(upper.splitter->seen), drag);
    EXPECT_EQ(mouseOnly(lower.splitter->seen), drag);
}

TEST_F(SplitterTest, TheLinkIsOneWay)
{
    Row upper(owner.get(), 400, 100), lower(owner.get(), 400, 60);
    upper.splitter->SetPartner(lower.splitter);
    lower.Drag(201, 231, 10);
    EXPECT_EQ(lower.left->Width(), 230);
    EXPECT_EQ(upper.left->Width(), 200);
    upper.Drag(201, 221, 10);
    EXPECT_EQ(upper.left->Width(), 220);
    EXPECT_EQ(lower.left->Width(), 250);
}

TEST_F(SplitterTest, OnlyMouseMessagesFromMoveThroughWheelAreForwarded)
{
    Row upper(owner.get(), 400, 100), lower(owner.get(), 400, 60);
    upper.splitter->SetPartner(lower.splitter);
    const struct {
        UINT msg;
        bool forwarded;
    } cases[] = {{WM_CANCELMODE, false}, {WM_MOUSEMOVE - 1, false}, {WM_MOUSEMOVE, true},
                 {WM_MBUTTONDBLCLK, true}, {WM_MOUSEWHEEL, true},    {WM_MOUSEWHEEL + 1, false},
                 {WM_CAPTURECHANGED, false}, {CM_MOUSEENTER, false}};
    for (const auto& c : cases) {
        lower.splitter->seen.clear();
        upper.splitter->Perform(c.msg, 0, MakeLParam(1, 1));
        const bool got = !lower.splitter->seen.empty() && lower.splitter->seen.front() == c.msg;
        EXPECT_EQ(got, c.forwarded) << std::hex << c.msg;
    }
}

TEST_F(SplitterTest, TheSplitterCannotPartnerItself)
{
    auto* a = new TSyncSplitter(owner.get());
    auto* b = new TSyncSplitter(owner.get());
    a->SetPartner(b);
    try {
        a->SetPartner(a);
        FAIL() << "no exception";
    } catch (const base::Exception& e) {
        EXPECT_STREQ(e.what(), "TSyncSplitter.SetPartner: cannot set Partner to Self!");
    }
    EXPECT_EQ(a->Partner(), b);
    a->SetPartner(nullptr);
    EXPECT_EQ(a->Partner(), nullptr);
}

TEST_F(SplitterTest, AFreedPartnerIsForgotten)
{
    auto* a = new TSyncSplitter(owner.get());
    auto* b = new TSyncSplitter(owner.get());
    auto* other = new TSyncSplitter(nullptr);  // a partner with no common owner
    a->SetPartner(b);
    b->SetPartner(a);
    delete b;
    EXPECT_EQ(a->Partner(), nullptr);
    a->SetPartner(other);
    delete other;
    EXPECT_EQ(a->Partner(), nullptr);
    a->Perform(WM_MOUSEMOVE, 0, 0);  // nothing left to forward to
}

}  // namespace
