// Rendering contexts draw into a frame buffer off screen; SwapBuffers copies the part
// that covers the window's client area into the window's backing image.
#include "platform/graphics/OpenGL.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QPainter>
#include <QPainterPath>
#include <QImage>

#include <GL/gl.h>
#include <GL/glu.h>

#include <array>
#include <deque>
#include <memory>

#include "base/SystemInfo.h"
#include "platform/Private.h"
#include "platform/TestRig.h"
#include "platform/controls/Controls.h"
#include "platform/controls/ControlsPrivate.h"

namespace platform {

struct GLContext {
    HWND window = nullptr;
    std::unique_ptr<QOpenGLContext> context;
    std::unique_ptr<QOffscreenSurface> surface;
    std::unique_ptr<QOpenGLFramebufferObject> fbo;
    QImage readBack, nextFrame;  // SwapBuffers' buffers, kept for the next frame
};

namespace {

GLContext* gCurrent = nullptr;

TWinControl* WindowOf(HDC dc) { return dc ? TWinControl::FromHandle(dc->window) : nullptr; }

std::string GLText(GLenum name)
{
    const auto* s = reinterpret_cast<const char*>(glGetString(name));
    return s ? s : "";
}

void InstallInfoHook()
{
    static const bool installed = [] {
        base::SetOpenGLInfoHook([] {
            base::OpenGLStrings s;
            if (!gCurrent) return s;
            s.vendor = GLText(GL_VENDOR);
            s.renderer = GLText(GL_RENDERER);
            s.version = GLText(GL_VERSION);
            s.extensions = GLText(GL_EXTENSIONS);
            const auto* glu = reinterpret_cast<const char*>(gluGetString(GLU_VERSION));
            s.gluVersion = glu ? glu : "";
            return s;
        });
        return true;
    }();
    (void)installed;
}

// The frame buffer holds the window's client area and grows with it, in steps of 64
// pixels so that a window dragged larger seldom needs a new one; the viewport's corner is
// the buffer's bottom left.
void EnsureFrameBuffer(GLContext& rc, int w, int h)
{
    if (rc.fbo && rc.fbo->width() >= w && rc.fbo->height() >= h) return;
    auto step = [](int v) { return (std::max(v, 1) + 63) / 64 * 64; };
    QSize size(step(w), step(h));
    if (rc.fbo) size = size.expandedTo(rc.fbo->size());
    QOpenGLFramebufferObjectFormat format;
    format.setAttachment(QOpenGLFramebufferObject::Depth);
    rc.fbo = std::make_unique<QOpenGLFramebufferObject>(size, format);
    rc.fbo->bind();
    glViewport(0, 0, w, h);
}

}  // namespace

int ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* pfd)
{
    if (!dc || !pfd) return 0;
    if (!(pfd->dwFlags & PFD_SUPPORT_OPENGL) || pfd->iPixelType != PFD_TYPE_RGBA) return 0;
    return 1;
}

bool SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR* pfd)
{
    TWinControl* window = WindowOf(dc);
    if (format != 1 || !pfd || !window || window->impl()->pixelFormat) return false;
    window->impl()->pixelFormat = format;
    window->impl()->depthBits = pfd->cDepthBits;
    return true;
}

HGLRC wglCreateContext(HDC dc)
{
    TWinControl* window = WindowOf(dc);
    if (!window || !window->impl()->pixelFormat || !QGuiApplication::instance()) return nullptr;
    const int depthBits = window->impl()->depthBits;
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setRedBufferSize(8);
    format.setGreenBufferSize(8);
    format.setBlueBufferSize(8);
    format.setDepthBufferSize(depthBits > 24 ? 24 : depthBits);
    auto rc = std::make_unique<GLContext>();
    rc->window = dc->window;
    rc->context = std::make_unique<QOpenGLContext>();
    rc->context->setFormat(format);
    if (!rc->context->create()) return nullptr;
    rc->surface = std::make_unique<QOffscreenSurface>();
    rc->surface->setFormat(rc->context->format());
    rc->surface->create();
    if (!rc->surface->isValid()) return nullptr;
    return rc.release();
}

bool wglMakeCurrent(HDC dc, HGLRC rc)
{
    if (!rc) {
        if (gCurrent) gCurrent->context->doneCurrent();
        gCurrent = nullptr;
        return true;
    }
    TWinControl* window = WindowOf(dc);
    if (!window || dc->window != rc->window) return false;
    if (!rc->context->makeCurrent(rc->surface.get())) return false;
    gCurrent = rc;
    InstallInfoHook();
    const TRect client = window->ClientRect();
    EnsureFrameBuffer(*rc, client.Width(), client.Height());
    rc->fbo->bind();
    return true;
}

bool wglDeleteContext(HGLRC rc)
{
    if (!rc) return false;
    if (gCurrent == rc) wglMakeCurrent(nullptr, nullptr);
    rc->context->makeCurrent(rc->surface.get());
    rc->fbo.reset();
    rc->context->doneCurrent();
    delete rc;
    return true;
}

HGLRC wglGetCurrentContext() { return gCurrent; }

TSize GLFrameBufferSize(GLContext* rc)
{
    if (!rc || !rc->fbo) return {0, 0};
    return {rc->fbo->width(), rc->fbo->height()};
}

bool SwapBuffers(HDC dc)
{
    TWinControl* window = WindowOf(dc);
    GLContext* rc = gCurrent;
    if (!window || !rc || rc->window != dc->window || !rc->fbo) return false;
    const TRect client = window->ClientRect();
    const int w = client.Width(), h = client.Height();
    if (w <= 0 || h <= 0) return true;
    glFinish();
    const int rw = std::min(w, rc->fbo->width()), rh = std::min(h, rc->fbo->height());
    // Read into buffers kept from frame to frame: an idle redraw allocates nothing.
    QImage& raw = rc->readBack;
    if (raw.size() != QSize(rw, rh)) raw = QImage(rw, rh, QImage::Format_RGB32);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, rw, rh, GL_BGRA, GL_UNSIGNED_BYTE, raw.bits());
    QImage& frame = rc->nextFrame;
    if (frame.size() != QSize(rw, rh)) frame = QImage(rw, rh, QImage::Format_RGB32);
    for (int y = 0; y < rh; ++y) {  // bottom-up rows, opaque
        const auto* from = reinterpret_cast<const quint32*>(raw.constScanLine(rh - 1 - y));
        auto* to = reinterpret_cast<quint32*>(frame.scanLine(y));
        for (int x = 0; x < rw; ++x) to[x] = from[x] | 0xFF000000u;
    }

    auto* impl = window->impl();
    // The same frame again is on the window already (every paint puts it back): asking
    // for a repaint would only fill the queue, and an idle loop would never rest.
    if (frame == impl->glFrame) {
        EnsureFrameBuffer(*rc, w, h);
        return true;
    }
    std::swap(frame, impl->glFrame);
    impl->EnsureBacking(window);
    const int f = window->FrameWidth();
    {
        QPainter p(&impl->backing);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(QPoint(f, f), impl->glFrame);
    }
    impl->ScreenDrawn(QRect(f, f, rw, rh));
    // A window grown past the buffer gets a larger one for the next frame.
    EnsureFrameBuffer(*rc, w, h);
    return true;
}

namespace {

// Vertices handed to the tessellator must live until the polygon ends.
struct Tessellation {
    std::deque<std::array<GLdouble, 3>> vertices;
    double z = 0;
};

void GLAPIENTRY TessCombine(GLdouble coords[3], void*[4], GLfloat[4], void** out, void* data)
{
    auto* t = static_cast<Tessellation*>(data);
    t->vertices.push_back({coords[0], coords[1], coords[2]});
    *out = t->vertices.back().data();
}

void GLAPIENTRY TessVertex(void* v) { glVertex3dv(static_cast<const GLdouble*>(v)); }
void GLAPIENTRY TessBegin(GLenum type) { glBegin(type); }
void GLAPIENTRY TessEnd() { glEnd(); }

void FillOutline(GLUtesselator* tess, const QList<QPolygonF>& loops, double z, bool front)
{
    Tessellation t;
    t.z = z;
    gluTessCallback(tess, GLU_TESS_COMBINE_DATA, reinterpret_cast<_GLUfuncptr>(&TessCombine));
    gluTessCallback(tess, GLU_TESS_VERTEX, reinterpret_cast<_GLUfuncptr>(&TessVertex));
    gluTessCallback(tess, GLU_TESS_BEGIN, reinterpret_cast<_GLUfuncptr>(&TessBegin));
    gluTessCallback(tess, GLU_TESS_END, reinterpret_cast<_GLUfuncptr>(&TessEnd));
    gluTessProperty(tess, GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_NONZERO);
    gluTessNormal(tess, 0, 0, front ? 1 : -1);
    glNormal3d(0, 0, front ? 1 : -1);
    gluTessBeginPolygon(tess, &t);
    for (const QPolygonF& loop : loops) {
        gluTessBeginContour(tess);
        for (const QPointF& p : loop) {
            t.vertices.push_back({p.x(), p.y(), z});
            gluTessVertex(tess, t.vertices.back().data(), t.vertices.back().data());
        }
        gluTessEndContour(tess);
    }
    gluTessEndPolygon(tess);
}

}  // namespace

bool wglUseFontOutlines(HDC dc, uint32_t first, uint32_t count, uint32_t listBase, float, float extrusion, int format,
                        GLYPHMETRICSFLOAT* metrics)
{
    if (!dc || !gCurrent) return false;
    const QFont font = dc->font;
    const QFontMetricsF fm(font);
    const double em = font.pixelSize() > 0 ? font.pixelSize() : fm.height();
    if (em <= 0) return false;
    const double scale = 1.0 / em;
    GLUtesselator* tess = gluNewTess();
    if (!tess) return false;
    for (uint32_t i = 0; i < count; ++i) {
        const QChar ch(char16_t(first + i));
        QPainterPath path;
        path.addText(0, 0, font, QString(ch));
        // Glyph space: y up, the em height is 1.
        const QList<QPolygonF> loops = path.toSubpathPolygons(QTransform::fromScale(scale, -scale));
        const double advance = fm.horizontalAdvance(ch) * scale;
        glNewList(listBase + i, GL_COMPILE);
        if (format == WGL_FONT_LINES) {
            for (const QPolygonF& loop : loops) {
                glBegin(GL_LINE_LOOP);
                for (const QPointF& p : loop) glVertex3d(p.x(), p.y(), 0);
                glEnd();
            }
        } else {
            FillOutline(tess, loops, 0, true);
            if (extrusion > 0) {
                FillOutline(tess, loops, -extrusion, false);
                for (const QPolygonF& loop : loops) {
                    glBegin(GL_QUAD_STRIP);
                    for (int k = 0; k <= loop.size(); ++k) {
                        const QPointF& p = loop[k % loop.size()];
                        const QPointF& q = loop[(k + 1) % loop.size()];
                        glNormal3d(q.y() - p.y(), p.x() - q.x(), 0);
                        glVertex3d(p.x(), p.y(), 0);
                        glVertex3d(p.x(), p.y(), -extrusion);
                    }
                    glEnd();
                }
            }
        }
        glTranslated(advance, 0, 0);
        glEndList();
        if (metrics) {
            const QRectF box = path.boundingRect();
            GLYPHMETRICSFLOAT& m = metrics[i];
            m.gmfBlackBoxX = float(box.width() * scale);
            m.gmfBlackBoxY = float(box.height() * scale);
            m.gmfptGlyphOrigin = {float(box.left() * scale), float(-box.top() * scale)};
            m.gmfCellIncX = float(advance);
            m.gmfCellIncY = 0;
        }
    }
    gluDeleteTess(tess);
    return true;
}

}  // namespace platform
