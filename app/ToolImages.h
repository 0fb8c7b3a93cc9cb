#pragma once
// The pictures of the tool bar, the main menu and the hull tree, drawn at start-up.

namespace platform {
class TImageList;
}

namespace app {

enum TToolImage {
    tiNew, tiOpen, tiSave, tiTransform, tiArray, tiSplit, tiAddAppendage, tiDeleteAppendage, tiAddFrame,
    tiDeleteFrame, tiZoomAll, tiCount
};

// Fills a 16 x 16 list with one picture per TToolImage, in that order.
void MakeToolImages(platform::TImageList& list);

// The hull tree's pictures, by the index its node texts name: 0 hull, 1 headings,
// 2 appendages, 5 colour, 7 active, 8 to 13 extents, 14 density, 15 and 16 AP and FP,
// 17 to 19 draught marks, 20 frame, 21 appendage (the others empty).
inline constexpr int kTreeImageCount = 22;
void MakeTreeImages(platform::TImageList& list);

}  // namespace app
