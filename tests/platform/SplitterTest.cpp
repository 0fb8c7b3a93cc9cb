// The splitter's cursor follows the direction it moves in.
#include <gtest/gtest.h>

#include <memory>

#include "platform/controls/Splitter.h"
#include "platform/TestRig.h"

using namespace platform;

TEST(Splitter, TheCursorFollowsTheAlignment)
{
    auto host = std::make_unique<TCustomControl>(nullptr);
    host->SetBounds(0, 0, 200, 100);
    auto* panel = new TCustomControl(host.get());
    panel->SetParent(host.get());
    panel->SetAlign(alTop);
    panel->SetHeight(40);
    auto* splitter = new TSplitter(host.get());
    splitter->SetParent(host.get());
    splitter->SetAlign(alTop);
    splitter->SetTop(50);
    SendMouse(host.get(), WM_MOUSEMOVE, 10, splitter->Top() + 1);
    EXPECT_EQ(splitter->Cursor(), crVSplit);
    splitter->SetAlign(alLeft);
    SendMouse(host.get(), WM_MOUSEMOVE, splitter->Left() + 1, 60);
    EXPECT_EQ(splitter->Cursor(), crHSplit);
    splitter->SetCursor(crHandPoint);  // a cursor of one's own stays
    splitter->SetAlign(alBottom);
    SendMouse(host.get(), WM_MOUSEMOVE, 10, splitter->Top() + 1);
    EXPECT_EQ(splitter->Cursor(), crHandPoint);
}
