#pragma once
// Pens, brushes, fonts, the canvas, bitmaps and pictures.
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "base/Exception.h"
#include "platform/Classes.h"
#include "platform/Types.h"

namespace platform {

class TCanvas;
class TBitmap;

class TGraphicsObject : public TPersistent {
public:
    TNotifyEvent OnChange;

protected:
    void Changed() { if (OnChange) OnChange(this); }
    // Sets a property, telling OnChange only when the value differs.
    template <class T>
    void Change(T& field, T value)
    {
        if (field == value) return;
        field = value;
        Changed();
    }
};

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned;
enum TFontPitch { fpDefault, fpVariable, fpFixed };

class TFont : public TGraphicsObject {
public:
    TFont();
    void Assign(const TPersistent& source) override;

    const std::string& Name() const { return name_; }
    void SetName(const std::string& v);
    // Points at 96 pixels per inch; Height is the negative em height in pixels.
    int Size() const;
    void SetSize(int points);
    int Height() const { return height_; }
    void SetHeight(int pixels);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles s);
    TColor Color() const { return color_; }
    void SetColor(TColor c);
    // Tenths of a degree, counter-clockwise.
    int Escapement() const { return escapement_; }
    void SetEscapement(int tenths);
    TFontPitch Pitch() const { return pitch_; }
    void SetPitch(TFontPitch p);
    int PixelsPerInch() const { return 96; }
    bool SameAs(const TFont& o) const;

private:
    std::string name_ = "MS Sans Serif";
    int height_ = -11;  // 8 points
    TFontStyles style_ = 0;
    TColor color_ = clWindowText;
    int escapement_ = 0;
    TFontPitch pitch_ = fpDefault;
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode {
    pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot, pmMergeNotPen,
    pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};

class TPen : public TGraphicsObject {
public:
    void Assign(const TPersistent& source) override;
    TColor Color() const { return color_; }
    void SetColor(TColor c);
    int Width() const { return width_; }
    void SetWidth(int w);
    TPenStyle Style() const { return style_; }
    void SetStyle(TPenStyle s);
    TPenMode Mode() const { return mode_; }
    void SetMode(TPenMode m);
    // A pen made by ExtCreatePen or CreatePen (geometric pens: end caps, joins, user
    // styles): the pen takes the handle over and frees it; colour, width and style follow
    // it. Setting colour, width, style or another handle drops it. Null for a plain pen.
    HPEN Handle() const { return handle_.get(); }
    void SetHandle(HPEN h);

private:
    TColor color_ = clBlack;
    int width_ = 1;
    TPenStyle style_ = psSolid;
    TPenMode mode_ = pmCopy;
    std::shared_ptr<PenObject> handle_;
    void DropHandle() { handle_.reset(); }
};

enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

class TBrush : public TGraphicsObject {
public:
    void Assign(const TPersistent& source) override;
    TColor Color() const { return color_; }
    void SetColor(TColor c);
    TBrushStyle Style() const { return style_; }
    void SetStyle(TBrushStyle s);
    // A pattern bitmap (8 by 8 used) replaces the style while set; not owned.
    TBitmap* Bitmap() const { return bitmap_; }
    void SetBitmap(TBitmap* b);

private:
    TColor color_ = clWhite;
    TBrushStyle style_ = bsSolid;
    TBitmap* bitmap_ = nullptr;
};

// Raster operations of BitBlt and the canvas copy mode.
enum : DWORD {
    SRCCOPY = 0x00CC0020, SRCPAINT = 0x00EE0086, SRCAND = 0x008800C6, SRCINVERT = 0x00660046,
    SRCERASE = 0x00440328, NOTSRCCOPY = 0x00330008, NOTSRCERASE = 0x001100A6, MERGECOPY = 0x00C000CA,
    MERGEPAINT = 0x00BB0226, PATCOPY = 0x00F00021, PATPAINT = 0x00FB0A09, PATINVERT = 0x005A0049,
    DSTINVERT = 0x00550009, BLACKNESS = 0x00000042, WHITENESS = 0x00FF0062
};
using TCopyMode = DWORD;
constexpr TCopyMode cmSrcCopy = SRCCOPY, cmSrcPaint = SRCPAINT, cmSrcAnd = SRCAND, cmSrcInvert = SRCINVERT,
                    cmSrcErase = SRCERASE, cmNotSrcCopy = NOTSRCCOPY, cmNotSrcErase = NOTSRCERASE,
                    cmMergeCopy = MERGECOPY, cmMergePaint = MERGEPAINT, cmPatCopy = PATCOPY,
                    cmPatPaint = PATPAINT, cmPatInvert = PATINVERT, cmDstInvert = DSTINVERT,
                    cmBlackness = BLACKNESS, cmWhiteness = WHITENESS;

class TGraphic;

// Drawing surface with the platform's rules: right and bottom edges exclusive,
// the last pixel of a line not drawn, pen modes as raster operations.
enum TFillStyle { fsSurface, fsBorder };

class TCanvas : public TPersistent {
public:
    TCanvas();
    ~TCanvas() override;
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    TPen& Pen() { return pen_; }
    TBrush& Brush() { return brush_; }
    TFont& Font() { return font_; }
    TPen* PenPtr() { return &pen_; }
    TBrush* BrushPtr() { return &brush_; }
    TFont* FontPtr() { return &font_; }
    TCopyMode CopyMode = cmSrcCopy;

    // The device context with pen, brush and font selected.
    HDC Handle();
    bool HandleAllocated() const;

    TPoint PenPos() const;
    void SetPenPos(TPoint p);
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Rectangle(int x1, int y1, int x2, int y2);
    void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    void RoundRect(int x1, int y1, int x2, int y2, int x3, int y3);
    void FillRect(const TRect& r);
    void FrameRect(const TRect& r);
    void Ellipse(int x1, int y1, int x2, int y2);
    void Ellipse(const TRect& r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
    void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    void Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    void Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    void Polygon(const TPoint* pts, int count);
    void Polygon(const std::vector<TPoint>& pts) { Polygon(pts.data(), int(pts.size())); }
    void Polyline(const TPoint* pts, int count);
    void Polyline(const std::vector<TPoint>& pts) { Polyline(pts.data(), int(pts.size())); }
    void DrawFocusRect(const TRect& r);

    // Fills with the brush colour: fsBorder up to pixels of `color`, fsSurface over them.
    void FloodFill(int x, int y, TColor color, TFillStyle style);
    // Copies part of a bitmap, pixels of `color` replaced by the brush colour.
    void BrushCopy(const TRect& dest, TBitmap* bitmap, const TRect& source, TColor color);

    TColor Pixel(int x, int y);  // -1 outside the surface
    void SetPixel(int x, int y, TColor c);

    void TextOut(int x, int y, const std::string& text);
    void TextRect(const TRect& r, int x, int y, const std::string& text);
    TSize TextExtent(const std::string& text);
    int TextWidth(const std::string& text) { return TextExtent(text).cx; }
    int TextHeight(const std::string& text) { return TextExtent(text).cy; }
    // Wide text (UTF-16), drawn and measured with all its characters.
    void TextOutW(int x, int y, const std::u16string& text);
    void TextRectW(const TRect& r, int x, int y, const std::u16string& text);
    TSize TextExtentW(const std::u16string& text);
    int TextWidthW(const std::u16string& text) { return TextExtentW(text).cx; }

    void Draw(int x, int y, TGraphic* g);
    void StretchDraw(const TRect& r, TGraphic* g);
    void CopyRect(const TRect& dest, TCanvas* src, const TRect& source);

    // The clip box in logical coordinates (the whole surface when unclipped).
    TRect ClipRect();

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;
    void Lock() {}
    void Unlock() {}
    void Refresh();  // reselects pen, brush and font

    // Canvas on a surface: a bitmap or a window's backing image.
    DeviceContext* DC() const { return dc_; }

protected:
    void AttachDC(DeviceContext* dc);  // not owned; nullptr detaches
    virtual void CreateHandle() {}
    void Changing();
    void Changed();

private:
    void RequiredState();
    HDC MeasuringHandle();  // the canvas's DC, or one with its font when it has none
    template <class Fn>
    void Drawing(Fn&& draw);
    friend class TBitmap;
    friend class TControlCanvas;

    TPen pen_;
    TBrush brush_;
    TFont font_;
    DeviceContext* dc_ = nullptr;
    bool penValid_ = false, brushValid_ = false, fontValid_ = false;
};

// Base of every picture kind that a canvas can draw.
class TGraphic : public TPersistent {
public:
    virtual void Draw(TCanvas& canvas, const TRect& r) = 0;
    virtual bool GetEmpty() const = 0;
    virtual int GetWidth() const = 0;
    virtual int GetHeight() const = 0;
    virtual void SetWidth(int) {}
    virtual void SetHeight(int) {}
    virtual void LoadFromStream(std::istream& s) = 0;
    virtual void SaveToStream(std::ostream& s) const = 0;
    virtual void LoadFromFile(const std::string& fileName);  // EInOutError when unreadable
    virtual void SaveToFile(const std::string& fileName) const;
    virtual bool Transparent() const { return transparent_; }
    virtual void SetTransparent(bool t);
    // Streamed as "Data" with the bytes of SaveToStream (WriteData, ReadData).
    void DefineProperties(TFiler* Filer) override;
    virtual void WriteData(std::ostream& s) const { SaveToStream(s); }
    virtual void ReadData(std::istream& s) { LoadFromStream(s); }
    bool Empty() const { return GetEmpty(); }
    int Width() const { return GetWidth(); }
    int Height() const { return GetHeight(); }
    TNotifyEvent OnChange;

protected:
    void Changed() { if (OnChange) OnChange(this); }
    bool transparent_ = false;
};

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
enum TTransparentMode { tmAuto, tmFixed };

// Off-screen bitmap. Pixels are kept as 32-bit 0xAARRGGBB words (bytes B, G, R, A in
// memory) whatever PixelFormat says; ScanLine gives that layout.
class TBitmap : public TGraphic {
public:
    TBitmap();
    TBitmap(int w, int h);
    ~TBitmap() override;
    void Assign(const TPersistent& source) override;

    int GetWidth() const override;
    int GetHeight() const override;
    void SetWidth(int w) override;
    void SetHeight(int h) override;
    void SetSize(int w, int h);
    bool GetEmpty() const override;
    TPixelFormat PixelFormat() const { return pixelFormat_; }
    void SetPixelFormat(TPixelFormat f) { pixelFormat_ = f; }
    bool Monochrome() const { return pixelFormat_ == pf1bit; }

    TCanvas* Canvas();
    std::uint32_t* ScanLine(int row);

    TColor TransparentColor() const;  // tmAuto: the bottom-left pixel
    void SetTransparentColor(TColor c);
    TTransparentMode TransparentMode() const { return transparentMode_; }
    void SetTransparentMode(TTransparentMode m) { transparentMode_ = m; }

    void Draw(TCanvas& canvas, const TRect& r) override;
    // BMP files: 1, 4, 8, 16, 24 and 32 bits, uncompressed or RLE; EInvalidGraphic when not a BMP.
    void LoadFromStream(std::istream& s) override;
    void SaveToStream(std::ostream& s) const override;  // 24-bit BMP
    // A 32-bit BMP that keeps the alpha channel (read back by LoadFromStream).
    void SaveToStreamWithAlpha(std::ostream& s) const;
    // Streamed: TransparentColor, TransparentMode; "Data" as its size and BMP bytes.
    void GetPublished(TPropertyList& List) override;
    void WriteData(std::ostream& s) const override;
    void ReadData(std::istream& s) override;
    // Any image format the host can decode (BMP through our own reader).
    bool LoadFromImageFile(const std::string& fileName);
    bool LoadFromImageData(const std::string& bytes);

    struct Impl;
    Impl* impl() const { return impl_.get(); }

private:
    std::unique_ptr<Impl> impl_;
    TPixelFormat pixelFormat_ = pfDevice;
    TTransparentMode transparentMode_ = tmAuto;
    TColor transparentColor_ = clDefault;
    std::unique_ptr<TCanvas> canvas_;
};

class EInvalidGraphic : public base::Exception {
public:
    using base::Exception::Exception;
};

// Holds one graphic of any kind; files load by extension.
class TPicture : public TPersistent {
public:
    TPicture();
    ~TPicture() override;
    void Assign(const TPersistent& source) override;
    TGraphic* Graphic() const { return graphic_.get(); }
    void SetGraphic(TGraphic* g);  // takes a copy when g is a TBitmap, else ownership
    TBitmap* Bitmap();             // replaces a non-bitmap graphic by an empty bitmap
    int Width() const { return graphic_ ? graphic_->Width() : 0; }
    int Height() const { return graphic_ ? graphic_->Height() : 0; }
    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName) const;
    // Streamed as "Data": the graphic's class name, then its own data.
    void DefineProperties(TFiler* Filer) override;
    TNotifyEvent OnChange;

private:
    std::unique_ptr<TGraphic> graphic_;
    void Changed();
};

}  // namespace platform
