#include "app/View3D.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "base/StrUtils.h"
#include "core/Hullform.h"
#include "platform/controls/Controls.h"
#include "platform/graphics/Graphics.h"
#include "platform/graphics/OpenGL.h"

namespace app {

namespace {

struct Box {
    double x0, x1, y0, y1, z0, z1;
};

// Faces of a box, each a quadrilateral in drawing order: filled faces and outlines
// differ only in the fourth face's order.
void BoxFaces(const Box& b, bool outline, void (*vertex)(double, double, double))
{
    const double X0 = b.x0, X1 = b.x1, Y0 = b.y0, Y1 = b.y1, Z0 = b.z0, Z1 = b.z1;
    const double faces[6][4][3] = {
        {{X1, Y0, Z0}, {X0, Y0, Z0}, {X0, Y0, Z1}, {X1, Y0, Z1}},
        {{X0, Y1, Z0}, {X1, Y1, Z0}, {X1, Y1, Z1}, {X0, Y1, Z1}},
        {{X0, Y0, Z0}, {X1, Y0, Z0}, {X1, Y1, Z0}, {X0, Y1, Z0}},
        {{X0, Y1, Z1}, {X1, Y1, Z1}, {X1, Y0, Z1}, {X0, Y0, Z1}},
        {{X0, Y0, Z0}, {X0, Y1, Z0}, {X0, Y1, Z1}, {X0, Y0, Z1}},
        {{X1, Y0, Z1}, {X1, Y1, Z1}, {X1, Y1, Z0}, {X1, Y0, Z0}},
    };
    const double outlines[6][4][3] = {
        {{X1, Y0, Z0}, {X0, Y0, Z0}, {X0, Y0, Z1}, {X1, Y0, Z1}},
        {{X0, Y1, Z0}, {X1, Y1, Z0}, {X1, Y1, Z1}, {X0, Y1, Z1}},
        {{X0, Y0, Z0}, {X1, Y0, Z0}, {X1, Y1, Z0}, {X0, Y1, Z0}},
        {{X0, Y0, Z1}, {X1, Y0, Z1}, {X1, Y1, Z1}, {X0, Y1, Z1}},
        {{X0, Y0, Z0}, {X0, Y1, Z0}, {X0, Y1, Z1}, {X0, Y0, Z1}},
        {{X1, Y0, Z0}, {X1, Y1, Z0}, {X1, Y1, Z1}, {X1, Y0, Z1}},
    };
    const auto& table = outline ? outlines : faces;
    for (const auto& face : table) {
        glBegin(outline ? GL_LINE_LOOP : GL_QUADS);
        for (const auto& v : face) vertex(v[0], v[1], v[2]);
        glEnd();
    }
}

void Vertex(double x, double y, double z) { glVertex3d(x, y, z); }

// An arrow of length 5 with its cone and letter, along the current z axis.
void Arrow(GLUquadric* q, unsigned fontBase, char letter, bool yArrow)
{
    gluCylinder(q, 0.1, 0.1, 5, 16, 2);
    glTranslatef(0, 0, 5);
    gluCylinder(q, 0.3, 0, 0.9, 16, 2);
    glTranslatef(0, 0, 1.5f);
    glRotatef(90, 0, 1, 0);
    if (yArrow) glRotatef(270, 1, 0, 0);
    if (fontBase) glCallList(fontBase + static_cast<unsigned char>(letter));
}

bool OnCentreLine(double x) { return x > -0.001 && x < 0.001; }

}  // namespace

TView3D::~TView3D() = default;

void TView3D::InitOpenGL()
{
    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glMatrixMode(GL_MODELVIEW);
    glFrontFace(GL_CCW);
    glEnable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);

    // Outline glyphs of a bold 35-pixel Arial for characters 0 to 127.
    platform::TBitmap fontHolder(1, 1);
    platform::TFont& font = fontHolder.Canvas()->Font();
    font.SetName("Arial");
    font.SetHeight(-35);
    font.SetStyle(platform::fsBold);
    fontBase_ = glGenLists(128);
    if (fontBase_ && !platform::wglUseFontOutlines(fontHolder.Canvas()->Handle(), 0, 128, fontBase_, 0, 0.1f,
                                                   platform::WGL_FONT_POLYGONS, nullptr)) {
        glDeleteLists(fontBase_, 128);
        fontBase_ = 0;
    }

    glEnable(GL_LIGHTING);
    const GLfloat ambient[] = {0.3f, 0.3f, 0.3f, 1}, diffuse[] = {0.7f, 0.7f, 0.7f, 1}, position[] = {50, 50, 50, 0};
    glLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    glEnable(GL_LIGHT0);
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT, GL_AMBIENT_AND_DIFFUSE);
    glLoadIdentity();
    glLightfv(GL_LIGHT0, GL_POSITION, position);
    quadric_ = gluNewQuadric();
    glFlush();
}

void TView3D::Release()
{
    if (fontBase_) glDeleteLists(fontBase_, 128);
    fontBase_ = 0;
    if (quadric_) gluDeleteQuadric(quadric_);
    quadric_ = nullptr;
}

void TView3D::SetScene(const core::Hullform& hull)
{
    bool any = false;
    for (const core::Appendage& a : hull.appendages)
        for (const core::Section& s : a.frames) any = any || !s.X.empty();
    hasScene_ = any;
    if (!any) return;
    const double dx = (hull.GetMaxX() - hull.GetMinX()) * 0.1, dy = (hull.GetMaxY() - hull.GetMinY()) * 0.1,
                 dz = (hull.GetMaxZ() - hull.GetMinZ()) * 0.1;
    const double box[6] = {hull.GetMinX() - dx, hull.GetMaxX() + dx, hull.GetMinY() - dy,
                           hull.GetMaxY() + dy, hull.GetMinZ() - dz, hull.GetMaxZ() + dz};
    sceneRadius_ = 0;
    for (int k = 0; k < 6; ++k) {
        if (!std::isfinite(box[k])) {
            hasScene_ = false;
            return;
        }
        scene_[k] = box[k];
    }
    for (int corner = 0; corner < 8; ++corner) {
        const double x = scene_[corner & 1], y = scene_[2 + ((corner >> 1) & 1)], z = scene_[4 + (corner >> 2)];
        sceneRadius_ = std::max(sceneRadius_, std::sqrt(x * x + y * y + z * z));
    }
}

void TView3D::SceneOnScreen(double& cx, double& cy, double& hx, double& hy) const
{
    // The model-view rotations: about Z first, then about X.
    const double rz = RotationZ * M_PI / 180, rx = RotationX * M_PI / 180;
    double x0 = 1e300, x1 = -1e300, y0 = 1e300, y1 = -1e300;
    for (int corner = 0; corner < 8; ++corner) {
        const double x = scene_[corner & 1], y = scene_[2 + ((corner >> 1) & 1)], z = scene_[4 + (corner >> 2)];
        const double sx = x * std::cos(rz) - y * std::sin(rz), yz = x * std::sin(rz) + y * std::cos(rz);
        const double sy = yz * std::cos(rx) - z * std::sin(rx);
        x0 = std::min(x0, sx);
        x1 = std::max(x1, sx);
        y0 = std::min(y0, sy);
        y1 = std::max(y1, sy);
    }
    cx = (x0 + x1) / 2;
    cy = (y0 + y1) / 2;
    hx = (x1 - x0) / 2;
    hy = (y1 - y0) / 2;
}

void TView3D::VisibleHalf(int w, int h, double& hw, double& hh) const
{
    if (w <= 0) w = 1;
    if (h <= 0) h = 1;
    const double shorter = double(OrthoSize) / Zoom;
    hw = h < w ? shorter * w / h : shorter;
    hh = h < w ? shorter : shorter * h / w;
}

void TView3D::KeepSceneInView(int w, int h)
{
    if (!hasScene_) return;
    double cx, cy, hx, hy, hw, hh;
    SceneOnScreen(cx, cy, hx, hy);
    VisibleHalf(w, h, hw, hh);
    // The box's centre stays on the panel, so some of the model always shows.
    PanX = float(std::clamp(double(PanX), -hw - cx, hw - cx));
    PanY = float(std::clamp(double(PanY), -hh - cy, hh - cy));
}

void TView3D::DrawScene(const core::Hullform& hull, int currentAppendage)
{
    SetScene(hull);
    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glTranslatef(PanX, PanY, 0);
    glRotatef(RotationX, 1, 0, 0);
    glRotatef(RotationZ, 0, 0, 1);
    DrawAxes();
    DrawHull3D(hull, currentAppendage);
    glFlush();
}

void TView3D::DrawAxes()
{
    if (!ShowAxis || !quadric_) return;
    glDisable(GL_CULL_FACE);
    gluQuadricDrawStyle(quadric_, GLU_FILL);
    glPushMatrix();
    glColor3ub(255, 0, 0);
    glRotatef(90, 0, 1, 0);
    Arrow(quadric_, fontBase_, 'X', false);
    glPopMatrix();
    glPushMatrix();
    glColor3ub(0, 255, 0);
    glRotatef(-90, 1, 0, 0);
    Arrow(quadric_, fontBase_, 'Y', true);
    glPopMatrix();
    glPushMatrix();
    glColor3ub(0, 0, 255);
    Arrow(quadric_, fontBase_, 'Z', false);
    glPopMatrix();
    glEnable(GL_CULL_FACE);
}

void TView3D::DrawHull3D(const core::Hullform& hull, int currentAppendage)
{
    for (int i = 0; i < int(hull.appendages.size()); ++i)
        DrawAppendage3D(hull, i, i == currentAppendage && ShowBoundingBoxes && SingleAppendageMode,
                        ShowSelectionHandles);
    if (!AllAppendagesMode) return;
    const double dx = (hull.GetMaxX() - hull.GetMinX()) * 0.1, dy = (hull.GetMaxY() - hull.GetMinY()) * 0.1,
                 dz = (hull.GetMaxZ() - hull.GetMinZ()) * 0.1;
    glColor4ub(255, 0, 0, 255);
    BoxFaces({hull.GetMinX() - dx, hull.GetMaxX() + dx, hull.GetMinY() - dy, hull.GetMaxY() + dy, hull.GetMinZ() - dz,
              hull.GetMaxZ() + dz},
             true, Vertex);
}

void TView3D::DrawAppendage3D(const core::Hullform& hull, int i, bool highlight, bool)
{
    if (i < 0 || i >= int(hull.appendages.size())) return;
    const core::Appendage& a = hull.appendages[size_t(i)];
    const std::string hex = base::IntToHex(a.colour & 0xFFFFFF, 6);  // BBGGRR
    glColor3ub(GLubyte(HexTextToInt(hex.substr(4, 2))), GLubyte(HexTextToInt(hex.substr(2, 2))),
               GLubyte(HexTextToInt(hex.substr(0, 2))));
    for (const core::Section& s : a.frames) {
        const size_t n = std::min(s.X.size(), s.Z.size());
        if (n == 0) continue;
        const double y = s.Y;
        glBegin(GL_LINES);
        for (size_t k = 0; k + 1 < n; ++k) {
            if (!ShowCLLines && OnCentreLine(s.X[k]) && OnCentreLine(s.X[k + 1])) continue;
            glVertex3d(s.X[k], y, s.Z[k]);
            glVertex3d(s.X[k + 1], y, s.Z[k + 1]);
        }
        glVertex3d(s.X[n - 1], y, s.Z[n - 1]);
        glVertex3d(s.X[0], y, s.Z[0]);
        glEnd();
    }
    if (!highlight) return;
    const Box box{a.GetMinX(), a.GetMaxX(), a.GetMinY(), a.GetMaxY(), a.GetMinZ(), a.GetMaxZ()};
    glColor4ub(255, 0, 0, 30);
    BoxFaces(box, false, Vertex);
    glColor4ub(255, 0, 0, 255);
    BoxFaces(box, true, Vertex);
}

void TView3D::SetProjection(int w, int h)
{
    if (w == 0) w = 1;
    if (h == 0) h = 1;
    glViewport(0, 0, w, h);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const double c = OrthoSize, d = Zoom;
    // Deep enough for the whole scene whichever way it is turned.
    const double depth = hasScene_ ? std::max(c, sceneRadius_ * 1.05) : c;
    if (h < w) glOrtho(-(w * c) / (h * d), (w * c) / (h * d), -c / d, c / d, -depth, depth);
    else glOrtho(-c / d, c / d, -(h * c) / (w * d), (h * c) / (w * d), -depth, depth);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void TView3D::ResetCamera(int w, int h)
{
    PanX = PanY = 0;
    Zoom = 30;
    RotationX = 300;
    RotationZ = 315;
    if (hasScene_) {
        // A large hull: zoomed out until all of it, seen from the origin, fits with a margin.
        double cx, cy, hx, hy, hw, hh;
        SceneOnScreen(cx, cy, hx, hy);
        VisibleHalf(w, h, hw, hh);
        const double needX = (std::fabs(cx) + hx) * 1.05, needY = (std::fabs(cy) + hy) * 1.05;
        double fit = Zoom;
        if (needX > 0) fit = std::min(fit, Zoom * hw / needX);
        if (needY > 0) fit = std::min(fit, Zoom * hh / needY);
        if (std::isfinite(fit) && fit > 0) Zoom = float(fit);
    }
    SetProjection(w, h);
}

void TView3D::MouseDown(unsigned shift, int x, int y)
{
    if (shift & platform::ssRight) {
        rightPressX_ = x;
        rightPressY_ = y;
        rightPressed_ = true;
    }
    if (shift & platform::ssLeft) {
        leftPressX_ = x;
        leftPressY_ = y;
        leftPressed_ = true;
    }
}

void TView3D::MouseMove(unsigned shift, int x, int y, int clientW, int clientH)
{
    const int dx = lastX_ - x, dy = lastY_ - y;
    const bool left = shift & platform::ssLeft, right = shift & platform::ssRight;
    if (left && (shift & platform::ssShift)) {
        Zoom += float(dx / 2);
        if (Zoom > 400) Zoom = 400;
        if (Zoom < 0.01f) Zoom = 0.01f;
        lastX_ = x;
        lastY_ = y;
        SetProjection(clientW, clientH);
        return;
    }
    if (left) {
        RotationX += dy * 0.2f;
        RotationZ += dx * 0.2f;
    }
    if (right && clientW > 0) {
        const double k = Zoom * (clientH * 0.27 / clientW);
        if (k != 0) {
            PanX -= float(dx / k);
            PanY += float(dy / k);
        }
        KeepSceneInView(clientW, clientH);
    }
    for (float* r : {&RotationX, &RotationZ}) {
        if (*r > 359) *r = 0;
        if (*r < -1) *r = 359;
    }
    lastX_ = x;
    lastY_ = y;
}

void TView3D::MouseUp(int x, int y, double zoomFactor, int clientW, int clientH)
{
    const bool usable = std::isfinite(zoomFactor) && zoomFactor > 0;
    if (rightPressed_) {
        rightPressed_ = false;
        if (usable && std::abs(x - rightPressX_) < 2 && std::abs(y - rightPressY_) < 2) {
            Zoom = float(Zoom / zoomFactor);
            SetProjection(clientW, clientH);
        }
    }
    if (leftPressed_) {
        leftPressed_ = false;
        if (usable && std::abs(x - leftPressX_) < 2 && std::abs(y - leftPressY_) < 2) {
            Zoom = float(Zoom * zoomFactor);
            SetProjection(clientW, clientH);
        }
    }
}

int TView3D::HexTextToInt(const std::string& text)
{
    int value = 0;
    for (size_t i = 0; i < text.size() && i < 4; ++i) {
        const char c = text[i];
        int digit;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        else break;
        value = value * 16 + digit;
    }
    return value;
}

}  // namespace app
