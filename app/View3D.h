#pragma once
// The 3D view: every appendage as frame outlines in space, axis arrows and bounding
// boxes, drawn with OpenGL 1.1 and GLU into the rendering context that is current; the
// camera and the mouse that turns, pans and zooms it.
#include <string>

namespace core {
class Hullform;
}

struct GLUquadric;

namespace app {

class TView3D {
public:
    TView3D() = default;
    ~TView3D();
    TView3D(const TView3D&) = delete;
    TView3D& operator=(const TView3D&) = delete;

    // GL state, the 128 outline glyph lists and the light, in the current context.
    void InitOpenGL();
    // Frees the glyph lists and the quadric while the context is still current.
    void Release();

    void DrawScene(const core::Hullform& hull, int currentAppendage);
    void DrawAxes();
    void DrawHull3D(const core::Hullform& hull, int currentAppendage);
    void DrawAppendage3D(const core::Hullform& hull, int i, bool highlight, bool handles);

    // Viewport and orthographic volume for a panel of w by h pixels (0 counts as 1).
    void SetProjection(int w, int h);
    // "Zoom All": the start camera, then the projection. The zoom is the start zoom, or
    // less when the scene (the hull's box as drawn) would not fit in the panel.
    void ResetCamera(int w, int h);
    // The scene the camera keeps in view: the hull's box as drawn. DrawScene sets it too.
    void SetScene(const core::Hullform& hull);

    // Mouse on the panel; shift holds the platform's ssShift/ssLeft/ssRight bits.
    // clientW/H: the panel's client size (for panning and the projection).
    void MouseDown(unsigned shift, int x, int y);
    void MouseMove(unsigned shift, int x, int y, int clientW, int clientH);
    // zoomFactor: the preferences' "3D Zoom Factor"; a click with a factor that is not
    // above 0 changes nothing.
    void MouseUp(int x, int y, double zoomFactor, int clientW, int clientH);

    // The value of up to four hexadecimal digits, up to the first other character.
    static int HexTextToInt(const std::string& text);

    // The view's state, as the main window and the preferences set it.
    float OrthoSize = 1000, Zoom = 30;
    float RotationX = 300, RotationZ = 315;
    float PanX = 0, PanY = 0;
    bool ShowAxis = true, ShowCLLines = true, ShowBoundingBoxes = true, ShowSelectionHandles = false;
    bool SingleAppendageMode = false, AllAppendagesMode = true;

private:
    // The scene box's centre and half sizes after the rotations, at pan (0, 0).
    void SceneOnScreen(double& cx, double& cy, double& hx, double& hy) const;
    // Half the width and height the projection shows for a panel of w by h.
    void VisibleHalf(int w, int h, double& hw, double& hh) const;
    void KeepSceneInView(int w, int h);
    bool hasScene_ = false;
    double scene_[6] = {};  // x0, x1, y0, y1, z0, z1
    double sceneRadius_ = 0;
    unsigned fontBase_ = 0;
    GLUquadric* quadric_ = nullptr;
    int lastX_ = 0, lastY_ = 0;
    int rightPressX_ = 0, rightPressY_ = 0, leftPressX_ = 0, leftPressY_ = 0;
    bool rightPressed_ = false, leftPressed_ = false;
};

}  // namespace app
