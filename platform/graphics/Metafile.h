#pragma once
// Metafiles: a canvas that records its drawing calls, written out as an enhanced
// metafile (EMF) or a placeable Windows metafile (WMF), and played back onto a canvas.
#include <memory>
#include <string>

#include "platform/graphics/Graphics.h"

namespace platform {

class TMetafileCanvas;

// A recorded picture in pixels of a 96 dpi reference device.
class TMetafile : public TGraphic {
public:
    TMetafile();
    TMetafile(int width, int height);
    ~TMetafile() override;
    void Assign(const TPersistent& source) override;

    int GetWidth() const override { return width_; }
    int GetHeight() const override { return height_; }
    void SetWidth(int w) override;
    void SetHeight(int h) override;
    bool GetEmpty() const override;
    void Clear();  // drops the records, keeps the size
    int RecordCount() const;

    // SaveToStream writes EMF when Enhanced, else a placeable WMF.
    bool Enhanced() const { return enhanced_; }
    void SetEnhanced(bool e) { enhanced_ = e; }
    std::string EmfData() const;
    std::string WmfData() const;

    // Plays the records back, scaled from the picture's size to r.
    void Draw(TCanvas& canvas, const TRect& r) override;
    // Only recorded metafiles exist here: reading one raises EInvalidGraphic.
    void LoadFromStream(std::istream& s) override;
    void SaveToStream(std::ostream& s) const override;

    struct Record;
    struct Data;

private:
    friend class TMetafileCanvas;
    std::unique_ptr<Data> data_;
    int width_ = 0, height_ = 0;
    bool enhanced_ = true;
};

// A canvas that records into a metafile: creating it starts a new recording, and every
// call is appended at once. Lines, rectangles, rounded rectangles, ellipses, arcs, pies,
// chords, polylines, polygons, filled and framed rectangles, pattern fills, pixels,
// bitmaps and text (also rotated) are recorded, with clipping by rectangles and regions
// and saved states; focus rectangles and inverting transfers leave no record. Text is
// measured with the host's font metrics, as on a bitmap.
class TMetafileCanvas : public TCanvas {
public:
    explicit TMetafileCanvas(TMetafile& metafile);
    ~TMetafileCanvas() override;

    // Clipping as on a device context. As on a canvas, the pen, brush and font set
    // here stay in force across RestoreDC.
    int SaveDC();
    void RestoreDC();
    void IntersectClipRect(int l, int t, int r, int b);

private:
    struct Recorder;
    std::unique_ptr<Recorder> rec_;
};

// MIME type under which the clipboard carries an enhanced metafile.
extern const char* const kEnhMetafileMime;

// Replaces the clipboard's contents with the metafile and a bitmap of the same
// picture on white, so programs that take only pictures can paste it too.
void CopyMetafileToClipboard(const TMetafile& metafile);
// The bytes the clipboard holds under a MIME type; empty when it has none.
std::string ClipboardData(const std::string& mimeType);
// The clipboard's picture, false when it has none.
bool ClipboardBitmap(TBitmap& out);

}  // namespace platform
