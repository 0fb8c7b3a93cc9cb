// Recorded metafiles: EMF and placeable WMF structure, object lifetimes, playback.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "platform/graphics/GDI.h"
#include "platform/graphics/Graphics.h"
#include "platform/graphics/Metafile.h"

using namespace platform;

namespace {

std::uint32_t U32(const std::string& s, std::size_t at)
{
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | std::uint8_t(s[at + std::size_t(i)]);
    return v;
}
unsigned U16(const std::string& s, std::size_t at) { return unsigned(std::uint8_t(s[at])) | unsigned(std::uint8_t(s[at + 1])) << 8; }

struct Rec {
    std::uint32_t type;
    std::size_t at, size;
};

std::vector<Rec> EmfRecords(const std::string& emf)
{
    std::vector<Rec> out;
    std::size_t at = 0;
    while (at + 8 <= emf.size()) {
        const std::uint32_t size = U32(emf, at + 4);
        out.push_back({U32(emf, at), at, size});
        if (size < 8) break;
        at += size;
    }
    return out;
}

std::vector<Rec> WmfRecords(const std::string& wmf)
{
    std::vector<Rec> out;
    std::size_t at = 22 + 18;  // placeable header, then the metafile header
    while (at + 6 <= wmf.size()) {
        const std::size_t words = U32(wmf, at);
        out.push_back({U16(wmf, at + 4), at, words * 2});
        if (words < 3) break;
        at += words * 2;
    }
    return out;
}

enum : std::uint32_t { EMR_HEADER = 1, EMR_POLYLINE = 4, EMR_EOF = 14, EMR_SAVEDC = 33, EMR_RESTOREDC = 34,
                       EMR_SELECTOBJECT = 37, EMR_CREATEPEN = 38, EMR_DELETEOBJECT = 40, EMR_LINETO = 54,
                       EMR_EXTTEXTOUTW = 84 };

void Sample(TMetafile& mf)
{
    TMetafileCanvas c(mf);
    c.Pen().SetColor(clRed);
    c.MoveTo(1, 1);
    c.LineTo(30, 1);
    c.Pen().SetColor(clBlue);
    const TPoint pts[] = {{0, 0}, {10, 10}, {20, 0}};
    c.Polyline(pts, 3);
    c.Brush().SetStyle(bsClear);
    c.Font().SetColor(clGreen);
    c.TextOut(5, 5, "Abc");
    c.SaveDC();
    c.IntersectClipRect(0, 0, 8, 8);
    c.Pen().SetColor(clBlack);
    c.LineTo(0, 20);
    c.RestoreDC();
    c.Ellipse(2, 2, 6, 6);
    c.SetPixel(3, 3, clYellow);
}

}  // namespace

TEST(Metafile, EmfHeaderCountsItsRecordsAndBytes)
{
    TMetafile mf(40, 30);
    Sample(mf);
    const std::string emf = mf.EmfData();
    const auto recs = EmfRecords(emf);
    ASSERT_GE(recs.size(), 3u);
    EXPECT_EQ(recs.front().type, EMR_HEADER);
    EXPECT_EQ(recs.front().size, 108u);
    EXPECT_EQ(U32(emf, 8), 0u);    // bounds: the picture in pixels, inclusive
    EXPECT_EQ(U32(emf, 16), 39u);
    EXPECT_EQ(U32(emf, 20), 29u);
    EXPECT_EQ(U32(emf, 40), 0x464D4520u);
    EXPECT_EQ(U32(emf, 48), emf.size());
    EXPECT_EQ(U32(emf, 52), recs.size());
    EXPECT_EQ(recs.back().type, EMR_EOF);
    EXPECT_EQ(recs.back().at + recs.back().size, emf.size());
    for (const Rec& r : recs) EXPECT_EQ(r.size % 4, 0u) << r.type;
    // One handle for the file itself plus the most objects alive at once.
    EXPECT_GE(U16(emf, 56), 4u);
}

TEST(Metafile, EmfRecordsCarryTheDrawing)
{
    TMetafile mf(40, 30);
    Sample(mf);
    const std::string emf = mf.EmfData();
    const auto recs = EmfRecords(emf);
    int pens = 0, lines = 0, polylines = 0, texts = 0;
    for (const Rec& r : recs) {
        if (r.type == EMR_CREATEPEN) {
            ++pens;
            if (pens == 1) {
                EXPECT_EQ(U32(emf, r.at + 24), 0x000000FFu);  // red first
            }
        }
        if (r.type == EMR_LINETO) ++lines;
        if (r.type == EMR_POLYLINE) {
            ++polylines;
            EXPECT_EQ(U32(emf, r.at + 24), 3u);            // point count after the bounds
            EXPECT_EQ(U32(emf, r.at + 28 + 8), 10u);       // second point
            EXPECT_EQ(U32(emf, r.at + 8 + 8), 20u);        // bounds right
        }
        if (r.type == EMR_EXTTEXTOUTW) {
            ++texts;
            EXPECT_EQ(U32(emf, r.at + 36), 5u);   // reference point
            EXPECT_EQ(U32(emf, r.at + 44), 3u);   // characters
            const std::uint32_t off = U32(emf, r.at + 48);
            EXPECT_EQ(U16(emf, r.at + off), unsigned('A'));
            EXPECT_EQ(U16(emf, r.at + off + 4), unsigned('c'));
        }
    }
    EXPECT_EQ(pens, 4);  // the black pen again after the restore: the canvas's pen stays
    EXPECT_EQ(lines, 2);
    EXPECT_EQ(polylines, 1);
    EXPECT_EQ(texts, 1);
}

TEST(Metafile, ObjectsOfASavedStateLiveUntilItsRestore)
{
    TMetafile mf(40, 30);
    Sample(mf);
    const std::string emf = mf.EmfData();
    const auto recs = EmfRecords(emf);
    // The blue pen is selected when the state is saved; the black one replaces it inside.
    std::uint32_t bluePen = 0;
    std::size_t save = 0, restore = 0;
    for (std::size_t i = 0; i < recs.size(); ++i) {
        if (recs[i].type == EMR_CREATEPEN && U32(emf, recs[i].at + 24) == 0x00FF0000u) bluePen = U32(emf, recs[i].at + 8);
        if (recs[i].type == EMR_SAVEDC) save = i;
        if (recs[i].type == EMR_RESTOREDC) restore = i;
    }
    ASSERT_NE(bluePen, 0u);
    ASSERT_LT(save, restore);
    for (std::size_t i = save; i < restore; ++i) {
        if (recs[i].type == EMR_DELETEOBJECT) {
            EXPECT_NE(U32(emf, recs[i].at + 8), bluePen) << i;
        }
    }
    // The pen made inside the saved state goes once the state is restored.
    bool deletedAfter = false;
    for (std::size_t i = restore; i < recs.size(); ++i)
        if (recs[i].type == EMR_DELETEOBJECT) deletedAfter = true;
    EXPECT_TRUE(deletedAfter);
    // Every selected handle was created before.
    std::vector<std::uint32_t> alive;
    for (const Rec& r : recs) {
        if (r.type == EMR_CREATEPEN || r.type == 39 || r.type == 82) alive.push_back(U32(emf, r.at + 8));
        if (r.type == EMR_SELECTOBJECT) {
            EXPECT_NE(std::find(alive.begin(), alive.end(), U32(emf, r.at + 8)), alive.end());
        }
        if (r.type == EMR_DELETEOBJECT) {
            auto it = std::find(alive.begin(), alive.end(), U32(emf, r.at + 8));
            ASSERT_NE(it, alive.end());
            alive.erase(it);
        }
    }
}

TEST(Metafile, PlaceableWmfHeaderAndRecords)
{
    TMetafile mf(40, 30);
    Sample(mf);
    const std::string wmf = mf.WmfData();
    EXPECT_EQ(U32(wmf, 0), 0x9AC6CDD7u);
    EXPECT_EQ(U16(wmf, 10), 40u);  // bounding box right, bottom
    EXPECT_EQ(U16(wmf, 12), 30u);
    unsigned sum = 0;
    for (std::size_t i = 0; i < 20; i += 2) sum ^= U16(wmf, i);
    EXPECT_EQ(U16(wmf, 20), sum);
    EXPECT_EQ(U16(wmf, 22), 1u);     // memory metafile
    EXPECT_EQ(U16(wmf, 24), 9u);     // header words
    EXPECT_EQ(U16(wmf, 26), 0x0300u);
    EXPECT_EQ(U32(wmf, 28) * 2, wmf.size() - 22);
    const auto recs = WmfRecords(wmf);
    ASSERT_FALSE(recs.empty());
    EXPECT_EQ(recs.back().type, 0u);
    EXPECT_EQ(recs.back().size, 6u);
    EXPECT_EQ(recs.back().at + 6, wmf.size());
    std::size_t largest = 0;
    for (const Rec& r : recs) largest = std::max(largest, r.size / 2);
    EXPECT_EQ(U32(wmf, 34), largest);
    EXPECT_GE(U16(wmf, 32), 3u);  // pen, brush and font at once
}

TEST(Metafile, LongPolylinesGoIntoWmfInPieces)
{
    TMetafile mf(100, 100);
    {
        TMetafileCanvas c(mf);
        std::vector<TPoint> pts;
        for (int i = 0; i < 9000; ++i) pts.push_back({i % 100, i / 100});
        c.Polyline(pts.data(), int(pts.size()));
        c.Polyline(pts.data(), 1);  // too short: nothing
    }
    EXPECT_EQ(mf.RecordCount(), 2);  // the pen and the line
    const std::string wmf = mf.WmfData();
    int pieces = 0, points = 0;
    for (const Rec& r : WmfRecords(wmf))
        if (r.type == 0x0325) {
            ++pieces;
            points += int(U16(wmf, r.at + 6));
        }
    EXPECT_EQ(pieces, 2);
    EXPECT_EQ(points, 9001);  // the joint point starts the second piece again
}

TEST(Metafile, PlaybackScalesIntoTheTargetRectangle)
{
    TMetafile mf(10, 10);
    {
        TMetafileCanvas c(mf);
        c.Pen().SetColor(clRed);
        c.MoveTo(0, 5);
        c.LineTo(10, 5);
        c.SetPixel(9, 9, clBlue);
    }
    TBitmap b(40, 40);
    b.Canvas()->Brush().SetColor(clWhite);
    b.Canvas()->FillRect(Rect(0, 0, 40, 40));
    mf.Draw(*b.Canvas(), Rect(10, 10, 30, 30));
    EXPECT_EQ(b.Canvas()->Pixel(10, 20), clRed);
    EXPECT_EQ(b.Canvas()->Pixel(29, 20), clRed);
    EXPECT_EQ(b.Canvas()->Pixel(30, 20), clWhite);
    EXPECT_EQ(b.Canvas()->Pixel(9, 20), clWhite);
    EXPECT_EQ(b.Canvas()->Pixel(28, 28), clBlue);
    // The canvas keeps its own pen after the playback.
    EXPECT_EQ(b.Canvas()->Pen().Color(), clBlack);
}

TEST(Metafile, CallsOnTheHandleRecordAsTheCanvasCallsDo)
{
    TMetafile viaCanvas(40, 30), viaHandle(40, 30);
    {
        TMetafileCanvas c(viaCanvas);
        c.Pen().SetColor(clRed);
        c.SaveDC();
        c.IntersectClipRect(2, 2, 20, 20);
        c.Pen().SetColor(clBlue);
        c.LineTo(10, 10);
        c.RestoreDC();
        c.LineTo(0, 10);
    }
    {
        TMetafileCanvas c(viaHandle);
        c.Pen().SetColor(clRed);
        SaveDC(c.Handle());
        IntersectClipRect(c.Handle(), 2, 2, 20, 20);
        c.Pen().SetColor(clBlue);
        c.LineTo(10, 10);
        RestoreDC(c.Handle(), -1);
        c.Refresh();
        c.LineTo(0, 10);
    }
    EXPECT_EQ(viaHandle.RecordCount(), viaCanvas.RecordCount());
    EXPECT_EQ(viaHandle.EmfData(), viaCanvas.EmfData());
    EXPECT_EQ(viaHandle.WmfData(), viaCanvas.WmfData());
}

TEST(Metafile, RestoreDCReturnsThePenToItsSavedPosition)
{
    // Playback restores the position with the state, so the recording canvas must too:
    // the last line starts at (0, 0) in the picture.
    TMetafile mf(30, 30);
    TMetafileCanvas c(mf);
    c.MoveTo(0, 0);
    c.SaveDC();
    c.LineTo(10, 10);
    EXPECT_EQ(c.PenPos(), (TPoint{10, 10}));
    c.RestoreDC();
    EXPECT_EQ(c.PenPos(), (TPoint{0, 0}));
}

TEST(Metafile, PointListsWithoutPointsRecordNothing)
{
    TMetafile mf(10, 10);
    TMetafileCanvas c(mf);
    const TPoint one[] = {{1, 1}};
    c.Polyline(nullptr, 3);
    c.Polygon(nullptr, 3);
    c.Polyline(one, 1);
    c.Polygon(one, 1);
    EXPECT_EQ(mf.RecordCount(), 0);
}

TEST(Metafile, TextIsMeasuredLikeOnABitmap)
{
    TMetafile mf(50, 20);
    TMetafileCanvas c(mf);
    TBitmap b(1, 1);
    EXPECT_EQ(c.TextExtent("Hello"), b.Canvas()->TextExtent("Hello"));
    c.Font().SetStyle(fsBold);
    b.Canvas()->Font().SetStyle(fsBold);
    EXPECT_EQ(c.TextWidth("Hello"), b.Canvas()->TextWidth("Hello"));
}

TEST(Metafile, ReadingAndSavingFormats)
{
    TMetafile mf(10, 10);
    Sample(mf);
    std::istringstream in("anything");
    EXPECT_THROW(mf.LoadFromStream(in), EInvalidGraphic);
    std::ostringstream emf, wmf;
    mf.SaveToStream(emf);
    mf.SetEnhanced(false);
    mf.SaveToStream(wmf);
    EXPECT_EQ(emf.str(), mf.EmfData());
    EXPECT_EQ(wmf.str(), mf.WmfData());
    TMetafile copy;
    copy.Assign(mf);
    EXPECT_EQ(copy.WmfData(), mf.WmfData());
    EXPECT_FALSE(copy.Enhanced());
}
