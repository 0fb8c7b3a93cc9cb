#pragma once
// Drag and drop of text between controls of the program: data objects offering text,
// wide text and rich text, drop targets registered per window, and the drag loop that
// runs inside the caller until the mouse button is released or Esc is pressed.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/controls/Controls.h"

namespace edit {

using HRESULT = std::int32_t;
enum : HRESULT {
    S_OK = 0, S_FALSE = 1, E_NOTIMPL = HRESULT(0x80004001u), DRAGDROP_S_DROP = 0x00040100,
    DRAGDROP_S_CANCEL = 0x00040101, DRAGDROP_S_USEDEFAULTCURSORS = 0x00040102,
    DV_E_FORMATETC = HRESULT(0x80040064u), OLE_E_ADVISENOTSUPPORTED = HRESULT(0x80040003u)
};
enum : int { DROPEFFECT_NONE = 0, DROPEFFECT_COPY = 1, DROPEFFECT_MOVE = 2 };
enum : unsigned { CF_HDROP = 15 };

// The format registered as "Rich Text Format".
unsigned CF_RTF();
void SetRTFAware(bool on);
bool RTFAware();
// Copy with Ctrl (MK_CONTROL in keys), otherwise move.
int StandardEffect(unsigned keys);

// Data handed from a drag source to a drop target.
class TDataObject {
public:
    virtual ~TDataObject() = default;
    // S_OK when the format can be had, DV_E_FORMATETC otherwise.
    virtual HRESULT QueryGetData(unsigned format) const = 0;
    // The block of the format; DV_E_FORMATETC when it cannot be had.
    virtual HRESULT GetData(unsigned format, std::string& block) const = 0;
    // The formats offered, in order; false when they cannot be listed.
    virtual bool EnumFormats(std::vector<unsigned>& formats) const = 0;
};

// Plain text (8-bit and wide) and rich text.
class TSourceDataObject : public TDataObject {
public:
    TSourceDataObject(std::string text, std::string rtf) : text_(std::move(text)), rtf_(std::move(rtf)) {}
    HRESULT QueryGetData(unsigned format) const override;
    HRESULT GetData(unsigned format, std::string& block) const override;
    bool EnumFormats(std::vector<unsigned>& formats) const override;

private:
    std::string text_, rtf_;
};

// A file list block (CF_HDROP): 20 bytes of header, then zero-terminated names.
std::string MakeFileDropBlock(const std::vector<std::string>& files, bool wide);

// Reads what a data object holds.
class TEnumFormats {
public:
    // Throws base::Exception "Cannot get the format enumerator" when the formats cannot be listed.
    explicit TEnumFormats(const TDataObject& data);
    bool HasFormat(unsigned format) const;
    bool HasText() const { return HasFormat(1); }
    bool HasRTF() const { return HasFormat(CF_RTF()); }
    bool HasFile() const { return HasFormat(CF_HDROP); }
    std::string SomeText(unsigned format) const;  // up to the first zero; empty when absent
    std::string Text() const { return SomeText(1); }
    std::string RTF() const { return SomeText(CF_RTF()); }
    bool SomeFiles(std::vector<std::string>& files) const;

private:
    const TDataObject& data_;
    std::vector<unsigned> formats_;
};

// A window's drop target. Its answers never let an error escape into the drag loop:
// a failing handler is reported and the drop is refused.
class TAEDropTarget {
public:
    virtual ~TAEDropTarget() = default;
    virtual void DropText(platform::TPoint screen, const std::string& text) { (void)screen, (void)text; }
    virtual void DropRTF(platform::TPoint screen, const std::string& rtf) { (void)screen, (void)rtf; }
    virtual void DropFiles(platform::TPoint screen, const std::vector<std::string>& files) { (void)screen, (void)files; }
    virtual void DragMouseMove(platform::TPoint screen, bool& allow) { (void)screen, allow = true; }

    HRESULT DragEnter(const TDataObject& data, unsigned keys, platform::TPoint screen, int& effect);
    HRESULT DragOver(unsigned keys, platform::TPoint screen, int& effect);
    virtual HRESULT DragLeave() { return S_OK; }
    HRESULT Drop(const TDataObject& data, unsigned keys, platform::TPoint screen, int& effect);

protected:
    // The MK_ keys of the latest answer (MK_CONTROL: copy).
    unsigned Keys() const { return keys_; }
    // Called by a drop handler that took nothing: the drop then has no effect, so the
    // source keeps what it offered.
    void Refuse() { refused_ = true; }

private:
    bool acceptable_ = false;
    unsigned keys_ = 0;
    bool refused_ = false;
};

class TAEDropSource {
public:
    HRESULT QueryContinueDrag(bool escapePressed, unsigned keys);
    HRESULT GiveFeedback(int effect);
    bool NoDrop() const { return noDrop_; }

private:
    bool noDrop_ = false;
};

// Registration of a control's window as a drop target; false when it cannot be made.
bool RegisterDragDrop(platform::TWinControl* window, std::shared_ptr<TAEDropTarget> target);
void RevokeDragDrop(platform::TWinControl* window);

// Runs a drag from source (which takes the mouse) until the left button is released
// (DRAGDROP_S_DROP) or Esc is pressed or the capture is lost (DRAGDROP_S_CANCEL).
HRESULT DoDragDrop(platform::TWinControl* source, const TDataObject& data, TAEDropSource& dropSource, int allowed,
                   int& effect);
// A drag of text; a drop where the target refused counts as cancelled.
HRESULT StartTextDoDragDrop(platform::TWinControl* source, const std::string& text, const std::string& rtf,
                            int allowed, int& effect);

// Where failures inside drag and drop are reported (standard error by default).
void SetDragDropErrorHandler(std::function<void(const std::string&)> handler);
void ReportDragDropError(const std::string& message);

}  // namespace edit
