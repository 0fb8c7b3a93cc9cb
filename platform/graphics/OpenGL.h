#pragma once
// OpenGL on a window: pixel formats, rendering contexts, buffer swaps and outline-font
// display lists. A context renders off screen; a swap copies the picture into the
// window it was made for. The GL and GLU calls themselves are the real library's.
#include <cstdint>

#include "platform/Types.h"

namespace platform {

struct GLContext;
using HGLRC = GLContext*;

struct PIXELFORMATDESCRIPTOR {
    uint16_t nSize = sizeof(PIXELFORMATDESCRIPTOR);
    uint16_t nVersion = 1;
    uint32_t dwFlags = 0;
    uint8_t iPixelType = 0;
    uint8_t cColorBits = 0;
    uint8_t cRedBits = 0, cRedShift = 0, cGreenBits = 0, cGreenShift = 0, cBlueBits = 0, cBlueShift = 0;
    uint8_t cAlphaBits = 0, cAlphaShift = 0;
    uint8_t cAccumBits = 0, cAccumRedBits = 0, cAccumGreenBits = 0, cAccumBlueBits = 0, cAccumAlphaBits = 0;
    uint8_t cDepthBits = 0;
    uint8_t cStencilBits = 0;
    uint8_t cAuxBuffers = 0;
    uint8_t iLayerType = 0;
    uint8_t bReserved = 0;
    uint32_t dwLayerMask = 0, dwVisibleMask = 0, dwDamageMask = 0;
};

enum : uint32_t {
    PFD_DOUBLEBUFFER = 0x1,
    PFD_DRAW_TO_WINDOW = 0x4,
    PFD_SUPPORT_OPENGL = 0x20,
};
enum : uint8_t { PFD_TYPE_RGBA = 0, PFD_MAIN_PLANE = 0 };

// 1 for a request this platform can serve (an RGBA window format with OpenGL), else 0.
int ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* pfd);
// Records the format for the DC's window; a window takes one format only.
bool SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR* pfd);

// A context for the DC's window; null without a window, a format or a GL driver.
HGLRC wglCreateContext(HDC dc);
bool wglMakeCurrent(HDC dc, HGLRC rc);  // rc null: none current
bool wglDeleteContext(HGLRC rc);
HGLRC wglGetCurrentContext();
// Shows what was drawn since the last swap in the window.
bool SwapBuffers(HDC dc);

struct POINTFLOAT {
    float x, y;
};
struct GLYPHMETRICSFLOAT {
    float gmfBlackBoxX, gmfBlackBoxY;
    POINTFLOAT gmfptGlyphOrigin;
    float gmfCellIncX, gmfCellIncY;
};
enum : int { WGL_FONT_LINES = 0, WGL_FONT_POLYGONS = 1 };

// Display lists listBase .. listBase + count - 1 for characters first .. first + count - 1
// of the DC's font: outlines in em units (1.0 = the font's em height), extruded
// `extrusion` along -z; each list ends by moving the origin to the next character.
bool wglUseFontOutlines(HDC dc, uint32_t first, uint32_t count, uint32_t listBase, float deviation, float extrusion,
                        int format, GLYPHMETRICSFLOAT* metrics);

}  // namespace platform
