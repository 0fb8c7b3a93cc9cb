#pragma once
// What the 2D views show, worked out from the hull without any window: zoom boxes,
// outlines, cursor texts, view file names and the reference image's corners.
#include <string>

#include "widgets/plot/PlotData.h"

namespace core {
class Section;
class Appendage;
class Hullform;
}  // namespace core

namespace app {

// A box around lo..hi on both axes with 2.5 % of the span added at each end, so the
// geometry stays inside whatever its sign; a box under 0.01 wide or high becomes 0.01
// by 0.01 from its lower corner.
plot::TRect2D ZoomBox(double minH, double maxH, double minV, double maxV);
// As ZoomBox, with a further 0.1 on every side: the views' "Zoom All".
plot::TRect2D ZoomAllBox(double minH, double maxH, double minV, double maxV);

// The frame's points (X, Z) and its first point again, closing the outline.
void AddFrameOutline(plot::TPoints& s, const core::Section& f);
// The outline through the frames' extents: (Y, max) of frame 0, (Y, min) of every frame,
// (Y, max) back from the last frame, and (Y, max) of frame 0 again. Plan takes X, side Z.
void AddExtentOutline(plot::TPoints& s, const core::Appendage& a, bool plan);

enum TViewKind { vkBodyPlan, vkSide, vkPlan };
// The cursor's place as the status bar shows it; without coordinates both read 0.
std::string CursorText(TViewKind view, bool valid, double h, double v);

// The file a view is saved to: ".bmp" added unless the name already ends in it.
std::string ViewFileName(const std::string& chosen);

// The reference image's corners after an import: 20 m wide, standing on Z = 0, with the
// picture's own aspect ratio.
struct RefCorners {
    double x1, x2, z1, z2;
};
RefCorners ImportCorners(int width, int height);

// A step or factor from an edit's text: false for text that is no number or not above 0.
bool ReadPositive(const std::string& text, double& value);

}  // namespace app
