// Panels: the plain container, the mini-HTML caption and body with anchors, collapse and
// expand, the INI store, the caption bar's buttons and shades, groups, stylers, pictures.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "FrameFixture.h"
#include "base/IniFile.h"
#include "platform/controls/StdCtrls.h"
#include "platform/system/Shell.h"
#include "platform/TestRig.h"
#include "support/TestSupport.h"
#include "widgets/frame/ExPanel.h"

using namespace platform;
using namespace frame;

namespace {

TEST(PanelColours, BlendAndGradient)
{
    EXPECT_EQ(expanel::BlendColor(clBtnFace, clWhite, 100), clBtnFace);
    EXPECT_EQ(expanel::BlendColor(clBlack, clBtnFace, 0), TColor(ColorToRGB(clBtnFace)));
    EXPECT_EQ(expanel::BlendColor(TColor(0x000000), TColor(0x0000FF), 50), TColor(0x000080));  // 127.5 to even
    TBitmap b(30, 10);
    expanel::DrawGradient(b.Canvas(), TColor(0x00FF00), TColor(0xFF0000), true, Rect(0, 0, 30, 10), 0);
    EXPECT_EQ(b.Canvas()->Pixel(29, 9), TColor(0x00FF00));
}

struct PanelFixture : FrameFixture {
    TExPanel* panel = nullptr;
    std::vector<std::string> log;
    void SetUp() override
    {
        FrameFixture::SetUp();
        panel = Add<TExPanel>(10, 10, 200, 100);
        panel->Loaded();
    }
    // The first point of the body where an anchor lies.
    bool FindAnchor(const std::string& want, TPoint& at)
    {
        for (int y = 0; y < panel->Height(); y += 2)
            for (int x = 0; x < panel->Width(); x += 2) {
                TRect r{};
                if (panel->IsAnchor(x, y, r) == want) {
                    at = Point(x, y);
                    return true;
                }
            }
        return false;
    }
};

TEST_F(PanelFixture, PlainContainerWithARaisedBevel)
{
    panel->SetColor(TColor(0x00C0C0));
    auto* child = new TButton(form);
    child->SetParent(panel);
    child->SetAlign(alClient);
    EXPECT_EQ(panel->Version(), "1.5.0.0");
    panel->SetVersion("9");
    EXPECT_EQ(panel->Version(), "1.5.0.0");
    child->SetVisible(false);
    auto bmp = PaintToBitmap(panel);
    LookAt(*bmp, "panel_plain");
    EXPECT_EQ(At(*bmp, 0, 50), Sys(clBtnHighlight));
    EXPECT_EQ(At(*bmp, 100, 0), Sys(clBtnHighlight));
    EXPECT_EQ(At(*bmp, 199, 50), Sys(clBtnShadow));
    EXPECT_EQ(At(*bmp, 100, 99), Sys(clBtnShadow));
    EXPECT_EQ(At(*bmp, 100, 50), TColor(0x00C0C0));
    // Children share the client area inside the bevel.
    EXPECT_EQ(child->BoundsRect(), Rect(1, 1, 199, 99));
}

TEST_F(PanelFixture, CaptionBarAndBodyTextWithAnchors)
{
    panel->SetColor(clWhite);
    panel->Caption().SetVisible(true);
    panel->Caption().SetText("<B>Hull</B> data");
    panel->Caption().SetColor(TColor(0x800000));
    panel->SetText("See <A href=\"go\">this</A> or <A href=\"mailto:a@b.c\">mail</A>");
    auto bmp = PaintToBitmap(panel);
    LookAt(*bmp, "panel_html");
    // The bar in its colour, with the caption text in the caption font's colour.
    EXPECT_EQ(At(*bmp, 150, 5), TColor(0x800000));
    const TColor captionText = Sys(clHighlightText);
    EXPECT_GT(Count(*bmp, Rect(1, 1, 80, 18), captionText), 5);
    // The anchors in the link colour (blue) below the bar.
    EXPECT_GT(Count(*bmp, Rect(1, 19, 199, 40), TColor(0xFF0000)), 5);

    std::vector<std::string> shell;
    SetShellExecuteHookForTesting([&](const std::string& verb, const std::string& file) {
        shell.push_back(verb + " " + file);
        return true;
    });
    panel->OnAnchorClick = [&](TObject*, const std::string& a) { log.push_back("click " + a); };
    panel->OnAnchorEnter = [&](TObject*, const std::string& a) { log.push_back("enter " + a); };
    panel->OnAnchorExit = [&](TObject*, const std::string& a) { log.push_back("exit '" + a + "'"); };
    TPoint go, mail;
    ASSERT_TRUE(FindAnchor("go", go));
    ASSERT_TRUE(FindAnchor("mailto:a@b.c", mail));
    EXPECT_GE(go.Y, 19);
    SendMouse(panel, WM_MOUSEMOVE, go.X, go.Y);
    EXPECT_EQ(panel->Cursor(), crHandPoint);
    SendMouse(panel, WM_MOUSEMOVE, 190, 90);
    EXPECT_EQ(panel->Cursor(), crDefault);
    ClickAt(panel, go.X, go.Y);
    ClickAt(panel, mail.X, mail.Y);
    SetShellExecuteHookForTesting(nullptr);
    EXPECT_EQ(log, (std::vector<std::string>{"enter go", "exit ''", "click go"}));
    EXPECT_EQ(shell, std::vector<std::string>{"open mailto:a@b.c"});
    EXPECT_EQ(panel->GetRawText(), "See this or mail");
}

TEST_F(PanelFixture, CollapseAndExpandStepByStep)
{
    panel->Caption().SetHeight(20);
    panel->CollapsSteps = 3;
    panel->CollapsDelay = 0;
    panel->CollapsColor = TColor(0x123456);
    const TColor color = panel->Color();
    std::vector<int> heights;
    panel->OnResize = [&](TObject*) { heights.push_back(panel->Height()); };
    panel->OnMinimize = [&](TObject*) { log.push_back("minimize"); };
    panel->OnMaximize = [&](TObject*) { log.push_back("maximize"); };
    panel->OnEndCollapsExpand = [&](TObject*) { log.push_back("end"); };
    auto* child = Add<TButton>(5, 30, 50, 20, panel);
    panel->SetCollaps(true);
    EXPECT_EQ(heights, (std::vector<int>{74, 48, 22, 20}));
    EXPECT_FALSE(child->Visible());
    EXPECT_EQ(panel->Color(), TColor(0x123456));
    EXPECT_EQ(panel->FullHeight(), 100);
    panel->SetCollaps(true);
    EXPECT_EQ(log, (std::vector<std::string>{"minimize", "end", "end"}));
    panel->SetHeight(30);
    EXPECT_EQ(panel->FullHeight(), 100);  // a height set while collapsed is not the full height
    panel->SetHeight(20);
    heights.clear();
    panel->SetCollaps(false);
    EXPECT_EQ(heights, (std::vector<int>{46, 72, 98, 100}));
    EXPECT_TRUE(child->Visible());
    EXPECT_EQ(panel->Color(), color);
    EXPECT_EQ(log.back(), "end");
    // Without steps: at once, and the colour stays; a hidden caption does not stop it.
    panel->CollapsSteps = 0;
    panel->SetCollaps(true);
    EXPECT_EQ(panel->Height(), 20);
    EXPECT_EQ(panel->Color(), color);
}

TEST_F(PanelFixture, PositionGoesThroughTheIniFile)
{
    testsupport::TempDir dir("panel");
    const std::string file = dir.file("panels.ini");
    panel->Position().Location = clInifile;
    panel->Position().Section = "Hydro";
    panel->SavePosition();  // no key: nothing written
    EXPECT_FALSE(std::ifstream(file).good());
    panel->Position().Key = file;
    panel->SetBounds(30, 40, 180, 90);
    panel->Caption().SetHeight(20);
    panel->SetCollaps(true);
    panel->SavePosition();
    base::TIniFile ini(file);
    EXPECT_EQ(ini.ReadInteger("Hydro", "Top", 0), 40);
    EXPECT_EQ(ini.ReadInteger("Hydro", "Left", 0), 30);
    EXPECT_EQ(ini.ReadInteger("Hydro", "Height", 0), 20);
    EXPECT_EQ(ini.ReadInteger("Hydro", "FullHeight", 0), 90);
    EXPECT_EQ(ini.ReadInteger("Hydro", "Collaps", 0), 1);

    auto* other = Add<TExPanel>(0, 0, 100, 50);
    other->Caption().SetHeight(20);
    other->Position().Location = clInifile;
    other->Position().Key = file;
    other->Position().Section = "Hydro";
    other->Position().Save = true;
    other->Loaded();
    EXPECT_EQ(other->BoundsRect(), Rect(30, 40, 210, 60));
    EXPECT_TRUE(other->Collaps());
    EXPECT_EQ(other->FullHeight(), 90);
    other->SetCollaps(false);
    EXPECT_EQ(other->Height(), 90);
    // A store without "Collaps" loads as expanded.
    base::TIniFile(file).DeleteKey("Hydro", "Collaps");
    auto* third = Add<TExPanel>(0, 0, 100, 50);
    third->Position().Assign(other->Position());
    third->LoadPosition();
    EXPECT_FALSE(third->Collaps());
}

TEST_F(PanelFixture, CaptionButtonsCloseAndCollapse)
{
    panel->Caption().SetVisible(true);
    panel->Caption().SetCloseButton(true);
    panel->Caption().SetMinMaxButton(true);
    panel->Caption().SetCloseButtonColor(TColor(0x0000FF));
    auto bmp = PaintToBitmap(panel);
    LookAt(*bmp, "panel_buttons");
    EXPECT_GT(Count(*bmp, Rect(185, 1, 199, 18), TColor(0x0000FF)), 5);  // the cross
    EXPECT_GT(Count(*bmp, Rect(173, 1, 187, 18), clWhite), 5);            // the triangle
    panel->OnCaptionClick = [&](TObject*) { log.push_back("caption"); };
    panel->OnClose = [&](TObject*) { log.push_back("close"); };
    ClickAt(panel, 180, 8);  // min/max: collapses, and is a caption click too
    EXPECT_TRUE(panel->Collaps());
    ClickAt(panel, 50, 8);
    ClickAt(panel, 192, 8);
    EXPECT_EQ(log, (std::vector<std::string>{"caption", "caption", "close"}));
    EXPECT_FALSE(panel->Visible());
}

TEST_F(PanelFixture, CaptionShades)
{
    TPanelCaption& cap = panel->Caption();
    cap.SetVisible(true);
    cap.SetColor(TColor(0xFF8000));
    cap.SetShadeLight(100);
    EXPECT_EQ(cap.ShadeLight(), 200);
    cap.SetShadeType(stHShade);
    TBitmap* shade = panel->ShadeBitmap();
    ASSERT_EQ(shade->Width(), 200);
    EXPECT_NE(shade->Canvas()->Pixel(0, 5), shade->Canvas()->Pixel(199, 5));
    auto bmp = PaintToBitmap(panel);
    LookAt(*bmp, "panel_hshade");
    cap.SetShadeType(stNoise);
    auto first = std::make_unique<TBitmap>();
    first->Assign(*shade);
    cap.SetShadeType(stNoise);
    int differ = 0;
    for (int x = 0; x < 200; ++x) differ += first->Canvas()->Pixel(x, 5) != shade->Canvas()->Pixel(x, 5);
    EXPECT_GT(differ, 0);
    // A collapsed plain bar is drawn in CloseColor.
    cap.SetShadeType(stNormal);
    cap.SetCloseColor(TColor(0x00FF00));
    panel->SetCollaps(true);
    bmp = PaintToBitmap(panel);
    EXPECT_EQ(At(*bmp, 100, 5), TColor(0x00FF00));
}

TEST_F(PanelFixture, AutoSizeToTheText)
{
    panel->SetText("<B>Hydrostatics</B>");
    panel->AutoSize().SetEnabled(true);
    EXPECT_LT(panel->Width(), 150);
    EXPECT_LT(panel->Height(), 40);
    EXPECT_GT(panel->Width(), 40);
}

TEST_F(PanelFixture, GroupArrangesItsPanels)
{
    auto* group = Add<TExPanelGroup>(0, 0, 200, 400);
    group->SetBevelOuter(bvNone);
    const int heights[] = {50, 80, 60};
    std::vector<TExPanel*> ps;
    for (int i = 0; i < 3; ++i) {
        auto* p = Add<TExPanel>(0, 10 + i * 100, 100, heights[i], group);
        ps.push_back(p);
    }
    group->ArrangeControls();
    EXPECT_EQ(ps[0]->Top(), 8);
    EXPECT_EQ(ps[1]->Top(), 66);
    EXPECT_EQ(ps[2]->Top(), 154);
    EXPECT_EQ(ps[0]->Left(), 8);
    EXPECT_EQ(ps[0]->Width(), 184);
    group->SetColumns(2);
    EXPECT_EQ(ps[0]->Top(), 8);
    EXPECT_EQ(ps[1]->Top(), 8);
    EXPECT_EQ(ps[0]->Left(), 8);
    EXPECT_EQ(ps[1]->Left(), 104);
    EXPECT_EQ(ps[1]->Width(), 92);
    EXPECT_EQ(ps[2]->Top(), 96);
    EXPECT_EQ(ps[2]->Left(), 8);
    group->SetColumns(0);
    EXPECT_EQ(group->Columns(), 2);
    // Too tall for the group: a scroll bar of 16 pixels at its right.
    group->SetColumns(1);
    group->SetHeight(150);
    group->UpdateScrollbar();
    EXPECT_TRUE(group->ScrollBar()->Visible());
    EXPECT_EQ(group->ScrollBar()->Width(), 16);
    // The list: added panels take the default settings; bad indexes do nothing.
    group->DefaultPanel().Height = 33;
    TCustomExPanel* added = group->AddPanel();
    EXPECT_EQ(added->Height(), 33);
    EXPECT_EQ(group->PanelCount(), 1);
    group->RemovePanel(-1);
    group->RemovePanel(1);
    EXPECT_EQ(group->PanelCount(), 1);
    group->RemovePanel(0);
    EXPECT_EQ(group->PanelCount(), 0);
}

TEST_F(PanelFixture, StylerRestylesItsPanels)
{
    auto* styler = new TExPanelStyler(form);
    panel->SetStyler(styler);
    EXPECT_TRUE(panel->Caption().Visible());
    EXPECT_EQ(panel->ColorTo(), TColor(0xE3F0F2));
    auto* other = Add<TExPanel>(0, 0, 50, 50);
    int restyled = 0;
    panel->OnEndCollapsExpand = [&](TObject*) { ++restyled; };
    styler->SetStyle(psClassic);
    EXPECT_EQ(restyled, 1);
    EXPECT_FALSE(panel->Caption().Visible());
    EXPECT_EQ(panel->BevelOuter(), bvRaised);
    EXPECT_EQ(panel->Font()->Name(), "MS Sans Serif");
    EXPECT_EQ(other->ColorTo(), clNone);  // names no styler
    auto bmp = PaintToBitmap(panel);
    LookAt(*bmp, "panel_classic");
}

TEST(PanelPicture, LoadsDrawsAndFails)
{
    testsupport::TempDir dir("eximage");
    TBitmap src(20, 10);
    src.Canvas()->Brush().SetColor(clRed);
    src.Canvas()->FillRect(Rect(0, 0, 20, 10));
    src.SaveToFile(dir.file("a.bmp"));
    TExImage img;
    int changes = 0;
    img.OnChange = [&](TObject*) { ++changes; };
    img.LoadFromFile(dir.file("a.bmp"));
    EXPECT_FALSE(img.Empty());
    EXPECT_EQ(img.Width(), 20);
    EXPECT_EQ(img.HimetricWidth(), 529);
    TBitmap canvas(40, 20);
    img.Draw(*canvas.Canvas(), Rect(0, 0, 40, 20));
    EXPECT_EQ(canvas.Canvas()->Pixel(39, 19), clRed);
    img.SetWidth(5);
    EXPECT_EQ(img.Width(), 20);
    std::ofstream(dir.file("bad.bmp")) << "not a picture";
    img.LoadFromFile(dir.file("bad.bmp"));
    EXPECT_TRUE(img.Empty());
    EXPECT_EQ(img.Width(), 0);
    std::istringstream bad("not a picture");
    try {
        img.LoadFromStream(bad);
        FAIL();
    } catch (const base::Exception& e) {
        EXPECT_STREQ(e.what(), "Could not load image. Invalid format");
    }
    changes = 0;
    img.AssignNil();
    EXPECT_TRUE(img.Empty());
    EXPECT_EQ(changes, 1);
    TExImage copy;
    img.LoadFromFile(dir.file("a.bmp"));
    copy.Assign(img);
    EXPECT_EQ(copy.Width(), 20);
}

}  // namespace

namespace {

TEST_F(PanelFixture, CaptionDragsAndGripSizes)
{
    panel->Caption().SetVisible(true);
    panel->CanMove = true;
    panel->SetCanSize(true);
    panel->OnCaptionClick = [&](TObject*) { log.push_back("caption"); };
    panel->OnEndMoveSize = [&](TObject*) { log.push_back("end"); };
    SendMouse(panel, WM_LBUTTONDOWN, 50, 8);
    SendMouse(panel, WM_MOUSEMOVE, 70, 38);
    SendMouse(panel, WM_LBUTTONUP, 70, 38);
    EXPECT_EQ(panel->BoundsRect(), Rect(30, 40, 230, 140));
    EXPECT_EQ(log, std::vector<std::string>{"end"});  // a drag, no caption click
    // The grip at the bottom right sizes; FixedHeight keeps the height.
    panel->FixedHeight = true;
    SendMouse(panel, WM_LBUTTONDOWN, 195, 95);
    SendMouse(panel, WM_MOUSEMOVE, 215, 125);
    SendMouse(panel, WM_LBUTTONUP, 215, 125);
    EXPECT_EQ(panel->Width(), 220);
    EXPECT_EQ(panel->Height(), 100);
}

TEST_F(PanelFixture, GroupWheelAndCollapseAll)
{
    auto* group = Add<TExPanelGroup>(0, 0, 200, 100);
    std::vector<TExPanel*> ps;
    for (int i = 0; i < 3; ++i) ps.push_back(Add<TExPanel>(0, i * 100, 100, 60, group));
    group->ArrangeControls();
    group->UpdateScrollbar();
    group->ArrangeControls();
    ASSERT_TRUE(group->ScrollBar()->Visible());
    const int top = ps[0]->Top();
    EXPECT_TRUE(group->DoMouseWheelDown(0, Point(10, 10)));  // one notch: 4 pixels
    EXPECT_EQ(ps[0]->Top(), top - 4);
    SendMouse(group, WM_MOUSEWHEEL, 10, 10);  // and back up
    EXPECT_EQ(ps[0]->Top(), top);
    for (TExPanel* p : ps) p->Caption().SetHeight(20), p->CollapsSteps = 0;
    group->CloseAllPanels();
    for (TExPanel* p : ps) EXPECT_TRUE(p->Collaps());
    EXPECT_EQ(ps[1]->Top() - ps[0]->Top(), 20 + 8);
    group->OpenAllPanels();
    EXPECT_EQ(ps[1]->Height(), 60);
}

}  // namespace

namespace {

TEST_F(PanelFixture, AnchorHintsAndTheRegistryStore)
{
    panel->SetText("<A href=\"calc\">run</A>");
    panel->AnchorHint = true;
    panel->OnAnchorHint = [](TObject*, std::string& a) { a = "Run: " + a; };
    TPoint at;
    ASSERT_TRUE(FindAnchor("calc", at));
    THintInfo info;
    info.CursorPos = at;
    panel->Perform(CM_HINTSHOW, 0, LPARAM(&info));
    EXPECT_EQ(info.HintStr, "Run: calc");
    const TPoint screen = panel->ClientToScreen(at);
    EXPECT_EQ(info.HintPos, Point(screen.X + 10, screen.Y - 10));

    testsupport::TempDir dir("panelreg");
    const char* old = std::getenv("XDG_CONFIG_HOME");
    const std::string saved = old ? old : "";
    setenv("XDG_CONFIG_HOME", dir.str().c_str(), 1);
    panel->Position().Key = "Software\\Korvelo";
    panel->Position().Section = "Run";
    panel->SetBounds(12, 34, 150, 60);
    panel->SavePosition();
    EXPECT_EQ(base::TIniFile(RegistryIniPath()).ReadInteger("Software\\Korvelo\\Run", "Left", 0), 12);
    auto* other = Add<TExPanel>(0, 0, 10, 10);
    other->Position().Assign(panel->Position());
    other->LoadPosition();
    EXPECT_EQ(other->BoundsRect(), Rect(12, 34, 162, 94));
    if (old) setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    else unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
