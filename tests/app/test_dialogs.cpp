// The transform, array and split dialogs driven on the real program.
#include <string>
#include <vector>

#include "AppFixture.h"
#include "Hulls.h"
#include "app/ArrayDialog.h"
#include "app/ModelEdits.h"
#include "app/SplitDialog.h"
#include "app/RunPages.h"
#include "app/TransformDialog.h"
#include "platform/TestRig.h"
#include "platform/system/Clipboard.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/ListBox.h"
#include "platform/controls/Menus.h"
#include "platform/controls/StdCtrls.h"
#include "widgets/edit/ExCombo.h"
#include "widgets/edit/ExEdBtn.h"
#include "widgets/edit/ExEdit.h"
#include "widgets/frame/ExPageControl.h"
#include "widgets/edit/MoneyEdit.h"
#include "widgets/flat/FlatCheckListBox.h"

namespace {

using Ys = std::vector<double>;

class DialogTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        hulls::MakeBoxBarge(main->Hull);  // frames "Frame 0".."Frame 10" at Y 0, 3, .. 30
        main->RefreshAll();
    }
    void TearDown() override
    {
        ExpectSoundHull();
        AppTest::TearDown();
    }
    core::Appendage& Barge() { return main->Hull.appendages[0]; }
    Ys FrameYs(unsigned i = 0)
    {
        Ys ys;
        for (const auto& s : main->Hull.appendages[i].frames) ys.push_back(s.Y);
        return ys;
    }
    // The model's own checks: frames in ascending order, every name kept.
    void ExpectSoundHull()
    {
        for (const core::Appendage& a : main->Hull.appendages) {
            EXPECT_TRUE(a.FramesAscend()) << a.name;
            for (const core::Section& s : a.frames) EXPECT_FALSE(s.name.empty());
        }
    }
    app::TTransformDialog* Transform()
    {
        main->Transform1->Click();
        return app::TransformDialog;
    }
    // Operate on and operation chosen, values entered, range lines checked.
    void Setup(app::TTransformDialog* d, int on, int op, double x, double y, double z, bool copy,
               const std::vector<int>& lines)
    {
        d->SelectionRadioGroup->SetItemIndex(on);
        d->OperationRadioGroup->SetItemIndex(op);
        d->XEdit->SetValue(x);
        d->YEdit->SetValue(y);
        d->ZEdit->SetValue(z);
        d->CopyCheckBox->SetChecked(copy);
        d->RangeCheckBox->SetChecked(!lines.empty());
        for (int k : lines) d->CheckListBox->SetChecked(k, true);
    }
};

TEST_F(DialogTest, MovingACheckedRangeMovesEachFrameOnceThoughTheyReorder)
{
    auto* d = Transform();
    ASSERT_TRUE(d->Visible());
    EXPECT_EQ(d->SelectedLabel->Caption(), "App = Barge, Fr = Frame 0");
    Setup(d, 0, 1, 0.5, 4, 0, false, {0, 1, 2});
    EXPECT_EQ(d->ClientHeight(), 400);
    d->ExecuteBtn->Click();
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(FrameYs(), (Ys{4, 7, 9, 10, 12, 15, 18, 21, 24, 27, 30}));
    EXPECT_EQ(Barge().frames[0].name, "Frame 0");
    EXPECT_EQ(Barge().frames[0].maxX, 5.5);
    EXPECT_EQ(Barge().frames[3].name, "Frame 2");
    EXPECT_TRUE(main->Modified());
    for (int k = 0; k < 11; ++k) EXPECT_FALSE(d->CheckListBox->GetChecked(k));  // cleared after Execute
}

TEST_F(DialogTest, FramesMovingUpTogetherDoNotStopEachOther)
{
    auto* d = Transform();
    Setup(d, 0, 1, 0, 3, 0, false, {0, 1, 2});  // frame 2 would land on unchecked frame 3
    d->ExecuteBtn->Click();
    EXPECT_EQ(boxes, (std::vector<std::string>{"Moving Y location for Frame[2] Failed. Already a frame at Y=9 m...",
                                               "Moving Y location for Frame[1] Failed. Already a frame at Y=6 m...",
                                               "Moving Y location for Frame[0] Failed. Already a frame at Y=3 m..."}));
    EXPECT_EQ(FrameYs(), (Ys{0, 3, 6, 9, 12, 15, 18, 21, 24, 27, 30}));
    boxes.clear();
    Setup(d, 0, 1, 0, 1.5, 0, false, {0, 1, 2});
    d->ExecuteBtn->Click();
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(FrameYs(), (Ys{1.5, 4.5, 7.5, 9, 12, 15, 18, 21, 24, 27, 30}));
}

TEST_F(DialogTest, RefusedFramesAreReportedOneBoxEachAndTheOthersGoOn)
{
    struct Case {
        int op;
        double y;
        bool copy;
        std::vector<int> lines;
        std::vector<std::string> messages;
        Ys ys;
    };
    const Case cases[] = {
        {1, 3, true, {}, {"Move Single Frame Failed. Already a frame at Y=3 m..."}, {0, 3, 6, 9, 12, 15, 18, 21, 24, 27, 30}},
        {0, 2, true, {}, {"Scale Single Frame Failed. Already a frame at Y=0 m..."}, {0, 3, 6, 9, 12, 15, 18, 21, 24, 27, 30}},
        // the last frame's Y is refused too
        {1, 30, true, {}, {"Move Single Frame Failed. Already a frame at Y=30 m..."}, {0, 3, 6, 9, 12, 15, 18, 21, 24, 27, 30}},
        {1, 1, true, {1, 2, 10}, {}, {0, 3, 4, 6, 7, 9, 12, 15, 18, 21, 24, 27, 30, 31}},
        {1, 3, true, {1, 9}, {"Moving Frame[0] Failed. Already a frame at Y=6 m...", "Moving Frame[1] Failed. Already a frame at Y=30 m..."}, {0, 3, 6, 9, 12, 15, 18, 21, 24, 27, 30}},
        {0, 2, true, {1, 3, 10}, {"Scaling Frame[0] Failed. Already a frame at Y=6 m...", "Scaling Frame[1] Failed. Already a frame at Y=18 m..."}, {0, 3, 6, 9, 12, 15, 18, 21, 24, 27, 30, 60}},
        {0, 1e-9, false, {1}, {"Scaling Y location for Frame[1] Failed. Scaling frame [1] of appendage[0] by factor less than 0.000001 on Y axis"}, {0, 3, 6, 9, 12, 15, 18, 21, 24, 27, 30}},
    };
    for (const Case& c : cases) {
        hulls::MakeBoxBarge(main->Hull);
        main->CurrentFrame = 0;
        main->RefreshAll();
        boxes.clear();
        auto* d = Transform();
        Setup(d, 0, c.op, 1, c.y, 1, c.copy, c.lines);
        d->ExecuteBtn->Click();
        EXPECT_EQ(boxes, c.messages) << c.y;
        EXPECT_EQ(FrameYs(), c.ys) << c.y;
        ExpectSoundHull();
    }
}

// Hull, appendage and frame-rotation steps the model refuses: the box gives its reason
// and the hull stays as the refused step found it.
TEST_F(DialogTest, RefusedStepsShowTheModelsReason)
{
    const std::string beyond = " would take an offset or a frame position beyond the range of numbers";
    struct Case {
        const char* what;
        int on, op;
        double x, y, z;
        bool huge;   // the barge is first made nearly as wide and deep as numbers go
        int repeat;  // Execute pressed this many times; only the last is refused
        std::string message;
    };
    const Case cases[] = {
        {"scale hull", 2, 0, 1e-9, 1, 1, false, 1,
         "Scale Hull Failed. Scaling Hull by factor less than 0.000001 on X axis"},
        {"scale hull beyond", 2, 0, 1e308, 1, 1, false, 1, "Scale Hull Failed. Scaling Hull" + beyond},
        {"move hull beyond", 2, 1, 1e308, 0, 0, false, 2, "Move Hull Failed. Moving Hullform" + beyond},
        {"rotate hull", 2, 2, 0, 45, 0, true, 1, "Rotate Hull Failed. Rotating Hullform" + beyond},
        {"scale appendage", 1, 0, 1, 1, 1e-9, false, 1,
         "Scaling Appendage[0] Failed. Scaling appendage[0] by factor less than 0.000001 on Z axis"},
        {"move appendage beyond", 1, 1, 0, 0, 1e308, false, 2,
         "Moving Appendage[0] Failed. Moving appendage[0]" + beyond},
        {"rotate appendage", 1, 2, 0, 45, 0, true, 1, "Rotating Appendage[0] Failed. Rotating appendage[0]" + beyond},
        {"rotate frame", 0, 2, 0, 45, 0, true, 1,
         "Rotating Frame[0] Failed. Rotating frame [0] of appendage[0]" + beyond},
    };
    // Every number of the appendages, frame by frame.
    auto numbers = [](const std::vector<core::Appendage>& as) {
        std::vector<double> v;
        for (const core::Appendage& a : as)
            for (const core::Section& f : a.frames) {
                v.push_back(f.Y);
                v.insert(v.end(), f.X.begin(), f.X.end());
                v.insert(v.end(), f.Z.begin(), f.Z.end());
            }
        return v;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        hulls::MakeBoxBarge(main->Hull);
        if (c.huge) ASSERT_TRUE(main->Hull.Scale(3e307, 1, 4e307));
        main->CurrentAppendage = main->CurrentFrame = 0;
        main->RefreshAll();
        auto* d = Transform();
        std::vector<core::Appendage> kept;
        for (int k = 0; k < c.repeat; ++k) {
            boxes.clear();
            kept = main->Hull.appendages;
            Setup(d, c.on, c.op, c.x, c.y, c.z, false, {});
            d->ExecuteBtn->Click();
        }
        EXPECT_EQ(boxes, std::vector<std::string>{c.message});
        EXPECT_EQ(main->Hull.appendages.size(), kept.size());
        EXPECT_EQ(numbers(main->Hull.appendages), numbers(kept));
    }
}

TEST_F(DialogTest, DeleteAsksFirstAndRemovesEveryCheckedItem)
{
    auto* d = Transform();
    Setup(d, 0, 0, 1, 1, 1, false, {1, 2, 10});
    boxAnswers = {platform::mrCancel};
    d->DeleteCheckedBtn->Click();
    EXPECT_EQ(boxes, std::vector<std::string>{"This will permanently delete selected items. Are you sure?"});
    EXPECT_EQ(captions, std::vector<std::string>{"Confirm Delete"});
    EXPECT_EQ(Barge().GetFrameCount(), 11u);
    d->DeleteCheckedBtn->Click();  // answered OK
    EXPECT_EQ(FrameYs(), (Ys{0, 9, 12, 15, 18, 21, 24, 27}));
    EXPECT_EQ(d->CheckListBox->Items().Count(), 8);

    main->Hull.AddAppendage("Keel");
    main->RefreshAll();
    Setup(d, 1, 0, 1, 1, 1, false, {0});
    EXPECT_EQ(d->CheckListBox->Items().Count(), 2);
    d->DeleteCheckedBtn->Click();
    ASSERT_EQ(main->Hull.GetAppendageCount(), 1u);
    EXPECT_EQ(main->Hull.appendages[0].name, "Keel");
}

TEST_F(DialogTest, AListTheModelNoLongerMatchesChangesNothing)
{
    auto* d = Transform();
    Setup(d, 0, 1, 0, 1, 0, false, {3});
    Barge().InsertSection(hulls::NewFrame(99, 1));  // behind the dialog's back
    d->DeleteCheckedBtn->Click();
    EXPECT_EQ(Barge().GetFrameCount(), 12u);
    d->CheckListBox->SetChecked(4, true);
    d->DeleteCheckedBtn->Click();
    EXPECT_EQ(Barge().GetFrameCount(), 11u);
    EXPECT_EQ(FrameYs()[4], 12);  // the checked "Frame 3" went
}

TEST_F(DialogTest, TheSelectionFollowsAMovedFrame)
{
    main->CurrentFrame = 1;
    auto* d = Transform();
    Setup(d, 0, 1, 0, 4, 0, false, {});
    d->ExecuteBtn->Click();
    EXPECT_EQ(main->CurrentFrame, 2);
    EXPECT_EQ(d->SelectedLabel->Caption(), "App = Barge, Fr = Frame 1");
    EXPECT_EQ(d->Extents[1], 7);
}

TEST_F(DialogTest, AnyNumberOfFramesCanBeChecked)
{
    core::Appendage& a = Barge();
    for (int k = 11; k < 300; ++k) a.InsertSection(hulls::NewFrame(k, 3.0 * k));
    main->RefreshAll();
    auto* d = Transform();
    Setup(d, 0, 1, 0, 1, 0, false, {280});
    EXPECT_TRUE(d->CheckListBox->GetChecked(280));
    d->ExecuteBtn->Click();
    EXPECT_EQ(a.frames[280].Y, 841);
    EXPECT_EQ(a.frames[279].Y, 837);
    EXPECT_EQ(a.frames[280].name, "Frame 280");
}

TEST_F(DialogTest, OpenDialogsFollowTheSelection)
{
    auto* d = Transform();
    Setup(d, 0, 0, 1, 1, 1, false, {3});
    main->CurrentFrame = 4;
    main->SelectionChanged();
    EXPECT_EQ(d->SelectedLabel->Caption(), "App = Barge, Fr = Frame 4");
    EXPECT_TRUE(d->CheckListBox->GetChecked(3));  // same list: marks kept
    EXPECT_EQ(d->Extents[1], 12);
    main->CurrentAppendage = 3;
    main->SelectionChanged();
    EXPECT_EQ(d->SelectedLabel->Caption(), "No Frame Selected...");
    EXPECT_FALSE(d->ExecuteBtn->Enabled());
    EXPECT_EQ(d->CheckListBox->Items().Count(), 0);

    main->CurrentAppendage = 0;
    main->Split1->Click();
    main->CurrentFrame = 6;
    main->SelectionChanged();
    EXPECT_EQ(app::SplitDialog->FrameComboBox->ItemIndex(), 6);
}

TEST_F(DialogTest, ExtraCalculatorButtonsTakeTheExtents)
{
    auto* d = Transform();
    main->CurrentFrame = 2;
    d->SelectionRadioGroup->SetItemIndex(0);
    d->UpdateSelectionInfo();
    struct Case {
        int axis, idx;
        double want;
    };
    for (const Case& c : {Case{0, 1, 5}, Case{0, 2, -5}, Case{1, 1, 6}, Case{1, 2, 6}, Case{2, 1, 4}, Case{2, 2, 0}}) {
        double v = 99;
        d->EditExtraButtonClick(c.axis, c.idx, v);
        EXPECT_EQ(v, c.want) << c.axis << " " << c.idx;
    }
    // Through the calculator's own extra buttons ("+ x" is the first of them).
    d->XEdit->Calculator().ButtonClick(19);
    EXPECT_EQ(d->XEdit->GetValue(), 5);
    d->XEdit->Calculator().ButtonClick(20);
    EXPECT_EQ(d->XEdit->GetValue(), -5);
}

TEST_F(DialogTest, RotateAppendageAndHullOperations)
{
    auto* d = Transform();
    d->SelectionRadioGroup->SetItemIndex(0);
    d->OperationRadioGroup->SetItemIndex(2);
    EXPECT_FALSE(d->CopyCheckBox->Enabled());
    EXPECT_FALSE(d->XEdit->Enabled());
    d->SelectionRadioGroup->SetItemIndex(1);
    EXPECT_TRUE(d->CopyCheckBox->Enabled());

    Setup(d, 1, 1, 0, 10, 0, true, {});  // a moved copy of the barge
    d->ExecuteBtn->Click();
    ASSERT_EQ(main->Hull.GetAppendageCount(), 2u);
    EXPECT_EQ(FrameYs(1).front(), 10);
    Setup(d, 1, 0, 2, 1, 1, false, {0, 1});  // both appendages twice as wide
    d->ExecuteBtn->Click();
    EXPECT_EQ(main->Hull.appendages[0].GetMaxX(), 10);
    EXPECT_EQ(main->Hull.appendages[1].GetMaxX(), 10);
    Setup(d, 0, 2, 0, 90, 0, false, {0, 10});  // frames 0 and 10 turned on their side
    d->ExecuteBtn->Click();
    EXPECT_NEAR(Barge().frames[0].maxZ, 10, 1e-9);
    EXPECT_NEAR(Barge().frames[5].maxZ, 4, 1e-9);
    Setup(d, 2, 0, 1, 1, 0.5, false, {});
    EXPECT_FALSE(d->RangeCheckBox->Checked());
    EXPECT_FALSE(d->RangeCheckBox->Enabled());
    EXPECT_EQ(d->SelectedLabel->Caption(), "Hull = Box Barge");
    d->ExecuteBtn->Click();
    EXPECT_NEAR(main->Hull.appendages[1].GetMaxZ(), 2, 1e-9);
    boxAnswers = {platform::mrOk};
    d->DeleteCheckedBtn->Click();
    EXPECT_EQ(main->Hull.GetAppendageCount(), 0u);
    EXPECT_TRUE(boxes.size() == 1u && captions.back() == "Confirm Delete");
}

// --- Array dialog ---

TEST_F(DialogTest, PitchAndTotalToggle)
{
    main->ElementArray1->Click();
    auto* d = app::ArrayDialog;
    d->CopyCountEdit->SetText("3");
    d->XEdit->SetFloat(1.5);
    d->EditClickBtn(d->XEdit);
    EXPECT_EQ(d->XEdit->GetCaption(), "total");
    EXPECT_DOUBLE_EQ(d->XEdit->GetFloat(), 4.5);
    d->EditClickBtn(d->XEdit);
    EXPECT_EQ(d->XEdit->GetCaption(), "pitch");
    EXPECT_DOUBLE_EQ(d->XEdit->GetFloat(), 1.5);
    d->CopyCountEdit->SetText("0");
    d->XEdit->SetCaption("total");
    d->EditClickBtn(d->XEdit);
    EXPECT_EQ(d->XEdit->GetCaption(), "pitch");
    EXPECT_EQ(d->XEdit->GetFloat(), 0);
}

TEST_F(DialogTest, ArrayOfFramesAndOfAppendages)
{
    main->CurrentFrame = 10;
    main->ElementArray1->Click();
    auto* d = app::ArrayDialog;
    EXPECT_EQ(d->ElementComboBox->ItemIndex(), 10);
    d->CopyCountEdit->SetText("3");
    d->YEdit->SetFloat(4.5);
    d->YEdit->SetCaption("total");
    d->ExecuteBtn->Click();
    EXPECT_EQ(FrameYs(), (Ys{0, 3, 6, 9, 12, 15, 18, 21, 24, 27, 30, 31.5, 33, 34.5}));
    // The frame chosen in the list is the one copied.
    d->ElementComboBox->SetItemIndex(0);
    d->ElementComboBox->OnChange(d->ElementComboBox);
    EXPECT_EQ(main->CurrentFrame, 0);
    d->CopyCountEdit->SetText("1");
    d->YEdit->SetCaption("pitch");
    d->YEdit->SetFloat(-2);
    d->ExecuteBtn->Click();
    EXPECT_EQ(FrameYs().front(), -2);

    d->SelectionRadioGroup->SetItemIndex(1);
    EXPECT_FALSE(d->NewAppendageCheckBox->Enabled());
    d->CopyCountEdit->SetText("2");
    d->YEdit->SetFloat(5);
    d->ExecuteBtn->Click();
    ASSERT_EQ(main->Hull.GetAppendageCount(), 3u);
    EXPECT_EQ(FrameYs(1).front(), 3);
    EXPECT_EQ(FrameYs(2).front(), 8);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(DialogTest, ArrayRefusesWhatItCannotDo)
{
    main->ElementArray1->Click();
    auto* d = app::ArrayDialog;
    main->CurrentFrame = 11;
    d->ExecuteBtn->Click();
    main->CurrentAppendage = 2;
    d->ExecuteBtn->Click();
    EXPECT_EQ(boxes, (std::vector<std::string>{"Invalid Frame Index - 11", "Invalid Appendage Index - 2"}));
    main->CurrentAppendage = 0;
    main->CurrentFrame = 0;
    boxes.clear();
    d->YEdit->SetFloat(0.001);
    d->CopyCountEdit->SetText("200000");
    d->ExecuteBtn->Click();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find("100000"), std::string::npos);
    d->CopyCountEdit->SetText("6000");
    boxAnswers = {platform::mrCancel};
    d->ExecuteBtn->Click();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(captions.back(), "Confirm Copies");
    EXPECT_EQ(Barge().GetFrameCount(), 11u);

    main->Hull.Clear();
    main->RefreshAll();
    boxes.clear();
    d->Hide();
    main->ElementArray1->Click();
    EXPECT_EQ(boxes, std::vector<std::string>{"Invalid Appendage Index - 0"});
}

// Copies the model refuses: the box gives its reason, the copies it could make stay.
TEST_F(DialogTest, RefusedArraysShowTheModelsReason)
{
    struct Case {
        const char* what;
        int on;  // frame or appendage
        const char* count;
        double x, y;
        std::string message;
        Ys ys;                // the barge's frames after
        unsigned appendages;  // after
    };
    const Case cases[] = {
        {"frames onto frames", 0, "3", 0, 3,
         "Frame Array Failed. Creating copy 3 of frame [0] of appendage[0] at Y=9. During frame copy -1 index returned",
         {0, 3, 6, 9, 12, 15, 18, 21, 24, 27, 30}, 1},
        {"appendages beyond", 1, "3", 1e308, 0,
         "Appendage Array Failed. Moving appendage[0] by a distance that is not a finite number on X axis",
         {0, 3, 6, 9, 12, 15, 18, 21, 24, 27, 30}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        hulls::MakeBoxBarge(main->Hull);
        main->CurrentAppendage = main->CurrentFrame = 0;
        main->RefreshAll();
        boxes.clear();
        main->ElementArray1->Click();
        auto* d = app::ArrayDialog;
        d->SelectionRadioGroup->SetItemIndex(c.on);
        d->NewAppendageCheckBox->SetChecked(false);
        d->CopyCountEdit->SetText(c.count);
        d->XEdit->SetCaption("pitch");
        d->YEdit->SetCaption("pitch");
        d->ZEdit->SetCaption("pitch");
        d->XEdit->SetFloat(c.x);
        d->YEdit->SetFloat(c.y);
        d->ZEdit->SetFloat(0);
        d->ExecuteBtn->Click();
        EXPECT_EQ(boxes, std::vector<std::string>{c.message});
        EXPECT_EQ(FrameYs(), c.ys);
        EXPECT_EQ(main->Hull.GetAppendageCount(), c.appendages);
        d->Hide();
    }
}

// --- Split dialog ---

TEST_F(DialogTest, SplitAtAFrame)
{
    main->CurrentFrame = 4;
    main->Split1->Click();
    auto* d = app::SplitDialog;
    EXPECT_EQ(d->AppComboBox->Items().Count(), 1);
    EXPECT_EQ(d->FrameComboBox->ItemIndex(), 4);
    d->SplitYBtn->Click();
    ASSERT_EQ(main->Hull.GetAppendageCount(), 3u);
    EXPECT_EQ(main->Hull.appendages[1].name, "Barge-Aft");
    EXPECT_EQ(FrameYs(1), (Ys{0, 3, 6, 9, 12}));
    EXPECT_EQ(FrameYs(2), (Ys{12, 15, 18, 21, 24, 27, 30}));
    EXPECT_EQ(d->AppComboBox->Items().Count(), 3);

    // Another appendage chosen: the frame list follows it.
    d->AppComboBox->SetItemIndex(1);
    d->AppComboBox->OnChange(d->AppComboBox);
    EXPECT_EQ(main->CurrentAppendage, 1);
    EXPECT_EQ(main->CurrentFrame, 4);
    EXPECT_EQ(d->FrameComboBox->Items().Count(), 5);
    d->FrameComboBox->SetItemIndex(2);
    d->FrameComboBox->OnChange(d->FrameComboBox);
    EXPECT_EQ(main->CurrentFrame, 2);
    d->DeleteOriginalCheckBox->SetChecked(true);
    d->SplitYBtn->Click();
    ASSERT_EQ(main->Hull.GetAppendageCount(), 4u);
    EXPECT_EQ(main->Hull.appendages[2].name, "Barge-Aft-Aft");
    EXPECT_TRUE(boxes.empty());
}

TEST_F(DialogTest, AFailedSplitIsShownAndLogged)
{
    main->Split1->Click();
    main->CurrentFrame = 20;
    app::SplitDialog->SplitYBtn->Click();
    const std::string line = "ERROR: In TSplitDialog::SplitYBtnClick(), appendage[0] or frame [20] found out of bounds";
    EXPECT_EQ(main->Hull.log.Lines().back(), line);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find(line.substr(7)), std::string::npos);
    EXPECT_EQ(main->Hull.GetAppendageCount(), 1u);

    app::SplitDialog->Hide();
    main->Split1->Click();
    const auto& lines = main->Hull.log.Lines();
    EXPECT_EQ(lines[lines.size() - 2],
              "ERROR: In TSplitForm::UpdateAppListBox(), appendage[0] or frame [20] found out of bounds");
    EXPECT_EQ(lines.back(), "ERROR: In TSplitForm::UpdateFrameListBox(), appendage[0] or frame [20] found out of bounds");
}

}  // namespace

namespace {

// The dialogs laid out as shown: every control inside its window, the list under the
// range switch only in the enlarged transform dialog.
TEST_F(DialogTest, DialogsAreLaidOutInsideTheirWindows)
{
    auto* t = Transform();
    t->RangeCheckBox->SetChecked(true);
    main->ElementArray1->Click();
    main->Split1->Click();
    for (platform::TForm* f : std::vector<platform::TForm*>{t, app::ArrayDialog, app::SplitDialog}) {
        for (int k = 0; k < f->ControlCount(); ++k) {
            platform::TControl* c = f->Controls(k);
            EXPECT_LE(c->Left() + c->Width(), f->ClientWidth()) << f->Name() << " " << c->Name();
            EXPECT_LE(c->Top() + c->Height(), f->ClientHeight()) << f->Name() << " " << c->Name();
        }
        auto bmp = platform::PaintToBitmap(f);
        if (const char* dir = std::getenv("KORVELO_SNAPSHOTS"))
            bmp->SaveToFile(std::string(dir) + "/" + f->Name() + ".bmp");
    }
    t->RangeCheckBox->SetChecked(false);
    EXPECT_EQ(t->ClientHeight(), 171);
    EXPECT_LT(t->ClientHeight(), t->CheckListBox->Top());
}

}  // namespace

// --- Numbers typed as a user types them ---

namespace {

void ClickInto(platform::TWinControl* c)
{
    platform::HostMouse(c, platform::hmPress, platform::mbLeft, 4, c->Height() / 2);
    platform::HostMouse(c, platform::hmRelease, platform::mbLeft, 4, c->Height() / 2);
}

void Type(platform::TWinControl* c, const std::string& keys)
{
    for (char k : keys) {
        const platform::Word vk = k == '-'   ? platform::Word(0xBD)
                                  : k == '+' ? platform::Word(platform::VK_ADD)
                                  : k == '*' ? platform::Word(platform::VK_MULTIPLY)
                                  : k == '.' ? platform::Word(0xBE)
                                  : k == '\b' ? platform::Word(platform::VK_BACK)
                                             : platform::Word(k);
        platform::HostKey(c, vk);
    }
}

}  // namespace

// What the calculator edit shows is what the transform uses: a leading "-" is the number's
// sign, and leaving the field (or Execute reading it) finishes a pending operation.
TEST_F(DialogTest, TransformTakesTheNumberTypedIntoTheCalculatorEdit)
{
    struct Case {
        const char* keys;  // typed over the X field's whole text
        bool leaveByMouse;  // else Execute reads the field while it has the focus
        double moved;
        const char* shown;
    };
    const Case cases[] = {{"-3", true, -3, "-3"},   {"-3", false, -3, "-3"}, {"2+3", true, 5, "5"},
                          {"2*4", false, 8, "8"},   {"4-", true, 4, "4"},    {"4-1", true, 3, "3"},
                          {"-2.5", true, -2.5, "-2.5"}};
    auto* d = Transform();
    d->SelectionRadioGroup->SetItemIndex(2);
    d->OperationRadioGroup->SetItemIndex(1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys);
        const double before = main->Hull.GetMinX();
        d->YEdit->SetValue(0);
        d->ZEdit->SetValue(0);
        ClickInto(d->XEdit);
        ASSERT_TRUE(d->XEdit->Focused());
        platform::HostKey(d->XEdit, 'A', platform::ssCtrl);  // typing replaces the whole text
        Type(d->XEdit, c.keys);
        if (c.leaveByMouse) {
            ClickInto(d->YEdit);
            EXPECT_EQ(d->XEdit->Text(), c.shown);
        }
        d->ExecuteBtn->Click();
        EXPECT_EQ(d->XEdit->Text(), c.shown);
        EXPECT_NEAR(main->Hull.GetMinX() - before, c.moved, 1e-9);
    }
}

// The array dialog's signed fields take a typed minus as well.
TEST_F(DialogTest, ArrayTakesANegativePitchTyped)
{
    main->CurrentFrame = 0;
    main->ElementArray1->Click();
    auto* d = app::ArrayDialog;
    d->CopyCountEdit->SetText("1");
    ClickInto(d->YEdit);
    ASSERT_TRUE(d->YEdit->Focused());
    d->YEdit->SelectAll();
    Type(d->YEdit, "-2");
    ClickInto(d->ZEdit);
    d->ExecuteBtn->Click();
    EXPECT_EQ(FrameYs().front(), -2);
}

// Esc on the delete question, in the box on the screen, answers No: nothing is deleted.
TEST_F(DialogTest, EscOnTheDeleteQuestionDeletesNothing)
{
    auto* d = Transform();
    Setup(d, 0, 0, 1, 1, 1, false, {1, 2});
    const platform::TMessageBoxHook answered = platform::SetMessageBoxHook({});
    platform::KeyToNextMessageBox(platform::VK_ESCAPE);
    d->DeleteCheckedBtn->Click();
    platform::SetMessageBoxHook(answered);
    EXPECT_EQ(Barge().GetFrameCount(), 11u);
}

// Ctrl+A, C, V, X and Z belong to the focused text field; with no field focused Ctrl+A
// opens the array dialog as the menu says.
TEST_F(DialogTest, EditingKeysGoToTheFocusedFieldFirst)
{
    main->ViewControl->SetActivePage(main->CalculationsSheet);
    edit::TExEdit* field = main->Runs->StartDraftEdit;
    field->SetText("1.250");
    field->SetFocus();
    ASSERT_TRUE(field->Focused());
    field->SetSelStart(0);
    platform::HostKey(field, 'A', platform::ssCtrl);
    EXPECT_FALSE(app::ArrayDialog->Visible());
    EXPECT_EQ(field->SelLength(), int(field->Text().size()));
    platform::Clipboard()->SetAsText("");
    platform::HostKey(field, 'C', platform::ssCtrl);
    EXPECT_EQ(platform::Clipboard()->AsText().rfind("1.250", 0), 0u);
    platform::HostKey(field, 'X', platform::ssCtrl);
    EXPECT_EQ(field->GetText(), "");
    platform::HostKey(field, 'Z', platform::ssCtrl);
    EXPECT_EQ(field->GetText(), "1.250");
    platform::Clipboard()->SetAsText("2.5");
    platform::HostKey(field, 'A', platform::ssCtrl);
    platform::HostKey(field, 'V', platform::ssCtrl);
    EXPECT_EQ(field->GetText(), "2.500");
    EXPECT_FALSE(app::ArrayDialog->Visible());
    EXPECT_FALSE(app::TransformDialog->Visible());
    // Another short-cut still works from the field.
    platform::HostKey(field, 'T', platform::ssCtrl);
    EXPECT_TRUE(app::TransformDialog->Visible());
    app::TransformDialog->Close();
    // Without a text field focused, Ctrl+A is the menu's.
    main->ViewControl->SetFocus();
    platform::HostKey(main->ViewControl, 'A', platform::ssCtrl);
    EXPECT_TRUE(app::ArrayDialog->Visible());
}
