#pragma once
// Drag and drop: data objects offering text, wide text, rich text, file lists and
// registered formats, drop targets registered per window, and the drag that runs inside
// the caller until the mouse button is released or Esc is pressed. On a desktop with drag
// and drop between programs (X11), a drag started by the mouse runs through the desktop's
// drag, so other programs take it, and their drags reach the registered targets: text as
// text and wide text, rich text (text/rtf), files from a file manager (text/uri-list) as
// a file list; registered formats travel under their names between our own programs.
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Types.h"

namespace platform {

class TWinControl;

constexpr HRESULT DRAGDROP_S_DROP = 0x00040100;
constexpr HRESULT DRAGDROP_S_CANCEL = 0x00040101;
constexpr HRESULT DRAGDROP_S_USEDEFAULTCURSORS = 0x00040102;
constexpr HRESULT DV_E_FORMATETC = HRESULT(0x80040064u);
constexpr HRESULT OLE_E_ADVISENOTSUPPORTED = HRESULT(0x80040003u);
enum : int { DROPEFFECT_NONE = 0, DROPEFFECT_COPY = 1, DROPEFFECT_MOVE = 2 };
enum : unsigned { CF_HDROP = 15 };
enum : unsigned { DVASPECT_CONTENT = 1, TYMED_HGLOBAL = 1 };

// The format registered as "Rich Text Format".
unsigned CF_RTF();
// Move unless Ctrl (MK_CONTROL) is held, copy with it; only an effect in allowed is
// answered, DROPEFFECT_NONE when the one asked for is not allowed (a move falls back
// to a copy when only that is allowed).
int StandardEffect(unsigned keys, int allowed);

// One entry of a data object's format list.
struct TFormatEtc {
    unsigned cfFormat = 0;
    unsigned dwAspect = DVASPECT_CONTENT;
    int lindex = -1;
    unsigned tymed = TYMED_HGLOBAL;
};

// Walks a format list: Next copies up to count entries on from the position.
class TEnumFormatEtc {
public:
    explicit TEnumFormatEtc(std::vector<unsigned> formats, std::size_t position = 0)
        : formats_(std::move(formats)), pos_(position) {}
    // S_OK when count entries were copied, S_FALSE when fewer were left.
    HRESULT Next(unsigned count, TFormatEtc* out, unsigned* fetched);
    HRESULT Skip(unsigned count);
    HRESULT Reset();
    std::unique_ptr<TEnumFormatEtc> Clone() const;

private:
    std::vector<unsigned> formats_;
    std::size_t pos_;
};

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
    // The list as an enumerator; nullptr when it cannot be had.
    std::unique_ptr<TEnumFormatEtc> EnumFormatEtc() const;
};

// Text (8-bit and wide), rich text (when OffersRTF) and, under colFormat, a column index
// as four bytes. The text formats are listed always and can be had unless the text is
// empty and the object carries a column.
class TTextDataObject : public TDataObject {
public:
    TTextDataObject(std::string text, std::string rtf, int colIndex = -1, unsigned colFormat = 0)
        : text_(std::move(text)), rtf_(std::move(rtf)), col_(colIndex), colFormat_(colFormat) {}
    HRESULT QueryGetData(unsigned format) const override;
    HRESULT GetData(unsigned format, std::string& block) const override;
    bool EnumFormats(std::vector<unsigned>& formats) const override;

protected:
    virtual bool OffersRTF() const { return false; }

private:
    std::string text_, rtf_;
    int col_;
    unsigned colFormat_;
};

// A file list block (CF_HDROP): 20 bytes of header, then zero-terminated names.
std::string MakeFileDropBlock(const std::vector<std::string>& files, bool wide);

// Reads what a data object holds. A format counts as offered when it is listed and the
// object says it can be had; every reader keeps within the block it was given.
class TEnumFormats {
public:
    explicit TEnumFormats(const TDataObject& data);
    // False when the object could not list its formats: it then offers nothing.
    bool Listed() const { return listed_; }
    bool HasFormat(unsigned format) const;
    bool HasText() const { return HasFormat(1); }
    bool HasRTF() const { return HasFormat(CF_RTF()); }
    bool HasFile() const { return HasFormat(CF_HDROP); }
    std::string SomeText(unsigned format) const;  // up to the first zero; empty when absent
    std::string Text() const { return SomeText(1); }
    std::string RTF() const { return SomeText(CF_RTF()); }
    // The first four bytes as an integer; -1 when absent or shorter.
    int SomeInt(unsigned format) const;
    bool SomeFiles(std::vector<std::string>& files) const;

private:
    const TDataObject& data_;
    std::vector<unsigned> formats_;
    bool listed_ = false;
};

enum TDropFormat : unsigned { dfText = 1, dfFile = 2, dfCol = 4, dfRTF = 8 };
using TDropFormats = unsigned;

// A window's drop target. Its answers never let an error escape into the drag loop:
// a failing handler is reported and the drop is refused. The effect passed in is the
// set the source allows; the one passed back lies within it.
class TDropTarget {
public:
    virtual ~TDropTarget() = default;
    bool AcceptText = true, AcceptFiles = true, AcceptCols = false;

    virtual void DropText(TPoint screen, const std::string& text) { (void)screen, (void)text; }
    virtual void DropCol(TPoint screen, int colIndex) { (void)screen, (void)colIndex; }
    virtual void DropRTF(TPoint screen, const std::string& rtf) { (void)screen, (void)rtf; }
    virtual void DropFiles(TPoint screen, const std::vector<std::string>& files) { (void)screen, (void)files; }
    virtual void DragMouseMove(TPoint screen, bool& allow, TDropFormats formats) { (void)screen, (void)allow, (void)formats; }
    // The drag came in; the acceptance flags are read after it.
    virtual void DragMouseEnter() {}
    virtual void DragMouseLeave() {}

    HRESULT DragEnter(const TDataObject& data, unsigned keys, TPoint screen, int& effect);
    HRESULT DragOver(unsigned keys, TPoint screen, int& effect);
    virtual HRESULT DragLeave();
    HRESULT Drop(const TDataObject& data, unsigned keys, TPoint screen, int& effect);

protected:
    // Whether rich text is taken; the family of targets decides.
    virtual bool RTFAware() const { return false; }
    // The format that carries a column index; 0 for none.
    virtual unsigned ColFormat() const { return 0; }
    // The MK_ keys of the latest answer (MK_CONTROL: copy).
    unsigned Keys() const { return keys_; }
    TDropFormats Offered() const { return offered_; }
    // Called by a drop handler that took nothing: the drop then has no effect, so the
    // source keeps what it offered.
    void Refuse() { refused_ = true; }

private:
    bool acceptable_ = false;
    unsigned keys_ = 0;
    bool refused_ = false;
    TDropFormats offered_ = 0;
};

class TDropSource {
public:
    virtual ~TDropSource() = default;
    // screen: where the mouse is now.
    HRESULT QueryContinueDrag(bool escapePressed, unsigned keys, TPoint screen = {});
    HRESULT GiveFeedback(int effect);
    bool NoDrop() const { return noDrop_; }

protected:
    virtual void QueryDrag(TPoint screen) { (void)screen; }
    virtual void CurrentEffect(int effect) { (void)effect; }

private:
    bool noDrop_ = false;
};

// Registration of a control's window as a drop target; false when it cannot be made.
bool RegisterDragDrop(TWinControl* window, std::shared_ptr<TDropTarget> target);
void RevokeDragDrop(TWinControl* window);

// Runs a drag from source (which takes the mouse) until the left button is released
// (DRAGDROP_S_DROP) or Esc is pressed or the capture is lost (DRAGDROP_S_CANCEL).
HRESULT DoDragDrop(TWinControl* source, const TDataObject& data, TDropSource& dropSource, int allowed, int& effect);
// DoDragDrop with errors reported; a drag that ended where nothing could be dropped
// counts as cancelled.
HRESULT StartDoDragDrop(TWinControl* source, const TDataObject& data, TDropSource& dropSource, int allowed,
                        int& effect);

// Files dropped from the desktop: a window that accepts them receives WM_DROPFILES with an
// HDROP in WParam; a drop of files answers the copy effect, so that the source keeps them.
struct TDropFiles;
using HDROP = TDropFiles*;
void DragAcceptFiles(TWinControl* window, bool accept);
// The number of files with index 0xFFFFFFFF; otherwise the length of name index (without
// the ending zero) and, when buffer is given, the name cut to size - 1 characters.
UINT DragQueryFile(HDROP drop, UINT index, char* buffer, UINT size);
// The drop point in the window's client coordinates.
bool DragQueryPoint(HDROP drop, TPoint& point);
void DragFinish(HDROP drop);

// Where failures inside drag and drop are reported (standard error by default).
void SetDragDropErrorHandler(std::function<void(const std::string&)> handler);
void ReportDragDropError(const std::string& message);

}  // namespace platform
