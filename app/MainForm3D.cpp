// The main window's 3D view: the panel's events, drawing when the message queue
// has emptied, and the camera commands the 2D views share.
#include <cstdint>
#include <cstring>

#include "app/AppForms.h"
#include "app/MainForm.h"
#include "app/PrefForm.h"
#include "app/View3D.h"
#include "platform/controls/ExtCtrls.h"

using namespace platform;

namespace app {

void TMainForm::SetupView3D()
{
    View3D = new TView3D;
    // The first paint of the panel lets the next idle pass make the context.
    OpenGLPanel->WindowProc = [this, inner = OpenGLPanel->WindowProc](TMessage& m) {
        inner(m);
        if (m.Msg == WM_PAINT) panelPainted3D_ = true;
    };
    OpenGLPanel->OnResize = [this](TObject* s) { OpenGLPanelResize(s); };
    OpenGLPanel->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState shift, int x, int y) {
        OpenGLPanelMouseDown(s, b, shift, x, y);
    };
    OpenGLPanel->OnMouseMove = [this](TObject* s, TShiftState shift, int x, int y) { OpenGLPanelMouseMove(s, shift, x, y); };
    OpenGLPanel->OnMouseUp = [this](TObject* s, TMouseButton b, TShiftState shift, int x, int y) {
        OpenGLPanelMouseUp(s, b, shift, x, y);
    };
}

void TMainForm::OpenGLPanelMouseDown(TObject*, TMouseButton, TShiftState Shift, int X, int Y)
{
    View3D->MouseDown(Shift, X, Y);
}

void TMainForm::OpenGLPanelMouseMove(TObject*, TShiftState Shift, int X, int Y)
{
    if (!MakeCurrent3D()) return;
    View3D->MouseMove(Shift, X, Y, OpenGLPanel->ClientWidth(), OpenGLPanel->ClientHeight());
}

void TMainForm::OpenGLPanelMouseUp(TObject*, TMouseButton, TShiftState, int X, int Y)
{
    const double factor = ZoomFactor3D();
    if (!MakeCurrent3D()) return;
    View3D->MouseUp(X, Y, factor, OpenGLPanel->ClientWidth(), OpenGLPanel->ClientHeight());
}

void TMainForm::ReleaseView3D()
{
    if (View3D && MakeCurrent3D()) View3D->Release();
    delete View3D;
    View3D = nullptr;
}

bool TMainForm::EnsureContext3D()
{
    if (!contextTried3D_ && View3D) {
        contextTried3D_ = true;
        SetupOpenGL();
    }
    return hRC != nullptr;
}

bool TMainForm::MakeCurrent3D()
{
    // Other windows may have made a context of their own current since.
    return View3D && hRC && wglMakeCurrent(hDC, hRC);
}

double TMainForm::ZoomFactor3D()
{
    if (PrefForm) TakePositive(PrefForm->OpenGLZoomFactorEdit, zoomFactor3D_, "The 3D Zoom Factor", "0.00");
    return zoomFactor3D_;
}

void TMainForm::SetViewMode3D(bool singleAppendage)
{
    if (!View3D) return;
    View3D->SingleAppendageMode = singleAppendage;
    View3D->AllAppendagesMode = !singleAppendage;
}

void TMainForm::SetProjection3D()
{
    if (MakeCurrent3D()) View3D->SetProjection(OpenGLPanel->ClientWidth(), OpenGLPanel->ClientHeight());
}

void TMainForm::ResetCamera3D()
{
    if (!MakeCurrent3D()) return;
    View3D->SetScene(Hull);
    View3D->ResetCamera(OpenGLPanel->ClientWidth(), OpenGLPanel->ClientHeight());
}

namespace {

void Mix(std::size_t& h, std::size_t v) { h ^= v + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2); }

void MixReal(std::size_t& h, double v)
{
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    Mix(h, std::size_t(bits));
}

}  // namespace

std::size_t TMainForm::SceneKey3D() const
{
    std::size_t h = 0;
    for (const core::Appendage& a : Hull.appendages) {
        Mix(h, std::size_t(a.colour));
        Mix(h, a.frames.size());
        for (const core::Section& s : a.frames) {
            MixReal(h, s.Y);
            Mix(h, s.X.size());
            for (double x : s.X) MixReal(h, x);
            for (double z : s.Z) MixReal(h, z);
        }
    }
    Mix(h, std::size_t(CurrentAppendage));
    const TView3D& v = *View3D;
    for (float f : {v.OrthoSize, v.Zoom, v.RotationX, v.RotationZ, v.PanX, v.PanY}) MixReal(h, f);
    Mix(h, std::size_t(ShowAxis) | std::size_t(ShowCLLines) << 1 | std::size_t(ShowBoundingBoxes) << 2 |
               std::size_t(ShowSelectionHandles) << 3 | std::size_t(v.SingleAppendageMode) << 4 |
               std::size_t(v.AllAppendagesMode) << 5);
    Mix(h, std::size_t(OpenGLPanel->ClientWidth()) << 32 | std::size_t(OpenGLPanel->ClientHeight()));
    Mix(h, std::size_t(reinterpret_cast<std::uintptr_t>(OpenGLPanel->Handle())));
    return h;
}

void TMainForm::DrawScene3D()
{
    View3D->ShowAxis = ShowAxis;
    View3D->ShowCLLines = ShowCLLines;
    View3D->ShowBoundingBoxes = ShowBoundingBoxes;
    View3D->ShowSelectionHandles = ShowSelectionHandles;
    View3D->DrawScene(Hull, CurrentAppendage);
    SwapBuffers(hDC);
    drawnScene3D_ = SceneKey3D();
    sceneDrawn3D_ = true;
}

void TMainForm::OpenGLPanelResize(TObject*)
{
    if (!MakeCurrent3D()) return;
    View3D->SetProjection(OpenGLPanel->Width(), OpenGLPanel->Height());
    DrawScene3D();
}

void TMainForm::RenderOnIdle(TObject*, bool&)
{
    // The other windows, too, wait for the first paint.
    if (panelPainted3D_) EnsureAppForms();
    if (!View3D) return;
    if (!contextTried3D_) {
        // The window showed without the context; it is made once the panel has been painted.
        if (panelPainted3D_) EnsureContext3D();
        return;
    }
    // The frame on the panel stands until something it shows changes.
    if (sceneDrawn3D_ && SceneKey3D() == drawnScene3D_) return;
    if (MakeCurrent3D()) DrawScene3D();
}

}  // namespace app
