#pragma once
// The grid's drag and drop objects on the platform's: the "Grid Column" format whose data
// is a 4-byte column index, data objects with text, rich text or a column, and the
// grids' rich-text switch (one for every grid).
#include <string>

#include "platform/forms/DragDrop.h"

namespace platform {
class TWinControl;
}

namespace grid {

void SetRTFAware(bool Value);
bool RTFAware();
unsigned ColumnFormat();

// Text and rich text, or (ColIndex other than -1) a column.
class TSourceDataObject : public platform::TTextDataObject {
public:
    TSourceDataObject(std::string Text, int ColIndex, std::string RTF)
        : platform::TTextDataObject(std::move(Text), std::move(RTF), ColIndex, ColumnFormat()) {}

protected:
    bool OffersRTF() const override { return RTFAware(); }
};

// A grid family drop target: text and files taken, columns under ColumnFormat.
class TGRDDropTarget : public platform::TDropTarget {
protected:
    bool RTFAware() const override { return grid::RTFAware(); }
    unsigned ColFormat() const override { return ColumnFormat(); }
};

using TGRDDropSource = platform::TDropSource;

// Drags from Window; a drag that ended where nothing was dropped gives DRAGDROP_S_CANCEL.
platform::HRESULT StartTextDoDragDrop(platform::TWinControl* Window, TGRDDropSource& Source, const std::string& Text,
                                      const std::string& RTF, int OkEffects, int& Effect);
platform::HRESULT StartColDoDragDrop(platform::TWinControl* Window, TGRDDropSource& Source, int ColIndex,
                                     int OkEffects, int& Effect);

}  // namespace grid
