#pragma once
// The pictures of the tool bar and the main menu, drawn at start-up.

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

}  // namespace app
