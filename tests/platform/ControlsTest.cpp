#include <gtest/gtest.h>

#include <filesystem>

#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "platform/controls/ExtCtrls.h"
#include "platform/forms/Dialogs.h"
#include "platform/forms/Forms.h"
#include "platform/graphics/GDI.h"
#include "platform/TestRig.h"
#include "platform/system/Thread.h"
#include "support/TestSupport.h"

using namespace platform;

namespace {

// A custom-drawn control that records what reaches it.
class TProbe : public TCustomControl {
public:
    explicit TProbe(TComponent* owner) : TCustomControl(owner) {}
    std::vector<std::string> log;
    int paints = 0;

    void Paint() override
    {
        ++paints;
        TCanvas* c = Canvas();
        c->Brush().SetColor(clRed);
        c->Pen().SetColor(clBlue);
        c->Rectangle(ClientRect());
        c->Pen().SetColor(clBlack);
        c->MoveTo(0, 0);
        c->LineTo(lineTo.X, lineTo.Y);
    }
    void MouseDown(TMouseButton b, TShiftState s, int x, int y) override
    {
        log.push_back("down " + std::to_string(b) + " " + std::to_string(s) + " " + std::to_string(x) + "," +
                      std::to_string(y));
        lineTo = {x, y};
        TCustomControl::MouseDown(b, s, x, y);
    }
    void MouseUp(TMouseButton b, TShiftState, int x, int y) override
    {
        log.push_back("up " + std::to_string(b) + " " + std::to_string(x) + "," + std::to_string(y));
    }
    void MouseMove(TShiftState, int x, int y) override
    {
        log.push_back("move " + std::to_string(x) + "," + std::to_string(y));
    }
    void Click() override { log.push_back("click"); }
    void DblClick() override { log.push_back("dblclick"); }
    void KeyDown(Word& key, TShiftState s) override
    {
        log.push_back("keydown " + std::to_string(key) + " " + std::to_string(s));
        if (key == VK_ESCAPE) key = 0;
        TCustomControl::KeyDown(key, s);
    }
    void KeyPress(char& key) override { log.push_back(std::string("char ") + key); }
    void KeyUp(Word& key, TShiftState) override { log.push_back("keyup " + std::to_string(key)); }
    void CMMouseEnter(TMessage& m) override
    {
        log.push_back("enter");
        TCustomControl::CMMouseEnter(m);
    }
    void CMMouseLeave(TMessage& m) override
    {
        log.push_back("leave");
        TCustomControl::CMMouseLeave(m);
    }
    void WMTimer(TWMTimer& m) override { log.push_back("timer " + std::to_string(m.TimerID())); }
    void WMEraseBkgnd(TWMEraseBkgnd& m) override
    {
        ++erases;
        TCustomControl::WMEraseBkgnd(m);
    }
    int erases = 0;
    TPoint lineTo{10, 0};
};

class TSpot : public TGraphicControl {
public:
    explicit TSpot(TComponent* owner) : TGraphicControl(owner) {}
    std::vector<std::string> log;
    void Paint() override
    {
        Canvas()->Brush().SetColor(clLime);
        Canvas()->FillRect(ClientRect());
    }
    void MouseDown(TMouseButton, TShiftState, int x, int y) override
    {
        log.push_back("down " + std::to_string(x) + "," + std::to_string(y));
    }
    void CMMouseEnter(TMessage&) override { log.push_back("enter"); }
    void CMMouseLeave(TMessage&) override { log.push_back("leave"); }
};

struct FormFixture : ::testing::Test {
    TForm* form = nullptr;
    TProbe* probe = nullptr;
    void SetUp() override
    {
        form = Construct<TForm>(Application);
        form->SetBounds(0, 0, 200, 150);
        form->SetColor(clWhite);
        probe = Child<TProbe>(20, 30, 60, 40);
    }
    void TearDown() override { form->Free(); }
    // A control of the form, placed on it.
    template <class T>
    T* Child(int left, int top, int width, int height)
    {
        auto* c = new T(form);
        c->SetParent(form);
        c->SetBounds(left, top, width, height);
        return c;
    }
};

}  // namespace

TEST_F(FormFixture, CustomControlPaintsIntoABitmapAtItsPlace)
{
    auto b = PaintToBitmap(form);
    TCanvas* c = b->Canvas();
    EXPECT_EQ(probe->paints, 1);
    EXPECT_EQ(c->Pixel(5, 5), clWhite);        // the form's background
    EXPECT_EQ(c->Pixel(20, 30), clBlack);      // the line starts at the control's origin
    EXPECT_EQ(c->Pixel(79, 69), clBlue);       // the frame's bottom-right corner
    EXPECT_EQ(c->Pixel(80, 69), clWhite);      // right edge exclusive
    EXPECT_EQ(c->Pixel(50, 50), clRed);        // the fill
    EXPECT_EQ(c->Pixel(29, 30), clBlack);      // the line ...
    EXPECT_EQ(c->Pixel(30, 30), clBlue);       // ... without its last pixel, over the frame
}

TEST_F(FormFixture, MouseMessagesReachTheHandlersAndDrawWhatTheyAsk)
{
    SendMouse(probe, WM_MOUSEMOVE, 3, 4);
    SendMouse(probe, WM_LBUTTONDOWN, 5, 6, ssShift);
    EXPECT_TRUE(probe->MouseCapture());
    SendMouse(probe, WM_LBUTTONUP, 5, 6);
    EXPECT_FALSE(probe->MouseCapture());
    SendMouse(probe, WM_RBUTTONDOWN, 7, 8);
    SendMouse(probe, WM_LBUTTONDBLCLK, 1, 1);
    const std::vector<std::string> expected = {
        "enter", "move 3,4", "down 0 9 5,6", "click", "up 0 5,6", "down 1 16 7,8", "dblclick", "down 0 72 1,1"};
    EXPECT_EQ(probe->log, expected);
    auto b = PaintToBitmap(probe);
    // The control drew its line towards the last press.
    EXPECT_EQ(b->Canvas()->Pixel(0, 0), clBlack);
}

TEST_F(FormFixture, MouseMessagesCarryEveryModifierAndButton)
{
    const TShiftState cases[] = {0,      ssShift,  ssCtrl, ssShift | ssCtrl, ssAlt | ssCtrl,
                                 ssLeft, ssMiddle, ssShift | ssCtrl | ssLeft | ssMiddle};
    for (TShiftState shift : cases) {
        probe->log.clear();
        SendMouse(probe, WM_RBUTTONDOWN, 1, 2, shift);
        SendMouse(probe, WM_RBUTTONUP, 1, 2);
        ASSERT_FALSE(probe->log.empty()) << shift;
        EXPECT_EQ(probe->log.front(), "down 1 " + std::to_string(shift | ssRight) + " 1,2") << shift;
    }
}

TEST_F(FormFixture, ReleaseOutsideTheControlIsNoClick)
{
    SendMouse(probe, WM_LBUTTONDOWN, 5, 6);
    SendMouse(probe, WM_LBUTTONUP, 500, 6);
    for (const auto& l : probe->log) EXPECT_NE(l, "click");
}

TEST_F(FormFixture, KeyboardMessagesReachTheHandlers)
{
    SendKey(probe, 'A', ssShift);
    SendKey(probe, VK_ESCAPE);
    const std::vector<std::string> expected = {"keydown 65 1", "char A", "keyup 65", "keydown 27 0",
                                               "char \x1b", "keyup 27"};
    EXPECT_EQ(probe->log, expected);
}

TEST_F(FormFixture, FormKeyPreviewSeesKeysFirst)
{
    std::vector<std::string> order;
    form->KeyPreview = true;
    form->OnKeyDown = [&](TObject*, Word& key, TShiftState) {
        order.push_back("form");
        if (key == 'Q') key = 0;
    };
    probe->OnKeyDown = [&](TObject*, Word&, TShiftState) { order.push_back("probe"); };
    SendKey(probe, 'B');
    SendKey(probe, 'Q');
    EXPECT_EQ(order, (std::vector<std::string>{"form", "probe", "form"}));
}

namespace {
class TSwallow : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    int seen = 0, downs = 0;
    void WndProc(TMessage& m) override
    {
        if (m.Msg == WM_LBUTTONDOWN) {
            ++seen;
            return;  // never reaches the handlers
        }
        TCustomControl::WndProc(m);
    }
    void WMLButtonUp(TWMMouse& m) override
    {
        ++downs;
        TCustomControl::WMLButtonUp(m);
    }
};
}  // namespace

TEST_F(FormFixture, WndProcAndHandlersCanBeOverridden)
{
    auto* s = Child<TSwallow>(0, 0, 10, 10);
    bool clicked = false;
    s->OnClick = [&](TObject*) { clicked = true; };
    ClickAt(s, 2, 2);
    EXPECT_EQ(s->seen, 1);
    EXPECT_EQ(s->downs, 1);
    EXPECT_FALSE(clicked);
}

TEST_F(FormFixture, GraphicControlGetsItsMouseAndPaintsOnTheParent)
{
    auto* spot = Child<TSpot>(100, 10, 20, 20);
    SendMouse(form, WM_MOUSEMOVE, 105, 15);
    SendMouse(form, WM_LBUTTONDOWN, 105, 15);
    SendMouse(form, WM_LBUTTONUP, 105, 15);
    SendMouse(form, WM_MOUSEMOVE, 5, 5);
    EXPECT_EQ(spot->log, (std::vector<std::string>{"enter", "down 5,5", "leave"}));
    auto b = PaintToBitmap(form);
    EXPECT_EQ(b->Canvas()->Pixel(100, 10), clLime);
    EXPECT_EQ(b->Canvas()->Pixel(119, 29), clLime);
    EXPECT_EQ(b->Canvas()->Pixel(120, 29), clWhite);
}

TEST_F(FormFixture, WheelNotHandledGoesToTheParent)
{
    int formWheel = 0;
    form->OnMouseWheel = [&](TObject*, TShiftState, int delta, TPoint, bool& handled) {
        formWheel = delta;
        handled = true;
    };
    SendMouse(probe, WM_MOUSEWHEEL, 5, 5);
    EXPECT_EQ(formWheel, 120);
}

namespace {
// Scribbles over its storage when freed, so that a read of a freed control shows.
template <class Base>
class TDoomed : public Base {
public:
    using Base::Base;
    static void* operator new(std::size_t n) { return ::operator new(n); }
    static void operator delete(void* p, std::size_t n)
    {
        std::memset(p, 1, n);
        ::operator delete(p);
    }
};
}  // namespace

TEST_F(FormFixture, AControlFreedByItsOwnMouseHandlerIsNotTouchedAgain)
{
    auto freeIt = [](TObject* s) { delete s; };
    struct Case {
        const char* name;
        std::function<void(TControl*)> arm;  // sets the handler that frees the control
        std::vector<UINT> messages;
    };
    const Case cases[] = {
        {"click", [&](TControl* c) { c->OnClick = freeIt; }, {WM_LBUTTONDOWN, WM_LBUTTONUP}},
        {"double click", [&](TControl* c) { c->OnDblClick = freeIt; }, {WM_LBUTTONDBLCLK}},
        {"press",
         [](TControl* c) {
             c->DragMode = dmAutomatic;
             c->OnMouseDown = [](TObject* s, TMouseButton, TShiftState, int, int) { delete s; };
         },
         {WM_LBUTTONDOWN}},
    };
    for (bool graphic : {false, true}) {
        for (const Case& k : cases) {
            TControl* c = graphic ? static_cast<TControl*>(Child<TDoomed<TGraphicControl>>(100, 10, 10, 10))
                                  : static_cast<TControl*>(Child<TDoomed<TCustomControl>>(100, 10, 10, 10));
            const int before = form->ControlCount();
            k.arm(c);
            for (UINT msg : k.messages) {
                // A graphic control gets its messages through the form.
                if (graphic) SendMouse(form, msg, 105, 15);
                else SendMouse(static_cast<TWinControl*>(c), msg, 5, 5);
            }
            EXPECT_EQ(form->ControlCount(), before - 1) << k.name << (graphic ? " (graphic)" : "");
            EXPECT_EQ(GetCaptureControl(), nullptr) << k.name << (graphic ? " (graphic)" : "");
        }
    }
}

TEST_F(FormFixture, PostedKeyIsHandledAfterTheCurrentMessage)
{
    std::vector<std::string> order;
    probe->OnKeyDown = [&](TObject*, Word& key, TShiftState) {
        order.push_back("key " + std::to_string(key));
        if (key == VK_RETURN) {
            PostMessage(probe->Handle(), WM_KEYDOWN, VK_DOWN, 0);
            order.push_back("posted");
        }
    };
    SendKey(probe, VK_RETURN);
    order.push_back("returned");
    Application->ProcessMessages();
    EXPECT_EQ(order, (std::vector<std::string>{"key 13", "posted", "returned", "key 40"}));
}

TEST_F(FormFixture, AlignLaysOutChildrenInOrder)
{
    auto* top = new TProbe(form);
    top->SetParent(form);
    top->SetHeight(20);
    top->SetAlign(alTop);
    auto* left = new TProbe(form);
    left->SetParent(form);
    left->SetWidth(30);
    left->SetAlign(alLeft);
    auto* rest = new TProbe(form);
    rest->SetParent(form);
    rest->SetAlign(alClient);
    EXPECT_EQ(top->BoundsRect(), Rect(0, 0, 200, 20));
    EXPECT_EQ(left->BoundsRect(), Rect(0, 20, 30, 150));
    EXPECT_EQ(rest->BoundsRect(), Rect(30, 20, 200, 150));
    int resized = 0;
    rest->OnResize = [&](TObject*) { ++resized; };
    form->SetBounds(0, 0, 300, 200);
    EXPECT_EQ(rest->BoundsRect(), Rect(30, 20, 300, 200));
    EXPECT_EQ(resized, 1);
}

TEST_F(FormFixture, WindowTimersSendTheirIdentifier)
{
    probe->SetTimer(7, 1);
    EXPECT_TRUE(ProcessUntil([&] { return !probe->log.empty(); }));
    EXPECT_EQ(probe->log.front(), "timer 7");
    EXPECT_TRUE(probe->KillTimer(7));
    EXPECT_FALSE(probe->KillTimer(7));
}

TEST_F(FormFixture, ShownFormPaintsThroughTheHostWindow)
{
    form->Show();
    probe->Repaint();
    EXPECT_TRUE(ProcessUntil([&] { return probe->paints > 0; }));
    EXPECT_GE(probe->erases, 1);
    // Drawing outside a paint message lands in the window at once.
    probe->Canvas()->Pixel(0, 0);
    probe->Canvas()->SetPixel(3, 3, clYellow);
    EXPECT_EQ(probe->Canvas()->Pixel(3, 3), clYellow);
    form->Hide();
}

TEST_F(FormFixture, FocusMovesWithSetFocusAndTab)
{
    auto* second = new TProbe(form);
    second->SetParent(form);
    second->SetTabStop(true);
    probe->SetTabStop(true);
    std::vector<std::string> order;
    probe->OnEnter = [&](TObject*) { order.push_back("enter probe"); };
    probe->OnExit = [&](TObject*) { order.push_back("exit probe"); };
    second->OnEnter = [&](TObject*) { order.push_back("enter second"); };
    form->Show();
    probe->SetFocus();
    EXPECT_TRUE(probe->Focused());
    EXPECT_EQ(form->ActiveControl(), probe);
    SendKey(probe, VK_TAB);
    EXPECT_TRUE(second->Focused());
    EXPECT_EQ(order, (std::vector<std::string>{"enter probe", "exit probe", "enter second"}));
    form->Hide();
}

TEST_F(FormFixture, HintShowsTheShortHintThroughTheHooks)
{
    probe->SetHint("Short|Long text");
    probe->SetShowHint(true);
    std::string seen;
    Application->OnShowHint = [&](std::string& s, bool& canShow, THintInfo& info) {
        seen = s;
        EXPECT_EQ(info.HintControl, probe);
        EXPECT_EQ(info.CursorPos, Point(4, 5));
        s = "Changed";
        canShow = true;
    };
    EXPECT_TRUE(Application->ActivateHintFor(probe, {4, 5}));
    EXPECT_EQ(seen, "Short");
    ASSERT_NE(Application->HintWindow(), nullptr);
    EXPECT_TRUE(Application->HintWindow()->Shown());
    EXPECT_EQ(Application->HintWindow()->Caption(), "Changed");
    Application->CancelHint();
    EXPECT_FALSE(Application->HintWindow()->Shown());
    Application->OnShowHint = nullptr;
}

namespace {
class THintRefuser : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    void CMHintShow(TCMHintShow& m) override { m.Result = 1; }
};
}  // namespace

TEST_F(FormFixture, ControlCanRefuseItsHint)
{
    auto* r = new THintRefuser(form);
    r->SetParent(form);
    r->SetHint("never");
    r->SetShowHint(true);
    EXPECT_FALSE(Application->ActivateHintFor(r, {1, 1}));
}

namespace {
class TOrderForm : public TForm {
public:
    static std::vector<std::string>* log;
    static TOrderForm** ref;
    explicit TOrderForm(TComponent* owner) : TForm(owner)
    {
        log->push_back(*ref == this ? "ref set before constructor" : "ref not set");
        OnCreate = [](TObject*) { log->push_back("create"); };
        OnDestroy = [](TObject*) { log->push_back("destroy"); };
    }
};
std::vector<std::string>* TOrderForm::log = nullptr;
TOrderForm** TOrderForm::ref = nullptr;
}  // namespace

TEST(Forms, CreateFormSetsTheReferenceFirstAndRaisesCreate)
{
    std::vector<std::string> log;
    TOrderForm* f = nullptr;
    TOrderForm::log = &log;
    TOrderForm::ref = &f;
    Application->CreateForm(f);
    EXPECT_EQ(log, (std::vector<std::string>{"ref set before constructor", "create"}));
    f->Free();
    EXPECT_EQ(log.back(), "destroy");
    EXPECT_EQ(Application->MainForm(), nullptr);
}

TEST(Forms, ShowModalReturnsTheModalResult)
{
    TForm* f = Construct<TForm>(Application);
    std::vector<std::string> log;
    f->OnShow = [&](TObject*) { log.push_back("show"); };
    f->OnClose = [&](TObject*, TCloseAction&) { log.push_back("close"); };
    f->OnHide = [&](TObject*) { log.push_back("hide"); };
    TTimer timer(nullptr);
    timer.SetInterval(1);
    timer.OnTimer = [&](TObject*) {
        timer.SetEnabled(false);
        f->SetModalResult(mrOk);
    };
    EXPECT_EQ(f->ShowModal(), mrOk);
    EXPECT_FALSE(f->Visible());
    EXPECT_EQ(log, (std::vector<std::string>{"show", "close", "hide"}));
    f->Free();
}

TEST(Forms, CloseActionFreeReleasesTheForm)
{
    bool destroyed = false;
    TForm* f = Construct<TForm>(Application);
    f->OnClose = [](TObject*, TCloseAction& a) { a = caFree; };
    f->OnDestroy = [&](TObject*) { destroyed = true; };
    f->Show();
    f->Close();
    EXPECT_FALSE(destroyed);  // freed once the current message is done
    Application->ProcessMessages();
    EXPECT_TRUE(destroyed);
}

TEST(Dialogs, HooksAnswerMessageBoxesAndCommonDialogs)
{
    std::vector<TMessageBoxRequest> seen;
    auto old = SetMessageBoxHook([&](const TMessageBoxRequest& r) {
        seen.push_back(r);
        return mrNo;
    });
    EXPECT_EQ(MessageDlg("Save changes?", mtConfirmation, mbYesNoCancel), mrNo);
    ShowMessage("Done");
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].Text, "Save changes?");
    EXPECT_EQ(seen[0].Buttons, mbYesNoCancel);
    EXPECT_EQ(seen[1].Buttons, unsigned(mbOK));
    SetMessageBoxHook(old);

    testsupport::TempDir scratch;
    const std::string chosen = scratch.file("hull.txt");
    auto oldDlg = SetDialogHook([&](TCommonDialog& d) {
        if (auto* o = dynamic_cast<TOpenDialog*>(&d)) {
            o->FileName = chosen;
            return true;
        }
        if (auto* c = dynamic_cast<TColorDialog*>(&d)) c->Color = clRed;
        return false;
    });
    TSaveDialog save(nullptr);
    save.Filter = "Hull files (*.txt)|*.txt|All files|*.*";
    EXPECT_TRUE(save.Execute());
    EXPECT_EQ(save.FileName, chosen);
    TColorDialog color(nullptr);
    EXPECT_FALSE(color.Execute());
    EXPECT_EQ(color.Color, clRed);
    // The folder browser starts in the current directory and gives the folder chosen.
    std::string start;
    SetDialogHook([&](TCommonDialog& d) {
        auto* f = dynamic_cast<TBrowseFolderDialog*>(&d);
        if (!f) return false;
        start = f->Directory;
        f->Directory = scratch.str();
        return true;
    });
    TBrowseFolderDialog folder(nullptr);
    folder.Title = "Select directory";
    EXPECT_TRUE(folder.Execute());
    EXPECT_EQ(start, std::filesystem::current_path().string());
    EXPECT_EQ(folder.Directory, scratch.str());
    SetDialogHook(oldDlg);
    EXPECT_EQ(ParseDialogFilter(save.Filter).size(), 2u);
    EXPECT_EQ(ParseDialogFilter(save.Filter)[1].second, "*.*");
}

TEST(Dialogs, SaveDialogAsksBeforeReplacingAFile)
{
    testsupport::TempDir scratch;
    const std::string existing = scratch.file("hull.hll"), fresh = scratch.file("new.hll");
    { std::ofstream(existing) << "kept"; }
    std::vector<TMessageBoxRequest> asked;
    int answer = mrNo;
    auto oldBox = SetMessageBoxHook([&](const TMessageBoxRequest& r) {
        asked.push_back(r);
        return answer;
    });
    std::string chosen;
    auto oldDlg = SetDialogHook([&](TCommonDialog& d) {
        dynamic_cast<TOpenDialog&>(d).FileName = chosen;
        return true;
    });
    TSaveDialog save(nullptr);
    TSavePictureDialog picture(nullptr);
    TOpenDialog opener(nullptr);
    EXPECT_TRUE(save.Options & ofOverwritePrompt);
    EXPECT_TRUE(picture.Options & ofOverwritePrompt);
    EXPECT_FALSE(opener.Options & ofOverwritePrompt);
    struct Case {
        TOpenDialog* dialog;
        const std::string* file;
        bool prompt;
        int answer;
        bool executed;
        std::size_t questions;
    } cases[] = {
        {&save, &existing, true, mrNo, false, 1},    // No: nothing chosen
        {&save, &existing, true, mrYes, true, 1},    // Yes: replace
        {&picture, &existing, true, mrNo, false, 1},
        {&save, &fresh, true, mrNo, true, 0},        // a new file needs no question
        {&save, &existing, false, mrNo, true, 0},    // the prompt switched off
        {&opener, &existing, true, mrNo, true, 0},   // opening replaces nothing
    };
    for (const Case& c : cases) {
        asked.clear();
        chosen = *c.file;
        answer = c.answer;
        if (c.prompt && c.dialog != &opener) c.dialog->Options |= ofOverwritePrompt;
        else if (!c.prompt) c.dialog->Options &= ~unsigned(ofOverwritePrompt);
        EXPECT_EQ(c.dialog->Execute(), c.executed) << *c.file << " " << c.answer;
        ASSERT_EQ(asked.size(), c.questions) << *c.file;
        if (c.questions) {
            EXPECT_EQ(asked[0].Buttons, mbYesNo);
            EXPECT_NE(asked[0].Text.find(existing), std::string::npos) << asked[0].Text;
            EXPECT_NE(asked[0].Text.find("replace"), std::string::npos) << asked[0].Text;
        }
    }
    std::ifstream in(existing);
    std::string text;
    in >> text;
    EXPECT_EQ(text, "kept");
    SetDialogHook(oldDlg);
    SetMessageBoxHook(oldBox);
}

TEST(Application, ExceptionInAHandlerShowsTheExceptionBox)
{
    std::vector<TMessageBoxRequest> seen;
    auto old = SetMessageBoxHook([&](const TMessageBoxRequest& r) {
        seen.push_back(r);
        return mrOk;
    });
    TForm* f = Construct<TForm>(Application);
    f->OnKeyDown = [](TObject*, Word&, TShiftState) { throw base::EConvertError("'x' is not a valid number"); };
    PostMessage(f->Handle(), WM_KEYDOWN, 'X', 0);
    Application->ProcessMessages();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].Text, "'x' is not a valid number.");
    EXPECT_EQ(seen[0].Caption, Application->Title());
    EXPECT_EQ(seen[0].Type, mtError);
    // Aborts are silent.
    f->OnKeyDown = [](TObject*, Word&, TShiftState) { throw base::EAbort(""); };
    PostMessage(f->Handle(), WM_KEYDOWN, 'X', 0);
    Application->ProcessMessages();
    EXPECT_EQ(seen.size(), 1u);
    f->Free();
    SetMessageBoxHook(old);
}

TEST(Screen, SizeAndCursor)
{
    EXPECT_GT(Screen->Width(), 0);
    EXPECT_GT(Screen->Height(), 0);
    Screen->SetCursor(crHourGlass);
    EXPECT_EQ(Screen->Cursor(), crHourGlass);
    Screen->SetCursor(crDefault);
    EXPECT_EQ(Screen->Cursor(), crDefault);
}

TEST_F(FormFixture, HostEventsAreTranslatedIntoMessages)
{
    form->HandleNeeded();
    HostMouse(probe, hmMove, mbLeft, 3, 4);
    HostMouse(probe, hmPress, mbLeft, 5, 6, ssShift);
    HostMouse(probe, hmRelease, mbLeft, 5, 6);
    HostMouse(probe, hmDoubleClick, mbLeft, 5, 6);
    HostMouse(probe, hmRelease, mbLeft, 5, 6);
    HostKey(probe, 'K', ssShift);
    HostKey(probe, VK_LEFT);
    const std::vector<std::string> expected = {
        "enter", "move 3,4", "down 0 9 5,6", "click", "up 0 5,6", "dblclick", "down 0 72 5,6", "up 0 5,6",
        "keydown 75 1", "char K", "keyup 75", "keydown 37 0", "keyup 37"};
    EXPECT_EQ(probe->log, expected);
    int wheel = 0;
    probe->OnMouseWheel = [&](TObject*, TShiftState s, int delta, TPoint, bool& handled) {
        wheel = delta;
        EXPECT_EQ(s & ssCtrl, unsigned(ssCtrl));
        handled = true;
    };
    HostWheel(probe, 5, 5, -120, ssCtrl);
    EXPECT_EQ(wheel, -120);
}

namespace {
class TCaptureWindow : public TWinControl {
public:
    using TWinControl::TWinControl;
    std::vector<std::string> log;
    void WndProc(TMessage& m) override
    {
        if (m.Msg == WM_MOUSEMOVE) log.push_back("move");
        if (m.Msg == WM_LBUTTONUP) {
            log.push_back("up");
            ReleaseCapture();
        }
        TWinControl::WndProc(m);
    }
};
}  // namespace

TEST_F(FormFixture, AHiddenWindowWithTheCaptureTakesTheMouse)
{
    form->HandleNeeded();
    auto* cap = new TCaptureWindow(form);
    HWND h = cap->Handle();  // never shown
    SetCapture(h);
    EXPECT_EQ(GetCapture(), h);
    HostMouse(probe, hmMove, mbLeft, 3, 4);
    HostMouse(probe, hmRelease, mbLeft, 3, 4);
    EXPECT_EQ(cap->log, (std::vector<std::string>{"move", "up"}));
    EXPECT_EQ(GetCapture(), nullptr);
    HostMouse(probe, hmMove, mbLeft, 3, 4);
    EXPECT_EQ(cap->log.size(), 2u);
    EXPECT_EQ(probe->log.back(), "move 3,4");
}

TEST_F(FormFixture, RestingMouseShowsTheHintAfterThePause)
{
    probe->SetHint("Pause hint");
    probe->SetShowHint(true);
    const int pause = Application->HintPause;
    Application->HintPause = 1;
    Application->CancelHint();
    SendMouse(probe, WM_MOUSEMOVE, 2, 2);
    EXPECT_TRUE(ProcessUntil([] { return Application->HintWindow() && Application->HintWindow()->Shown(); }));
    EXPECT_EQ(Application->HintWindow()->Caption(), "Pause hint");
    // Moving to a control without a hint takes it away.
    SendMouse(form, WM_MOUSEMOVE, 150, 140);
    EXPECT_FALSE(Application->HintWindow()->Shown());
    Application->HintPause = pause;
}

TEST_F(FormFixture, RightAndBottomAnchorsKeepTheirDistance)
{
    auto* corner = Child<TProbe>(150, 100, 30, 20);  // 20 from the right, 30 from the bottom
    corner->SetAnchors(akRight | akBottom);
    auto* stretch = Child<TProbe>(10, 10, 170, 20);
    stretch->SetAnchors(akLeft | akTop | akRight);
    form->SetBounds(0, 0, 300, 250);
    EXPECT_EQ(corner->BoundsRect(), Rect(250, 200, 280, 220));
    EXPECT_EQ(stretch->BoundsRect(), Rect(10, 10, 280, 30));
}

TEST_F(FormFixture, CaretInvertsItsRectangleAndSurvivesPainting)
{
    form->Show();
    probe->Repaint();
    ASSERT_TRUE(ProcessUntil([&] { return probe->paints > 0; }));
    HWND h = probe->Handle();
    HDC dc = GetDC(h);
    const COLORREF before = GetPixel(dc, 10, 10);
    const UINT blink = GetCaretBlinkTime();
    SetCaretBlinkTime(1000000);  // no blink during the test
    ASSERT_TRUE(CreateCaret(h, 2, 12));
    SetCaretPos(10, 5);
    EXPECT_EQ(GetPixel(dc, 10, 10), before);  // created hidden
    ShowCaret(h);
    EXPECT_EQ(GetPixel(dc, 10, 10), ~before & 0xFFFFFF);
    EXPECT_EQ(GetPixel(dc, 12, 10), before);
    probe->Repaint();  // painting keeps the caret where it was
    Application->ProcessMessages();
    EXPECT_EQ(GetPixel(dc, 10, 10), ~before & 0xFFFFFF);
    HideCaret(h);
    EXPECT_EQ(GetPixel(dc, 10, 10), before);
    TPoint p;
    EXPECT_TRUE(GetCaretPos(p));
    EXPECT_EQ(p, Point(10, 5));
    EXPECT_TRUE(DestroyCaret());
    EXPECT_FALSE(ShowCaret(h));
    ReleaseDC(h, dc);
    SetCaretBlinkTime(blink);
    form->Hide();
}

namespace {
class TScroller : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    std::vector<std::string> log;
    void Dispatch(TMessage& m) override
    {
        if (m.Msg == WM_VSCROLL) {
            log.push_back("v " + std::to_string(m.WParamLo()) + " " + std::to_string(m.WParamHi()));
            int pos = GetScrollPos(Handle(), SB_VERT);
            if (m.WParamLo() == SB_LINEDOWN) SetScrollPos(Handle(), SB_VERT, pos + 1, true);
            if (m.WParamLo() == SB_PAGEDOWN) SetScrollPos(Handle(), SB_VERT, pos + 10, true);
            if (m.WParamLo() == SB_THUMBPOSITION) SetScrollPos(Handle(), SB_VERT, m.WParamHi(), true);
            return;
        }
        TCustomControl::Dispatch(m);
    }
};
}  // namespace

TEST_F(FormFixture, ScrollBarsTakeClientSpaceAndSendScrollMessages)
{
    auto* s = Child<TScroller>(0, 0, 100, 80);
    HWND h = s->Handle();
    EXPECT_EQ(s->ClientRect(), Rect(0, 0, 100, 80));
    int resized = 0;
    s->OnResize = [&](TObject*) { ++resized; };
    SCROLLINFO si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = 0;
    si.nMax = 99;
    si.nPage = 10;
    si.nPos = 200;  // clamped to the last page
    EXPECT_EQ(SetScrollInfo(h, SB_VERT, si, true), 90);
    EXPECT_EQ(resized, 1);
    EXPECT_EQ(s->ClientRect(), Rect(0, 0, 100 - GetSystemMetrics(SM_CXVSCROLL), 80));
    SetScrollPos(h, SB_VERT, 0, true);
    HostScroll(s, SB_VERT, SB_LINEDOWN);
    HostScroll(s, SB_VERT, SB_PAGEDOWN);
    HostScroll(s, SB_VERT, SB_THUMBTRACK, 42);
    EXPECT_EQ(GetScrollPos(h, SB_VERT), 42);
    EXPECT_EQ(s->log, (std::vector<std::string>{"v 1 0", "v 8 0", "v 3 0", "v 8 0", "v 5 42", "v 4 42", "v 8 0"}));
    // A range that fits in one page takes the bar away.
    si.fMask = SIF_RANGE | SIF_PAGE;
    si.nMax = 5;
    SetScrollInfo(h, SB_VERT, si, true);
    EXPECT_EQ(s->ClientRect(), Rect(0, 0, 100, 80));
    EXPECT_EQ(GetScrollPos(h, SB_VERT), 0);
    ShowScrollBar(h, SB_HORZ, true);
    EXPECT_EQ(s->ClientRect(), Rect(0, 0, 100, 80 - GetSystemMetrics(SM_CYHSCROLL)));
    ShowScrollBar(h, SB_HORZ, false);
    EXPECT_EQ(s->ClientHeight(), 80);
}

TEST_F(FormFixture, ParentColourAndFontReachTheChildrenThatFollowThem)
{
    auto* follower = new TProbe(form);
    follower->SetParent(form);
    follower->SetParentColor(true);
    EXPECT_EQ(follower->Color(), clWhite);
    form->SetColor(clNavy);
    EXPECT_EQ(follower->Color(), clNavy);
    EXPECT_EQ(probe->Color(), clBtnFace);  // keeps its own
    form->Font()->SetSize(14);
    EXPECT_EQ(follower->Font()->Size(), 14);
    EXPECT_TRUE(follower->ParentFont());
    follower->Font()->SetStyle(fsBold);
    EXPECT_FALSE(follower->ParentFont());
    form->Font()->SetSize(9);
    EXPECT_EQ(follower->Font()->Size(), 14);
}

namespace {
class TOwnHintWindow : public THintWindow {
public:
    using THintWindow::THintWindow;
    static int made;
    std::string shown;
    TRect CalcHintRect(int, const std::string& hint, void*) override { return Rect(0, 0, 10 * int(hint.size()), 20); }
    void ActivateHint(TRect r, const std::string& hint) override
    {
        shown = hint;
        SetBounds(r.Left, r.Top, r.Width(), r.Height());
        ShowNoActivate();
    }
};
int TOwnHintWindow::made = 0;
}  // namespace

TEST_F(FormFixture, TheApplicationWideHintWindowClassMakesEveryHint)
{
    SetHintWindowClass([](TComponent* owner) -> THintWindow* {
        ++TOwnHintWindow::made;
        return new TOwnHintWindow(owner);
    });
    probe->SetHint("html");
    probe->SetShowHint(true);
    ASSERT_TRUE(Application->ActivateHintFor(probe, {1, 1}));
    auto* w = dynamic_cast<TOwnHintWindow*>(Application->HintWindow());
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->shown, "html");
    EXPECT_EQ(w->Width(), 40);
    EXPECT_TRUE(w->Shown());
    SetHintWindowClass(nullptr);  // back to the platform's
    ASSERT_TRUE(Application->ActivateHintFor(probe, {1, 1}));
    EXPECT_EQ(dynamic_cast<TOwnHintWindow*>(Application->HintWindow()), nullptr);
    EXPECT_EQ(TOwnHintWindow::made, 1);
    Application->CancelHint();
}

TEST_F(FormFixture, DragFromAControlDropsOnAnother)
{
    form->Show();
    auto* spot = Child<TSpot>(120, 30, 40, 40);
    std::vector<std::string> log;
    probe->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { probe->BeginDrag(false, 2); };
    spot->OnDragOver = [&](TObject*, TObject* src, int x, int y, TDragState s, bool& accept) {
        log.push_back("over " + std::to_string(s) + " " + std::to_string(x) + "," + std::to_string(y));
        accept = src == probe;
    };
    spot->OnDragDrop = [&](TObject*, TObject* src, int x, int y) {
        log.push_back("drop " + std::to_string(x) + "," + std::to_string(y) + (src == probe ? " from probe" : ""));
    };
    probe->OnEndDrag = [&](TObject*, TObject* target, int x, int y) {
        log.push_back(std::string("end ") + (target == spot ? "on spot " : "nowhere ") + std::to_string(x) + "," +
                      std::to_string(y));
    };
    // A press and a release without moving far is an ordinary click.
    SendMouse(probe, WM_LBUTTONDOWN, 5, 5);
    SendMouse(probe, WM_MOUSEMOVE, 6, 6);
    EXPECT_TRUE(probe->Dragging());
    SendMouse(probe, WM_LBUTTONUP, 6, 6);
    EXPECT_FALSE(probe->Dragging());
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(probe->log.back(), "up 0 6,6");
    // The probe sits at (20, 30) on the form and the spot at (120, 30).
    SendMouse(probe, WM_LBUTTONDOWN, 5, 5);
    SendMouse(probe, WM_MOUSEMOVE, 50, 5);    // over the probe still
    SendMouse(probe, WM_MOUSEMOVE, 105, 10);  // form (125, 40): spot (5, 10)
    SendMouse(probe, WM_MOUSEMOVE, 106, 11);
    SendMouse(probe, WM_LBUTTONUP, 106, 11);
    EXPECT_EQ(log, (std::vector<std::string>{"over 0 5,10", "over 2 6,11", "drop 6,11 from probe", "end on spot 6,11"}));
    EXPECT_FALSE(probe->Dragging());
    EXPECT_FALSE(probe->MouseCapture());
    // Esc cancels; the end reports no target.
    log.clear();
    SendMouse(probe, WM_LBUTTONDOWN, 5, 5);
    SendMouse(probe, WM_MOUSEMOVE, 105, 10);
    SendKey(probe, VK_ESCAPE);
    EXPECT_FALSE(probe->Dragging());
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[1], "over 1 5,10");
    EXPECT_EQ(log[2].substr(0, 12), "end nowhere ");
    form->Hide();
}

TEST_F(FormFixture, AnotherObjectCanSubclassTheWindowProcedure)
{
    std::vector<UINT> seen;
    auto old = probe->WindowProc;
    probe->WindowProc = [&](TMessage& m) {
        seen.push_back(m.Msg);
        if (m.Msg == WM_USER + 5) {
            m.Result = 77;
            return;
        }
        old(m);
    };
    EXPECT_EQ(probe->Perform(WM_USER + 5), 77);
    SendMouse(probe, WM_LBUTTONDOWN, 5, 5);
    EXPECT_EQ(seen, (std::vector<UINT>{WM_USER + 5, WM_LBUTTONDOWN}));
    EXPECT_EQ(probe->log.back(), "down 0 8 5,5");
    probe->WindowProc = old;
    HWND h = probe->Handle();
    EXPECT_EQ(SetWindowLongPtr(h, GWLP_USERDATA, 1234), 0);
    EXPECT_EQ(GetWindowLongPtr(h, GWLP_USERDATA), 1234);
    EXPECT_EQ(SetWindowRgn(h, CreateEllipticRgn(0, 0, 60, 40), true), 1);
}

namespace {
class TBevelled : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    void AdjustClientRect(TRect& r) override { InflateRect(r, -3, -3); }
};
}  // namespace

TEST_F(FormFixture, AlignedChildrenShareTheAdjustedClientArea)
{
    auto* panel = Child<TBevelled>(0, 0, 100, 60);
    auto* inner = new TProbe(form);
    inner->SetParent(panel);
    inner->SetAlign(alClient);
    EXPECT_EQ(inner->BoundsRect(), Rect(3, 3, 97, 57));
}

TEST(Messages, RegisteredMessagesAndHintParts)
{
    const UINT wheel = RegisterWindowMessage("MSWHEEL_ROLLMSG");
    EXPECT_GE(wheel, 0xC000u);
    EXPECT_EQ(RegisterWindowMessage("MSWHEEL_ROLLMSG"), wheel);
    EXPECT_NE(RegisterWindowMessage("Other"), wheel);
    EXPECT_GT(WheelScrollLines(), 0);
    EXPECT_EQ(GetShortHint("Open|Opens a hull file"), "Open");
    EXPECT_EQ(GetLongHint("Open|Opens a hull file"), "Opens a hull file");
    EXPECT_EQ(GetLongHint("Open"), "Open");
}

TEST_F(FormFixture, TheLongHintOfTheControlUnderTheMouseReachesOnHint)
{
    probe->SetHint("Run|Starts the run");
    std::vector<std::string> hints;
    Application->OnHint = [&](TObject*) { hints.push_back(Application->Hint); };
    Application->CancelHint();
    SendMouse(probe, WM_MOUSEMOVE, 3, 3);
    SendMouse(form, WM_MOUSEMOVE, 150, 140);
    EXPECT_EQ(hints, (std::vector<std::string>{"Starts the run", ""}));
    Application->OnHint = nullptr;
}

namespace {
class TFramed : public TProbe {
public:
    using TProbe::TProbe;
    void CreateParams(TCreateParams& p) override
    {
        TProbe::CreateParams(p);
        p.ExStyle |= WS_EX_CLIENTEDGE;
    }
    void Paint() override
    {
        ++paints;
        Canvas()->Brush().SetColor(clRed);
        Canvas()->FillRect(ClientRect());
    }
};
}  // namespace

TEST_F(FormFixture, FrameAndBorderWidthSurroundTheClientArea)
{
    auto* f = Child<TFramed>(10, 10, 50, 40);
    f->SetColor(clYellow);
    f->SetBorderWidth(1);
    EXPECT_EQ(f->FrameWidth(), 3);
    EXPECT_EQ(f->ClientRect(), Rect(0, 0, 44, 34));
    auto inner = new TProbe(form);
    inner->SetParent(f);
    inner->SetAlign(alClient);
    EXPECT_EQ(inner->BoundsRect(), Rect(0, 0, 44, 34));
    inner->SetVisible(false);

    auto b = PaintToBitmap(form);
    TCanvas* c = b->Canvas();
    EXPECT_EQ(COLORREF(c->Pixel(10, 10)), GetSysColor(COLOR_BTNSHADOW));  // sunken edge
    EXPECT_EQ(c->Pixel(12, 12), clYellow);  // the border band
    EXPECT_EQ(c->Pixel(13, 13), clRed);     // the client area starts inside
    EXPECT_EQ(c->Pixel(56, 46), clRed);
    EXPECT_EQ(c->Pixel(57, 47), clYellow);

    form->Show();
    f->paints = 0;
    f->Repaint();
    ASSERT_TRUE(ProcessUntil([&] { return f->paints > 0; }));
    HDC dc = GetDC(f->Handle());
    EXPECT_EQ(GetPixel(dc, 0, 0), COLORREF(clRed));
    EXPECT_EQ(GetPixel(dc, 43, 33), COLORREF(clRed));
    ReleaseDC(f->Handle(), dc);
    f->log.clear();
    HostMouse(f, hmPress, mbLeft, 0, 0);
    ASSERT_FALSE(f->log.empty());
    EXPECT_EQ(f->log.back(), "down 0 8 0,0");
    inner->SetVisible(true);
    EXPECT_EQ(inner->ClientOrigin(), f->ClientOrigin());
    form->Hide();
}

TEST_F(FormFixture, ConstraintsLimitTheSize)
{
    probe->Constraints.MinWidth = 30;
    probe->Constraints.MaxHeight = 50;
    probe->SetBounds(0, 0, 10, 80);
    EXPECT_EQ(probe->BoundsRect(), Rect(0, 0, 30, 50));
}

namespace {

// A control whose creation parameters need its own window, as measuring controls do.
class TSelfMeasuring : public TCustomControl {
public:
    explicit TSelfMeasuring(TComponent* owner) : TCustomControl(owner) {}
    int windowsMade = 0;
    bool measuring = false;
    void CreateParams(TCreateParams& params) override
    {
        TCustomControl::CreateParams(params);
        if (measuring) return;
        measuring = true;
        HandleNeeded();
        measuring = false;
    }
    void CreateWnd() override { ++windowsMade; }
};

}  // namespace

TEST_F(FormFixture, ParametersThatNeedTheWindowMakeOneWindowOnly)
{
    auto* c = Child<TSelfMeasuring>(10, 10, 50, 50);
    auto* inner = new TProbe(form);
    inner->SetParent(c);
    inner->SetBounds(0, 0, 20, 20);
    form->Show();
    EXPECT_EQ(c->windowsMade, 1);
    inner->lineTo = TPoint{20, 20};
    auto bmp = PaintToBitmap(form);
    EXPECT_EQ(bmp->Canvas()->Pixel(15, 25), clRed);  // the child shows inside the one window
    form->Hide();
}

// Measuring text on a control's canvas takes the font only: a form being built makes no
// window for it (its windows come when it shows), and the sizes are the window's own.
TEST(ControlCanvas, MeasuresTextWithoutMakingTheWindow)
{
    EnsurePlatform();
    TForm* form = Construct<TForm>(Application);
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    TCanvas* canvas = panel->Canvas();
    canvas->Font().SetName("Arial");
    canvas->Font().SetHeight(-15);
    canvas->Font().SetStyle(fsBold);
    const TSize narrow = canvas->TextExtent("Hydrostatics");
    const TSize wide = canvas->TextExtentW(u"\u03a9 Displacement");
    EXPECT_FALSE(panel->HandleAllocated());
    EXPECT_FALSE(form->HandleAllocated());
    EXPECT_FALSE(canvas->HandleAllocated());
    EXPECT_GT(narrow.cx, 0);
    EXPECT_GT(narrow.cy, 0);

    HDC dc = canvas->Handle();  // drawing makes the window
    EXPECT_TRUE(panel->HandleAllocated());
    TSize onWindow, wideOnWindow;
    ASSERT_TRUE(GetTextExtentPoint32(dc, "Hydrostatics", -1, onWindow));
    ASSERT_TRUE(GetTextExtentPoint32W(dc, u"\u03a9 Displacement", -1, wideOnWindow));
    EXPECT_EQ(narrow.cx, onWindow.cx);
    EXPECT_EQ(narrow.cy, onWindow.cy);
    EXPECT_EQ(wide.cx, wideOnWindow.cx);
    EXPECT_EQ(canvas->TextExtent("Hydrostatics").cx, onWindow.cx);
    form->Free();
}
