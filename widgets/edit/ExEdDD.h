#pragma once
// Drag and drop of text between the edit controls: the platform's drag and drop under the
// edit family's names, with the edits' own rich-text switch.
#include <string>

#include "platform/forms/DragDrop.h"

namespace platform {
class TWinControl;
}

namespace edit {

using platform::HRESULT;
using platform::S_OK;
using platform::S_FALSE;
using platform::E_NOTIMPL;
using platform::DRAGDROP_S_DROP;
using platform::DRAGDROP_S_CANCEL;
using platform::DRAGDROP_S_USEDEFAULTCURSORS;
using platform::DV_E_FORMATETC;
using platform::OLE_E_ADVISENOTSUPPORTED;
using platform::DROPEFFECT_NONE;
using platform::DROPEFFECT_COPY;
using platform::DROPEFFECT_MOVE;
using platform::CF_HDROP;
using platform::CF_RTF;
using platform::TDataObject;
using platform::TEnumFormats;
using platform::MakeFileDropBlock;
using platform::RegisterDragDrop;
using platform::RevokeDragDrop;
using platform::DoDragDrop;
using platform::SetDragDropErrorHandler;
using platform::ReportDragDropError;
using TAEDropSource = platform::TDropSource;

// Whether the edits offer and take rich text.
void SetRTFAware(bool on);
bool RTFAware();
// Copy with Ctrl (MK_CONTROL in keys), otherwise move.
int StandardEffect(unsigned keys);

// Plain text (8-bit and wide) and, while the edits' switch is on, rich text.
class TSourceDataObject : public platform::TTextDataObject {
public:
    TSourceDataObject(std::string text, std::string rtf) : platform::TTextDataObject(std::move(text), std::move(rtf)) {}

protected:
    bool OffersRTF() const override { return RTFAware(); }
};

class TAEDropTarget : public platform::TDropTarget {
protected:
    bool RTFAware() const override { return edit::RTFAware(); }
};

// A drag of text; a drop where the target refused counts as cancelled.
HRESULT StartTextDoDragDrop(platform::TWinControl* source, const std::string& text, const std::string& rtf,
                            int allowed, int& effect);

}  // namespace edit
