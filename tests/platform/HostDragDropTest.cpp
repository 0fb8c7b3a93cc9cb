// Drags from other programs as the desktop delivers them to a window: MIME data read as
// the formats the drop targets take, the effects answered, and files dropped on a window
// that accepts them (WM_DROPFILES).
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/Messages.h"
#include "platform/TestRig.h"
#include "platform/controls/Controls.h"
#include "platform/forms/DragDrop.h"
#include "platform/system/Clipboard.h"
#include "tests/platform/ControlFixture.h"

using namespace platform;

namespace {

struct Taking : TDropTarget {
    std::vector<std::string> got;
    bool rtf = false;
    void DropText(TPoint, const std::string& t) override { got.push_back("text=" + t); }
    void DropRTF(TPoint, const std::string& r) override { got.push_back("rtf=" + r); }
    void DropCol(TPoint, int c) override { got.push_back("col=" + std::to_string(c)); }
    void DropFiles(TPoint, const std::vector<std::string>& f) override
    {
        for (const auto& n : f) got.push_back("file=" + n);
    }
    bool RTFAware() const override { return rtf; }
    unsigned ColFormat() const override { return RegisterClipboardFormat("Grid Column"); }
};

struct FileWindow : TCustomControl {
    using TCustomControl::TCustomControl;
    std::vector<std::string> got;
    TPoint at;
    void WndProc(TMessage& m) override
    {
        if (m.Msg != WM_DROPFILES) return TCustomControl::WndProc(m);
        const auto drop = reinterpret_cast<HDROP>(m.WParam);
        const UINT n = DragQueryFile(drop, 0xFFFFFFFFu, nullptr, 0);
        for (UINT i = 0; i < n; ++i) {
            char name[8];  // short: names are cut to fit
            const UINT len = DragQueryFile(drop, i, name, sizeof name);
            got.push_back(std::string(name, len) + "/" + std::to_string(DragQueryFile(drop, i, nullptr, 0)));
        }
        DragQueryPoint(drop, at);
        DragFinish(drop);
        DragFinish(drop);  // once is enough; a second does nothing
        EXPECT_EQ(DragQueryFile(drop, 0xFFFFFFFFu, nullptr, 0), 0u);
    }
};

using HostDrops = ControlFixture;

}  // namespace

TEST_F(HostDrops, OtherProgramsDataReachesTheTargetAsItsFormats)
{
    EnsurePlatform();
    auto* c = Add<TCustomControl>(10, 10, 200, 100);
    auto t = std::make_shared<Taking>();
    ASSERT_TRUE(RegisterDragDrop(c, t));
    const std::string rtf = "{\\rtf1 x}";
    const std::string col = RegisterClipboardFormat("Grid Column") ? "application/x-korvelo-format.Grid%20Column" : "";
    const struct {
        const char* what;
        std::vector<std::pair<std::string, std::string>> mime;
        bool rtfAware;
        TShiftState shift;
        int allowed, effect;
        std::vector<std::string> got;
    } cases[] = {
        {"text", {{"text/plain", "a\tb\nc\td"}}, false, 0, 3, DROPEFFECT_MOVE, {"text=a\tb\r\nc\td"}},
        {"utf-8 text", {{"text/plain;charset=utf-8", "Caf\xC3\xA9 \xCE\xA9"}}, false, ssCtrl, 3, DROPEFFECT_COPY,
         {"text=Caf\xE9 ?"}},
        {"rich text", {{"text/plain", "x"}, {"text/rtf", rtf}}, true, 0, 3, DROPEFFECT_MOVE, {"rtf=" + rtf}},
        {"rich text off", {{"text/plain", "x"}, {"text/rtf", rtf}}, false, 0, 3, DROPEFFECT_MOVE, {"text=x"}},
        {"not rtf", {{"application/rtf", "plain words"}}, true, 0, 3, DROPEFFECT_NONE, {}},
        {"files", {{"text/uri-list", "file:///tmp/a%20b.csv\r\nfile:///tmp/c.txt\r\nhttp://example.org/x\r\n"}}, false, 0, 3,
         DROPEFFECT_COPY, {"file=/tmp/a b.csv", "file=/tmp/c.txt"}},
        {"files, move only", {{"text/uri-list", "file:///tmp/c.txt\r\n"}}, false, 0, 2, DROPEFFECT_MOVE, {"file=/tmp/c.txt"}},
        {"column", {{col, std::string("\x02\0\0\0", 4)}}, false, 0, 3, DROPEFFECT_MOVE, {"col=2"}},
        {"nothing known", {{"image/png", "\x89PNG"}}, false, 0, 3, DROPEFFECT_NONE, {}},
    };
    for (const auto& k : cases) {
        t->got.clear();
        t->rtf = k.rtfAware;
        t->AcceptCols = true;
        EXPECT_EQ(HostDragDrop(c, {20, 20}, k.mime, k.allowed, k.shift), k.effect) << k.what;
        EXPECT_EQ(t->got, k.got) << k.what;
    }
    // Left without a drop: nothing arrives.
    t->got.clear();
    EXPECT_EQ(HostDragDrop(c, {20, 20}, {{"text/plain", "x"}}, 3, 0, false), DROPEFFECT_MOVE);
    EXPECT_TRUE(t->got.empty());
    // Outside the registered window the drop is refused.
    auto* other = Add<TCustomControl>(10, 120, 200, 60);
    EXPECT_EQ(HostDragDrop(other, {20, 20}, {{"text/plain", "x"}}), DROPEFFECT_NONE);
    EXPECT_TRUE(t->got.empty());
    RevokeDragDrop(c);
    EXPECT_EQ(HostDragDrop(c, {20, 20}, {{"text/plain", "x"}}), DROPEFFECT_NONE);
}

TEST_F(HostDrops, FilesDroppedOnAWindowThatAcceptsThemArriveAsDropFiles)
{
    EnsurePlatform();
    auto* w = Add<FileWindow>(10, 10, 200, 100);
    const std::vector<std::pair<std::string, std::string>> files{{"text/uri-list", "file:///tmp/long-name.txt\r\nfile:///x\r\n"}};
    EXPECT_EQ(HostDragDrop(w, {30, 40}, files), DROPEFFECT_NONE);  // not yet accepting
    DragAcceptFiles(w, true);
    EXPECT_EQ(HostDragDrop(w, {30, 40}, {{"text/plain", "words"}}), DROPEFFECT_NONE);  // files only
    EXPECT_EQ(HostDragDrop(w, {30, 40}, files), DROPEFFECT_COPY);
    EXPECT_EQ(w->got, (std::vector<std::string>{"/tmp/lo/18", "/x/2"}));
    EXPECT_EQ(w->at.X, 30);
    EXPECT_EQ(w->at.Y, 40);
    DragAcceptFiles(w, false);
    w->got.clear();
    EXPECT_EQ(HostDragDrop(w, {30, 40}, files), DROPEFFECT_NONE);
    EXPECT_TRUE(w->got.empty());
}
