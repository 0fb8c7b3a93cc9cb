// Drag and drop between this program and another one through the desktop's drag and drop.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/controls/Controls.h"
#include "platform/forms/DragDrop.h"
#include "platform/forms/Forms.h"
#include "tests/dragdrop_x11/X11Peer.h"
#include "tests/support/PlatformEnvironment.h"
#include "tests/support/TestSupport.h"

using namespace platform;
using namespace x11peer;

namespace {

// Starts one drag of its data when the left button moves over it.
class DragPanel : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    std::unique_ptr<TDataObject> data;
    HRESULT result = 0;
    int effect = -1;
    bool ended = false;
    void MouseMove(TShiftState shift, int x, int y) override
    {
        TCustomControl::MouseMove(shift, x, y);
        if (!data || started_ || !(shift & ssLeft)) return;
        started_ = true;
        TDropSource source;
        result = StartDoDragDrop(this, *data, source, DROPEFFECT_COPY | DROPEFFECT_MOVE, effect);
        ended = true;
    }

private:
    bool started_ = false;
};

struct Received : TDropTarget {
    std::vector<std::string> got;
    void DropText(TPoint, const std::string& text) override { got.push_back("text=" + text); }
    void DropRTF(TPoint, const std::string& rtf) override { got.push_back("rtf=" + rtf); }
    void DropFiles(TPoint, const std::vector<std::string>& files) override
    {
        for (const auto& f : files) got.push_back("file=" + f);
    }
    bool RTFAware() const override { return rtf; }
    bool rtf = false;
};

struct PeerDragDrop : ::testing::Test {
    testsupport::TempDir dir{"dnd-x11"};
    TForm* form = nullptr;
    DragPanel* panel = nullptr;
    void SetUp() override
    {
        form = new TForm(nullptr);
        form->SetBounds(20, 20, 300, 200);
        panel = new DragPanel(form);
        panel->SetParent(form);
        panel->SetAlign(alClient);
        form->Show();
        Pump([] { return true; });
    }
    void TearDown() override { delete form; }
};

TEST_F(PeerDragDrop, TextDraggedToAnotherProgramArrivesAsTextAndMovesByDefault)
{
    struct Case {
        std::string key;
        int effect;
    } cases[] = {{"", DROPEFFECT_MOVE}, {"ctrl", DROPEFFECT_COPY}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        delete form;
        SetUp();
        panel->data = std::make_unique<TTextDataObject>("Caf\xE9 line 1\r\nline 2", "");
        Peer peer("target", 500, 40, dir.file("target" + c.key + ".txt"));
        ASSERT_TRUE(peer.Ready());
        const pid_t mouse = Drag({120, 100}, {600, 100}, c.key);
        ASSERT_TRUE(Pump([&] { return panel->ended; }, mouse));
        const auto lines = peer.Finish();
        // The other program gets the characters (UTF-8 there) with its own line ends.
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(lines[0], "text=Caf\xC3\xA9 line 1\r");
        EXPECT_EQ(lines[1], "line 2");
        EXPECT_EQ(panel->result, DRAGDROP_S_DROP);
        EXPECT_EQ(panel->effect, c.effect);
    }
}

TEST_F(PeerDragDrop, ReleasedWhereNothingTakesItCountsAsCancelled)
{
    panel->data = std::make_unique<TTextDataObject>("nowhere", "");
    const pid_t mouse = Drag({120, 100}, {700, 600});
    ASSERT_TRUE(Pump([&] { return panel->ended; }, mouse));
    EXPECT_EQ(panel->result, DRAGDROP_S_CANCEL);
    EXPECT_EQ(panel->effect, DROPEFFECT_NONE);
}

TEST_F(PeerDragDrop, TextRichTextAndFilesFromAnotherProgramReachTheTarget)
{
    const std::string rtf = "{\\rtf1\\ansi {\\b bold} text}";
    struct Case {
        std::string kind, arg;
        bool rtfAware;
        std::vector<std::string> expected;
        int effect;
    } cases[] = {
        {"text", "Stra\xC3\x9F" "e \xCE\xA9", false, {"text=Stra\xDF" "e ?"}, DROPEFFECT_MOVE},
        {"rtf", rtf, true, {"rtf=" + rtf}, DROPEFFECT_MOVE},
        {"rtf", rtf, false, {"text=plain"}, DROPEFFECT_MOVE},
        {"files", dir.file("a.csv") + "|" + dir.file("b c.txt"), false,
         {"file=" + dir.file("a.csv"), "file=" + dir.file("b c.txt")}, DROPEFFECT_COPY},  // the files stay
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        auto target = std::make_shared<Received>();
        target->rtf = c.rtfAware;
        ASSERT_TRUE(RegisterDragDrop(panel, target));
        const std::string out = dir.file("source" + std::to_string(n++) + ".txt");
        Peer peer("source", 500, 40, out, {c.kind, c.arg});
        ASSERT_TRUE(peer.Ready());
        const pid_t mouse = Drag({600, 100}, {120, 100});
        const auto lines = peer.Finish();
        Pump([] { return true; }, mouse);
        EXPECT_EQ(target->got, c.expected);
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(lines[0], "result=drop");
        EXPECT_EQ(lines[1], "effect=" + std::to_string(c.effect));
        RevokeDragDrop(panel);
    }
}

TEST_F(PeerDragDrop, AWindowWithoutATargetRefusesTheDrop)
{
    const std::string out = dir.file("refused.txt");
    Peer peer("source", 500, 40, out, {"text", "refused"});
    ASSERT_TRUE(peer.Ready());
    const pid_t mouse = Drag({600, 100}, {120, 100});
    const auto lines = peer.Finish();
    Pump([] { return true; }, mouse);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "result=cancel");
    EXPECT_EQ(lines[1], "effect=0");
}

}  // namespace
