// The model inspector: the hull tree, the frames list and the offsets table, driven as the
// user drives them.
#include <cmath>
#include <cstdlib>

#include "AppFixture.h"
#include "Hulls.h"
#include "app/HullTreeText.h"
#include "app/OffsetsTable.h"
#include "core/HydroData.h"
#include "platform/controls/ComCtrls.h"
#include "platform/controls/Menus.h"
#include "platform/graphics/Graphics.h"
#include "widgets/flat/FlatCheckListBox.h"
#include "widgets/plot/PlotGraph.h"

using namespace platform;

namespace {

const std::string kNumber = "You must enter valid decimal numbers.";

}  // namespace

// ---------------------------------------------------------------- node texts

TEST(HullTreeTexts, NodeTextsInBothModes)
{
    core::Hullform hull("");
    hulls::MakeBoxBarge(hull);
    hull.name = "A<B & \"C\"";
    core::Appendage& a = hull.appendages[0];
    a.colour = 0x00336699;  // blue 33, green 66, red 99
    a.frames[1].name = "F>1";
    struct Case {
        std::string got, want;
    };
    const Case cases[] = {
        {app::HullNodeText(hull, true),
         "<B><IMG src=\"idx:0\"><A href=\"hull name\" class=\"EDIT\">A&lt;B &amp; &quot;C&quot;</A></B>"},
        {app::HullNodeText(hull, false), "<B><A href=\"hull name\">A&lt;B &amp; &quot;C&quot;</A></B>"},
        {app::HullInfoText(hull, 0, true),
         "<IMG src=\"idx:14\"> Density = <A href=\"density\" class=\"EDIT\">1.0250</A> Te/m<SUP>3"},
        {app::HullInfoText(hull, 1, false), "<IMG src=\"idx:15\"> AP = <A href=\"ap\">0.000</A> m"},
        {app::HullInfoText(hull, 5, true),
         "<IMG src=\"idx:19\"> Fwd Draught Mark Y = <A href=\"fwddraught\" class=\"EDIT\">0.000</A> m"},
        {app::HullInfoText(hull, 6, true), "<IMG src=\"idx:11\"> Max X = 5.000 m"},
        {app::HullInfoText(hull, 10, false), "<IMG src=\"idx:12\"> Max Y = 30.000 m"},
        {app::AppendagesNodeText(3), "<IMG src=\"idx:2\"> Appendages [3]"},
        {app::AppendageNodeText(a, 2, true),
         "<B><IMG src=\"idx:21\"> <A href=\"appendage 2 name\" class=\"EDIT\">Barge</A></B>"},
        {app::AppendageNodeText(a, 2, false), "<B><A href=\"appendage 2 name\">Barge</A></B>"},
        {app::AppendagePropertyText(a, 0, 3), "<IMG src=\"idx:10\"> Min Z = 0.000 m"},
        {app::AppendagePropertyText(a, 0, 6),
         "<IMG src=\"idx:7\"> Active: <B><A href=\"appendage 0 active\">True</A></B>"},
        {app::ActiveNodeText(false, 4), "<IMG src=\"idx:7\"> Active: <B><A href=\"appendage 4 active\">False</A></B>"},
        {app::AppendagePropertyText(a, 0, 7),
         "<IMG src=\"idx:5\"><A href=\"appendage 0 colour\"><FONT color=\"#996633\"> Change Colour</FONT></A>"},
        {app::FramesNodeText(11), "Frames [11]"},
        {app::FrameNodeText(a.frames[1], 1, 0, true),
         "<IMG src=\"idx:20\"> <A href=\"appendage 0 frame 1\" class=\"EDIT\">F&gt;1</A> @ <A href=\"frame 1 "
         "ycoord\" class=\"EDIT\">3.000</A> m"},
        {app::FrameNodeText(a.frames[1], 1, 0, false),
         "<IMG src=\"idx:20\"> <A href=\"appendage 0 frame 1\">F&gt;1</A> @ 3.000 m"},
        {app::FrameRestoreText(a.frames[1], 1, 0),
         "<A href=\"appendage 0 frame 1\" class=\"EDIT\">F&gt;1</A> @ <A href=\"frame 1 ycoord\" "
         "class=\"EDIT\">3.000</A> m"},
        {app::HullValueRestoreText(hull, 0),
         "<IMG src=\"idx:14\"> Density = <A href=\"density\" class=\"EDIT\">1.0250</A> Te/m^3"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.got, c.want);
}

TEST(HullTreeTexts, AnEmptyHullShowsZeroExtents)
{
    core::Hullform hull("");
    for (int k = 6; k < app::kHullInfoCount; ++k) EXPECT_NE(app::HullInfoText(hull, k, true).find("= 0.000 m"), std::string::npos);
}

// ---------------------------------------------------------------- where a new point goes

TEST(NewPoint, BetweenTheRightNeighboursAtBothEnds)
{
    const std::vector<double> X{0, 2, 4, 6}, Z{0, 1, 2, 3};
    struct Case {
        int p;
        bool midpoint;
        unsigned index;
        double x, z;
    } cases[] = {
        {2, true, 2, 3, 1.5},   // between points 1 and 2
        {0, true, 1, 1, 0.5},   // the first point: between points 0 and 1
        {3, true, 3, 5, 2.5},   // the last point: between points 2 and 3
        {9, true, 3, 5, 2.5},   // past the end: as the last point
        {2, false, 2, 0, 0},    // (0, 0) before the current point
        {3, false, 3, 0, 0},
    };
    for (const Case& c : cases) {
        app::TNewPoint at;
        ASSERT_TRUE(app::PlaceNewPoint(X, Z, c.p, c.midpoint, at)) << c.p;
        EXPECT_EQ(at.index, c.index) << c.p << c.midpoint;
        EXPECT_DOUBLE_EQ(at.x, c.x) << c.p;
        EXPECT_DOUBLE_EQ(at.z, c.z) << c.p;
    }
    app::TNewPoint at;
    ASSERT_TRUE(app::PlaceNewPoint({4}, {2}, 0, true, at));  // one point: a copy after it
    EXPECT_EQ(at.index, 1u);
    EXPECT_DOUBLE_EQ(at.x, 4);
    EXPECT_FALSE(app::PlaceNewPoint({}, {}, 0, true, at));
}

// ---------------------------------------------------------------- the window

class Inspector : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        hulls::MakeBoxBarge(main->Hull);
        main->RefreshAll();
        main->SetModified(false);
    }
    TTreeNode* Apps() const { return main->HullTreeView->Items()->Item(0)->Item(1); }
    TTreeNode* Info(int k) const { return main->HullTreeView->Items()->Item(0)->Item(0)->Item(k); }
    TTreeNode* AppNode(int i) const { return Apps()->Item(i); }
    TTreeNode* Prop(int i, int k) const { return AppNode(i)->Item(0)->Item(k); }
    TTreeNode* Frames(int i) const { return AppNode(i)->Item(1); }
    TTreeNode* FrameNode(int i, int j) const { return Frames(i)->Item(j); }
    core::Appendage& Barge() { return main->Hull.appendages[0]; }
    // Types value into the anchor href of node, as the in-place editor commits it.
    void Edit(TTreeNode* node, const std::string& href, const std::string& value)
    {
        main->HullTreeView->SetSelected(node);
        main->HullTreeView->ControlUpdate(main->HullTreeView, href, value);
    }
    // A click on the node's plain link.
    void ClickLink(TTreeNode* node, const std::string& href)
    {
        main->HullTreeView->SetSelected(node);
        main->HullTreeView->StartParamEdit(href, node, TRect{});
    }
    void ShowOffsets(int frame)
    {
        main->HullTreeView->SetSelected(FrameNode(0, frame));
        main->ModelInspector->SetActivePageIndex(2);
        main->ModelInspectorChange(main->ModelInspector);
    }
    // Types text into a cell of the offsets table and ends the edit with key.
    void TypeCell(int col, int row, const std::string& text, Word key = VK_RETURN)
    {
        app::TOffsetGrid* g = main->OffsetGrid;
        g->SetFocus();
        g->SetCol(col);
        g->SetRowEx(row);
        g->ShowEditor();
        ASSERT_NE(g->InplaceEditor(), nullptr);
        g->InplaceEditor()->SetText(text);
        if (key == VK_RETURN) g->HideEditor();
        else SendKey(g->InplaceEditor(), key);
        Application->ProcessMessages();
    }
    std::string Panel(int k) { return main->StatusBar->Panels()[k]->Text(); }
};

TEST_F(Inspector, SelectingNodesMakesThemCurrentAndNamesThemInTheStatusBar)
{
    main->HullTreeView->SetSelected(FrameNode(0, 2));
    EXPECT_EQ(main->CurrentAppendage, 0);
    EXPECT_EQ(main->CurrentFrame, 2);
    EXPECT_EQ(Panel(1), "Barge");
    EXPECT_EQ(Panel(3), "Frame 2");
    ASSERT_EQ(main->FramesListBox->Items().Count(), 11);
    EXPECT_EQ(main->FramesListBox->Items().Get(2), "Frame 2: Y = 6");
    EXPECT_EQ(main->FramesListBox->ItemIndex(), 2);

    // With KORVELO_SNAPSHOTS set, the tree's picture goes there for a look.
    if (const char* dir = std::getenv("KORVELO_SNAPSHOTS"))
        PaintToBitmap(main->HullTreeView)->SaveToFile(std::string(dir) + "/hulltree.bmp");

    main->HullTreeView->SetSelected(AppNode(0));
    EXPECT_EQ(main->CurrentFrame, 0);
    EXPECT_EQ(Panel(3), "Frame 0");
    EXPECT_FALSE(main->Modified());
}

TEST_F(Inspector, ViewingModeKeepsTheSelectionAndActsOnLinks)
{
    main->AllowEditing1Click(main->AllowEditing1);
    EXPECT_EQ(FrameNode(0, 1)->Text(), "<IMG src=\"idx:20\"> <A href=\"appendage 0 frame 1\">Frame 1</A> @ 3.000 m");
    TTreeNode* before = main->HullTreeView->Selected();
    main->HullTreeView->SetSelected(FrameNode(0, 1));
    EXPECT_EQ(main->HullTreeView->Selected(), before);
    main->HullTreeView->StartParamEdit("appendage 0 frame 1", FrameNode(0, 1), TRect{});
    EXPECT_EQ(main->CurrentFrame, 1);
    main->HullTreeView->StartParamEdit("appendage 0 active", Prop(0, 6), TRect{});
    main->HullTreeView->StartParamEdit("appendage 0 active", Prop(0, 6), TRect{});
    EXPECT_TRUE(Barge().active);  // flipped twice
}

TEST_F(Inspector, KeyboardSelectionNeverFlipsActiveNorOpensTheColourDialog)
{
    AppNode(0)->Expand(true);
    main->HullTreeView->SetSelected(Prop(0, 5));
    main->HullTreeView->SetFocus();
    SendKey(main->HullTreeView, VK_DOWN);
    ASSERT_EQ(main->HullTreeView->Selected(), Prop(0, 6));
    SendKey(main->HullTreeView, VK_DOWN);
    ASSERT_EQ(main->HullTreeView->Selected(), Prop(0, 7));
    SendKey(main->HullTreeView, VK_UP);
    EXPECT_TRUE(Barge().active);
    EXPECT_TRUE(dialogs.empty());
    EXPECT_FALSE(main->Modified());
}

TEST_F(Inspector, ActiveOffTakesTheAppendageOutOfTheHydrostatics)
{
    core::HydroData before;
    ASSERT_TRUE(main->Hull.GetHydroStatics(2, 0, before));
    ClickLink(Prop(0, 6), "appendage 0 active");
    EXPECT_FALSE(Barge().active);
    EXPECT_EQ(html::HTMLStrip(Prop(0, 6)->Text()), " Active: False");
    EXPECT_TRUE(main->Modified());
    core::HydroData after;
    EXPECT_FALSE(main->Hull.GetHydroStatics(2, 0, after));
    EXPECT_EQ(main->Hull.log.Lines().back(), "ERROR: Failed getting hydrostatics - less than 1 ACTIVE appendage present");
    ClickLink(Prop(0, 6), "appendage 0 active");
    EXPECT_TRUE(Barge().active);
}

TEST_F(Inspector, TheColourLinkOpensTheDialogAndTakesTheChosenColour)
{
    dialogAnswers.push_back([](TCommonDialog& d) {
        dynamic_cast<TColorDialog&>(d).Color = 0x00112233;
        return true;
    });
    ClickLink(Prop(0, 7), "appendage 0 colour");
    EXPECT_EQ(Barge().colour, 0x00112233u);
    EXPECT_NE(Prop(0, 7)->Text().find("#332211"), std::string::npos);
    EXPECT_TRUE(main->Modified());
}

TEST_F(Inspector, HullValuesWarnWhenDoubtfulAndRefuseWhatIsNoNumber)
{
    Edit(Info(0), "density", "2.5");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "New Density High. It is accepted, but please check.");
    EXPECT_DOUBLE_EQ(main->Hull.waterDensity, 2.5);
    EXPECT_TRUE(main->Modified());

    Edit(Info(0), "density", "2.0");
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_DOUBLE_EQ(main->Hull.waterDensity, 2.0);

    Edit(Info(0), "density", "abc");
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1], kNumber);
    EXPECT_DOUBLE_EQ(main->Hull.waterDensity, 2.0);
    EXPECT_EQ(html::HTMLStrip(Info(0)->Text()), " Density = 2.0000 Te/m^3");

    // At the frame range's ends no warning; past them one.
    Edit(Info(1), "ap", "0");
    Edit(Info(2), "fp", "30");
    Edit(Info(3), "aftdraught", "30");
    EXPECT_EQ(boxes.size(), 2u);
    Edit(Info(4), "middraught", "-1");
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[2], "New Mid Draught mark Y location outside hull frame range. It is accepted, but please check.");
    EXPECT_DOUBLE_EQ(main->Hull.midMarkY, -1);
}

TEST_F(Inspector, NamesAreStoredAsTypedAndShownEscaped)
{
    Edit(AppNode(0), "appendage 0 name", "A<B & \"C\"");
    EXPECT_EQ(Barge().name, "A<B & \"C\"");
    EXPECT_EQ(Panel(1), "A<B & \"C\"");
    Edit(FrameNode(0, 3), "appendage 0 frame 3", "x>y");
    EXPECT_EQ(Barge().frames[3].name, "x>y");
    EXPECT_EQ(main->FramesListBox->Items().Get(3), "x>y: Y = 9");
    Edit(main->HullTreeView->Items()->Item(0), "hull name", "S&S");
    EXPECT_EQ(main->Hull.name, "S&S");
    main->RefreshAll();
    EXPECT_NE(AppNode(0)->Text().find(">A&lt;B &amp; &quot;C&quot;<"), std::string::npos);
    EXPECT_NE(main->HullTreeView->Items()->Item(0)->Text().find(">S&amp;S<"), std::string::npos);
    Edit(FrameNode(0, 3), "appendage 0 frame 3", "");
    EXPECT_EQ(Barge().frames[3].name, "?");
}

TEST_F(Inspector, NamesTheHullFileCouldNotGiveBackAndDensitiesOfZeroAreRefused)
{
    const std::string frameNode = FrameNode(0, 3)->Text();
    const std::string appNode = AppNode(0)->Text();
    const std::string hullNode = main->HullTreeView->Items()->Item(0)->Text();
    const std::string frameName = Barge().frames[3].name, appName = Barge().name, hullName = main->Hull.name;
    Edit(FrameNode(0, 3), "appendage 0 frame 3", "Stn 1 </SECTION_NAME> </SECTION>");
    Edit(AppNode(0), "appendage 0 name", "B </APPENDAGE_NAME> </APPENDAGE>");
    Edit(main->HullTreeView->Items()->Item(0), "hull name", "H </HULL_NAME>");
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0], "The name \"Stn 1 </SECTION_NAME> </SECTION>\" holds the word </SECTION_NAME>, which ends a "
                        "name in the hull file.");
    EXPECT_NE(boxes[1].find("</APPENDAGE_NAME>"), std::string::npos);
    EXPECT_NE(boxes[2].find("</HULL_NAME>"), std::string::npos);
    EXPECT_EQ(Barge().frames[3].name, frameName);
    EXPECT_EQ(Barge().name, appName);
    EXPECT_EQ(main->Hull.name, hullName);
    EXPECT_EQ(FrameNode(0, 3)->Text(), frameNode);
    EXPECT_EQ(AppNode(0)->Text(), appNode);
    EXPECT_EQ(main->HullTreeView->Items()->Item(0)->Text(), hullNode);
    EXPECT_FALSE(main->Modified());

    const double density = main->Hull.waterDensity;
    for (const char* typed : {"0", "-1.025"}) {
        Edit(Info(0), "density", typed);
        EXPECT_EQ(boxes.back(), "The density must be above 0.");
        EXPECT_EQ(main->Hull.waterDensity, density);
    }
    EXPECT_EQ(boxes.size(), 5u);
    EXPECT_FALSE(main->Modified());
}

TEST_F(Inspector, ANewFramePositionMovesItsNodeAndTheCurrentFrameFollows)
{
    Edit(FrameNode(0, 0), "frame 0 ycoord", "100");
    ASSERT_EQ(Barge().frames.size(), 11u);
    EXPECT_EQ(Barge().frames[10].name, "Frame 0");
    EXPECT_DOUBLE_EQ(Barge().frames[10].Y, 100);
    EXPECT_EQ(main->CurrentFrame, 10);
    EXPECT_EQ(Panel(3), "Frame 0");
    EXPECT_EQ(Shown(FrameNode(0, 10)), " Frame 0 @ 100.000 m");
    EXPECT_EQ(Shown(FrameNode(0, 0)), " Frame 1 @ 3.000 m");
    EXPECT_NE(FrameNode(0, 10)->Text().find("frame 10 ycoord"), std::string::npos);
    EXPECT_TRUE(main->Modified());

    // Back to the front, between two others, and onto a taken position.
    Edit(FrameNode(0, 10), "frame 10 ycoord", "-1");
    EXPECT_EQ(Barge().frames[0].name, "Frame 0");
    EXPECT_EQ(main->CurrentFrame, 0);
    Edit(FrameNode(0, 1), "frame 1 ycoord", "6");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "A frame of this appendage already lies at Y = 6.000 m.");
    EXPECT_EQ(Barge().frames[1].name, "Frame 1");
    EXPECT_DOUBLE_EQ(Barge().frames[1].Y, 3);
    EXPECT_EQ(Shown(FrameNode(0, 1)), " Frame 1 @ 3.000 m");
    EXPECT_EQ(Shown(FrameNode(0, 2)), " Frame 2 @ 6.000 m");

    Edit(FrameNode(0, 1), "frame 1 ycoord", "abc");
    EXPECT_EQ(boxes.back(), kNumber);
    EXPECT_DOUBLE_EQ(Barge().frames[1].Y, 3);
    EXPECT_EQ(FrameNode(0, 1)->Text().rfind("<A href=\"appendage 0 frame 1\"", 0), 0u);
}

TEST_F(Inspector, AddingAndDeletingAppendagesAndFrames)
{
    main->AddAppendage1Click(main->AddAppendage1);
    ASSERT_EQ(main->Hull.GetAppendageCount(), 2u);
    EXPECT_EQ(main->Hull.appendages[1].name, "New Appendage [1]");
    EXPECT_EQ(main->CurrentAppendage, 1);
    EXPECT_EQ(main->HullTreeView->Selected(), AppNode(1));
    EXPECT_EQ(Shown(Apps()), " Appendages [2]");
    EXPECT_TRUE(main->Modified());

    // The new appendage's frame lies at Y 0: a second one there is refused.
    main->AddFrame1Click(main->AddFrame1);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "A frame of this appendage already lies at Y = 0.000 m.");
    EXPECT_EQ(main->Hull.appendages[1].frames.size(), 1u);

    Edit(FrameNode(1, 0), "frame 0 ycoord", "2");
    main->AddFrame1Click(main->ToolButton10);
    const core::Appendage& added = main->Hull.appendages[1];
    ASSERT_EQ(added.frames.size(), 2u);
    EXPECT_EQ(added.frames[0].name, "New Section");
    EXPECT_DOUBLE_EQ(added.frames[0].Y, 0);
    EXPECT_EQ(added.frames[0].GetOffsetCount(), 1u);
    EXPECT_EQ(main->CurrentFrame, 0);
    EXPECT_EQ(main->HullTreeView->Selected(), FrameNode(1, 0));

    main->DeleteFrame1Click(main->ToolButton12);
    ASSERT_EQ(main->Hull.appendages[1].frames.size(), 1u);
    EXPECT_DOUBLE_EQ(main->Hull.appendages[1].frames[0].Y, 2);
    EXPECT_EQ(Shown(Frames(1)), "Frames [1]");

    main->DeleteAppendage1Click(main->ToolButton9);
    main->DeleteAppendage1Click(main->ToolButton9);
    EXPECT_EQ(main->Hull.GetAppendageCount(), 0u);
    main->DeleteAppendage1Click(main->ToolButton9);
    EXPECT_EQ(boxes.back(), "No Appendages to Delete...");
    EXPECT_EQ(Shown(Apps()), " Appendages [0]");
}

TEST_F(Inspector, FramesListClickMakesTheFrameCurrentAndKeepsItsMarks)
{
    main->HullTreeView->SetSelected(AppNode(0));
    main->FramesListBox->SetChecked(4, true);
    main->FramesListBox->SetItemIndex(5);
    main->FramesListBoxClick(main->FramesListBox);
    EXPECT_EQ(main->CurrentFrame, 5);
    EXPECT_EQ(Panel(3), "Frame 5");
    EXPECT_TRUE(Barge().frames[4].checked);
    EXPECT_FALSE(Barge().frames[5].checked);
}

TEST_F(Inspector, ATypedOffsetIsStoredAndALetterIsRefused)
{
    ShowOffsets(2);
    ASSERT_EQ(main->OffsetGrid->RowCount(), 5);
    EXPECT_EQ(main->OffsetGrid->Cells(1, 2), "5.000");
    TypeCell(1, 2, "7.25");
    EXPECT_DOUBLE_EQ(Barge().frames[2].GetX(1), 7.25);
    EXPECT_EQ(main->OffsetGrid->Cells(1, 2), "7.250");
    EXPECT_TRUE(main->Modified());
    EXPECT_TRUE(boxes.empty());

    TypeCell(2, 3, "x");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], kNumber);
    EXPECT_DOUBLE_EQ(Barge().frames[2].GetZ(2), 4);
    EXPECT_EQ(main->OffsetGrid->Cells(2, 3), "4.000");
}

TEST_F(Inspector, TheHullSummaryFollowsEveryOffsetEdit)
{
    ShowOffsets(2);
    // Point 2 of frame 2 is (5, 4): raise it, then widen it.
    TypeCell(2, 3, "6.5");
    EXPECT_EQ(Shown(Info(8)), " Max Z = 6.500 m");   // the hull's
    EXPECT_EQ(Shown(Prop(0, 2)), " Max Z = 6.500 m");  // the appendage's
    TypeCell(1, 3, "8");
    EXPECT_EQ(Shown(Info(6)), " Max X = 8.000 m");
    EXPECT_EQ(Shown(Prop(0, 0)), " Max X = 8.000 m");
    // Deleting the point brings the old extents back.
    main->OffsetGrid->SetRowEx(3);
    main->DeletePoint1Click(nullptr);
    EXPECT_EQ(Shown(Info(8)), " Max Z = 4.000 m");
    EXPECT_EQ(Shown(Info(6)), " Max X = 5.000 m");
}

TEST_F(Inspector, AnEditEndedByMovingOnGoesToTheEditedRow)
{
    ShowOffsets(2);
    TypeCell(1, 2, "-3", VK_DOWN);
    EXPECT_EQ(main->OffsetGrid->Row(), 3);
    EXPECT_EQ(main->CurrentPoint, 2);
    EXPECT_DOUBLE_EQ(Barge().frames[2].GetX(1), -3);
    EXPECT_DOUBLE_EQ(Barge().frames[2].GetX(2), 5);
}

TEST_F(Inspector, OffsetValidationCases)
{
    ShowOffsets(2);
    struct Case {
        std::string typed;
        bool valid;
        double stored;
    } cases[] = {{"1.5", true, 1.5}, {"-2", true, -2}, {" 3 ", true, 3}, {"abc", false, 5}, {"", false, 5},
                 {"1,2,3", false, 5}, {"nan", false, 5}, {"1e999", false, 5}};
    for (const Case& c : cases) {
        Barge().frames[2].SetX(1, 5);
        std::string value = c.typed;
        bool valid = true;
        main->OffsetGridCellValidate(main->OffsetGrid, 1, 2, value, valid);
        EXPECT_EQ(valid, c.valid) << c.typed;
        EXPECT_DOUBLE_EQ(Barge().frames[2].GetX(1), c.stored) << c.typed;
        EXPECT_DOUBLE_EQ(Barge().frames[2].GetX(0), -5) << c.typed;
    }
    // A row past the frame's points is refused.
    std::string value = "1";
    bool valid = true;
    main->OffsetGridCellValidate(main->OffsetGrid, 1, 9, value, valid);
    EXPECT_FALSE(valid);
}

TEST_F(Inspector, InsertAndDeletePoint)
{
    ShowOffsets(2);
    main->OffsetGrid->SetRowEx(3);  // point 2 of (-5,0) (5,0) (5,4) (-5,4)
    main->InsertPoint1Click(main->InsertPoint1);
    core::Section& f = Barge().frames[2];
    ASSERT_EQ(f.GetOffsetCount(), 5u);
    EXPECT_DOUBLE_EQ(f.GetX(2), 5);
    EXPECT_DOUBLE_EQ(f.GetZ(2), 2);
    EXPECT_EQ(main->OffsetGrid->Row(), 3);
    EXPECT_EQ(main->OffsetGrid->RowCount(), 6);

    // The last point takes a point between it and the one before.
    main->OffsetGrid->SetRowEx(5);
    main->InsertPoint1Click(main->InsertPoint1);
    ASSERT_EQ(f.GetOffsetCount(), 6u);
    EXPECT_DOUBLE_EQ(f.GetX(4), 0);
    EXPECT_DOUBLE_EQ(f.GetZ(4), 4);
    EXPECT_EQ(main->CurrentPoint, 4);

    main->InsertAtMidpoint1->Click();
    EXPECT_FALSE(main->InsertAtMidpoint1->Checked());
    main->OffsetGrid->SetRowEx(1);
    main->InsertPoint1Click(main->InsertPoint1);
    ASSERT_EQ(f.GetOffsetCount(), 7u);
    EXPECT_DOUBLE_EQ(f.GetX(0), 0);
    EXPECT_DOUBLE_EQ(f.GetX(1), -5);

    // Emptied, the frame takes a first point again.
    for (int k = 0; k < 7; ++k) {
        main->OffsetGrid->SetRowEx(1);
        main->DeletePoint1Click(main->DeletePoint1);
    }
    EXPECT_EQ(f.GetOffsetCount(), 0u);
    EXPECT_EQ(main->OffsetGrid->RowCount(), 2);
    main->InsertPoint1Click(main->InsertPoint1);
    ASSERT_EQ(f.GetOffsetCount(), 1u);
    EXPECT_EQ(main->OffsetGrid->Cells(1, 1), "0.000");
    EXPECT_TRUE(main->Modified());
}

TEST_F(Inspector, DeletingTheLastPointMakesThePointBeforeItCurrent)
{
    ShowOffsets(2);
    main->OffsetGrid->SetRowEx(4);
    main->DeletePoint1Click(main->DeletePoint1);
    EXPECT_EQ(Barge().frames[2].GetOffsetCount(), 3u);
    EXPECT_EQ(main->CurrentPoint, 2);
    EXPECT_EQ(main->OffsetGrid->RowCount(), 4);
    EXPECT_EQ(main->OffsetGrid->Row(), 3);
}

// ---------------------------------------------------------------- what the views show

namespace {

constexpr TColor kRed = 0x0000FF;

int RedPixels(plot::TPlotGraph* v)
{
    v->SetVisRect(plot::Rect2D(-8, -2, 8, 6));
    v->Render(nullptr);
    TBitmap& b = *v->Bitmap();
    int n = 0;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            if (b.Canvas()->Pixel(x, y) == kRed) ++n;
    return n;
}

// The X of series s's point k in view v.
double SeriesX(plot::TPlotGraph* v, int s, int k) { return double(v->Series().GetSeries(s).GetPoints(k).x); }

}  // namespace

TEST_F(Inspector, TheSelectedFrameIsDrawnRedAndActiveOffEmptiesTheViews)
{
    main->HullTreeView->SetSelected(FrameNode(0, 2));
    plot::TPlotGraph* body = main->SectionView;
    ASSERT_EQ(body->Series().Count(), 11);
    EXPECT_EQ(body->Series().GetSeries(2).Color(), kRed);
    EXPECT_NE(body->Series().GetSeries(3).Color(), kRed);
    EXPECT_GT(RedPixels(body), 50);

    ClickLink(Prop(0, 6), "appendage 0 active");
    EXPECT_EQ(main->SectionView->Series().Count(), 0);
    EXPECT_EQ(main->PlanView->Series().Count(), 0);
    EXPECT_EQ(main->SideView->Series().Count(), 0);
    ClickLink(Prop(0, 6), "appendage 0 active");
    EXPECT_GT(main->SideView->Series().Count(), 0);
}

TEST_F(Inspector, ATypedOffsetRedrawsTheBodyPlan)
{
    ShowOffsets(2);
    plot::TPlotGraph* body = main->SectionView;
    ASSERT_GT(body->Series().Count(), 0);
    const int last = body->Series().Count() - 1;
    EXPECT_DOUBLE_EQ(SeriesX(body, last, 1), 5);
    TypeCell(1, 2, "2.5");
    ASSERT_GT(body->Series().Count(), 0);
    EXPECT_DOUBLE_EQ(SeriesX(body, body->Series().Count() - 1, 1), 2.5);
}
