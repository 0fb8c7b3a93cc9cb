// Every kind of cell graphic drawn on the screen and on the page, pixel for pixel: each
// case's pictures reduce to a checksum kept beside it, so a change of the drawing shows.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "base/StringList.h"
#include "platform/forms/Forms.h"
#include "platform/graphics/Graphics.h"
#include "platform/graphics/Icon.h"
#include "platform/graphics/ImageList.h"
#include "platform/TestRig.h"
#include "support/PixelHash.h"
#include "support/TestSupport.h"
#include "widgets/grid/CellGraphic.h"
#include "widgets/grid/ExGrid.h"
#include "widgets/grid/ExObj.h"
#include "widgets/grid/GridOptions.h"

using namespace platform;
using namespace grid;

namespace {

// The grid with its graphic drawing in reach, and cells the test makes read-only.
class PixelGrid : public TExStringGrid {
public:
    using TExStringGrid::TExStringGrid;
    using TExStringGrid::DrawCellGraphic;
    std::set<std::pair<int, int>> readOnly;
    void GetCellReadOnly(int ACol, int ARow, bool& CanEdit) override
    {
        TExStringGrid::GetCellReadOnly(ACol, ARow, CanEdit);
        if (readOnly.count({ACol, ARow})) CanEdit = false;
    }
};

// Two colours in 2 x 2 squares, so that a picture's place and size show.
std::unique_ptr<TBitmap> Checker(int w, int h, TColor a, TColor b)
{
    auto bmp = std::make_unique<TBitmap>(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) bmp->Canvas()->SetPixel(x, y, ((x / 2 + y / 2) % 2) ? a : b);
    return bmp;
}

struct GraphicPixels : ::testing::Test {
    TForm* form = nullptr;
    PixelGrid* g = nullptr;
    std::unique_ptr<TImageList> images;
    std::unique_ptr<TBitmap> picture, glyph;
    std::unique_ptr<TIcon> icon;
    std::unique_ptr<TPicture> pic;
    std::unique_ptr<base::TStringList> radio;
    testsupport::TempDir dir{"graphic-pixels"};
    static constexpr int C = 1, R = 2;  // the cell of the cases

    void SetUp() override
    {
        EnsurePlatform();
        form = Construct<TForm>(Application);
        form->SetBounds(0, 0, 420, 260);
        g = new PixelGrid(form);
        g->SetParent(form);
        g->SetBounds(0, 0, 400, 240);
        g->SetColCount(4);
        g->SetRowCount(5);
        g->SetFixedCols(0);
        g->SetFixedRows(1);
        g->SetOptions(g->Options() | goEditing);
        for (int c = 0; c < 4; ++c) g->SetColWidths(c, 96);
        for (int r = 0; r < 5; ++r) g->SetRowHeights(r, 44);
        g->HandleNeeded();
        images = std::make_unique<TImageList>(10, 8);
        images->Add(Checker(10, 8, clRed, clWhite).get());
        images->Add(Checker(10, 8, clBlue, clYellow).get());
        images->Add(Checker(10, 8, clGreen, clBlack).get());
        picture = Checker(18, 14, clNavy, clAqua);
        glyph = Checker(12, 12, clMaroon, clSilver);
        glyph->Canvas()->SetPixel(0, 11, clFuchsia);  // its transparent colour
        auto color = Checker(12, 10, clPurple, clLime);
        auto mask = std::make_unique<TBitmap>(12, 10);
        mask->Canvas()->Brush().SetColor(clWhite);
        mask->Canvas()->FillRect({0, 0, 12, 10});
        mask->Canvas()->Brush().SetColor(clBlack);
        mask->Canvas()->FillRect({1, 1, 11, 9});
        icon = std::make_unique<TIcon>();
        icon->SetHandle(CreateIconFromBitmaps(color.get(), mask.get()));
        pic = std::make_unique<TPicture>();
        pic->SetGraphic(picture.get());
        radio = std::make_unique<base::TStringList>();
        radio->Add("Ro");
        radio->Add("Sail");
        radio->Add("Motor");
    }
    void TearDown() override { form->Free(); }

    // The graphic drawn into the cell's place on a bitmap of the grid's client size (the
    // screen), then into a rectangle twice its size on a page (Scale 2); both pictures
    // and the hit-test value the screen drawing keeps go into the checksum.
    testsupport::PixelHash Draw(TCellGraphic& gr, int c, TAlignment ha, bool selected, const std::string& name)
    {
        testsupport::PixelHash h;
        TRect cell = g->CellRect(c, R);
        if (c == 0) cell.Left += g->GridLineWidth() + g->NodeIndent(R) + 4;  // as the row's content starts
        TBitmap screen(g->ClientWidth(), g->ClientHeight());
        Prepare(screen);
        g->DrawCellGraphic(screen.Canvas(), gr, c, R, cell, ha, selected);
        h.Bitmap(screen);
        h.Number(std::uint64_t(std::int64_t(gr.CellValue)));
        testsupport::KeepPicture(screen, name + "-screen");
        TBitmap page(300, 140);
        Prepare(page);
        const TRect onPage{20, 20, 20 + 2 * cell.Width(), 20 + 2 * cell.Height()};
        g->DrawCellGraphic(page.Canvas(), gr, c, R, onPage, ha, selected, 2.0);
        h.Bitmap(page);
        testsupport::KeepPicture(page, name + "-page");
        return h;
    }
    void Prepare(TBitmap& b)
    {
        b.Canvas()->Brush().SetColor(clWhite);
        b.Canvas()->FillRect({0, 0, b.Width(), b.Height()});
        b.Canvas()->Font().Assign(*g->Font());
        b.Canvas()->Pen().SetColor(clBlack);
    }
};

struct GraphicCase {
    const char* name;
    int col;
    TAlignment ha;
    bool selected;
    // Puts the graphic on (col, R); gives it, or one of the test's own in `own`.
    std::function<TCellGraphic*(GraphicPixels&, TCellGraphic& own)> make;
    std::uint64_t hash;
};

}  // namespace

TEST_F(GraphicPixels, EveryKindDrawsAsBefore)
{
    using F = GraphicPixels;
    auto cellGraphic = [](F& f, int c) { return f.g->GetCellGraphic(c, F::R); };
    const std::vector<GraphicCase> cases = {
        {"check off", C, taLeftJustify, false,
         [&](F& f, TCellGraphic&) { f.g->AddCheckBox(C, R, false, false); return cellGraphic(f, C); }, 0x90c8116b52aea99full},
        {"check on with text at the right", C, taRightJustify, false,
         [&](F& f, TCellGraphic&) {
             f.g->AddCheckBox(C, R, true, false);
             f.g->SetCellEx(C, R, "Done");
             return cellGraphic(f, C);
         }, 0xa1d339be4947a143ull},
        {"check on centred", C, taCenter, true,
         [&](F& f, TCellGraphic&) { f.g->AddCheckBox(C, R, true, false); return cellGraphic(f, C); }, 0x17597182a04ce143ull},
        {"check read-only", C, taLeftJustify, false,
         [&](F& f, TCellGraphic&) {
             f.g->AddCheckBox(C, R, true, false);
             f.g->readOnly.insert({C, R});
             return cellGraphic(f, C);
         }, 0xa355cdc660631263ull},
        {"check read-only without the disabled look", C, taLeftJustify, false,
         [&](F& f, TCellGraphic&) {
             f.g->AddCheckBox(C, R, true, false);
             f.g->readOnly.insert({C, R});
             f.g->ControlLook().SetNoDisabledCheckRadioLook(true);
             f.g->ControlLook().SetColor(clRed);
             return cellGraphic(f, C);
         }, 0x55814fc1b3a5cf77ull},
        {"check glyphs", C, taLeftJustify, false,
         [&](F& f, TCellGraphic&) {
             f.g->AddCheckBox(C, R, true, false);
             f.g->ControlLook().SetControlStyle(csGlyph);
             f.g->ControlLook().SetCheckedGlyph(*f.glyph);
             return cellGraphic(f, C);
         }, 0x5ba1cc18bc402ba3ull},
        {"check glyph style without a glyph", C, taLeftJustify, false,
         [&](F& f, TCellGraphic&) {
             f.g->AddCheckBox(C, R, false, false);
             f.g->ControlLook().SetControlStyle(csGlyph);
             return cellGraphic(f, C);
         }, 0x90c8116b52aea99full},
        {"data check true", C, taLeftJustify, false,
         [&](F& f, TCellGraphic&) {
             f.g->AddCheckBox(C, R, false, true);
             f.g->SetCellEx(C, R, f.g->CheckTrueText);
             return cellGraphic(f, C);
         }, 0x83ca00297ec686c3ull},
        {"data check false", C, taLeftJustify, false,
         [&](F& f, TCellGraphic&) {
             f.g->AddCheckBox(C, R, true, true);
             f.g->SetCellEx(C, R, f.g->CheckFalseText);
             return cellGraphic(f, C);
         }, 0x90c8116b52aea99full},
        {"virtual check", C, taCenter, false,
         [&](F& f, TCellGraphic& own) {
             own.CellType = ctVirtCheckBox;
             f.g->SetCellEx(C, R, f.g->CheckTrueText);
             return &own;
         }, 0x17597182a04ce143ull},
        {"bitmap", C, taLeftJustify, false,
         [&](F& f, TCellGraphic&) { f.g->AddBitmap(C, R, f.picture.get(), false, haLeft, vaTop); return cellGraphic(f, C); }, 0x7287395ce71157b7ull},
        {"bitmap centred", C, taLeftJustify, false,
         [&](F& f, TCellGraphic&) { f.g->AddBitmap(C, R, f.picture.get(), false, haCenter, vaCenter); return cellGraphic(f, C); }, 0x7f6f7cadd46fead7ull},
        {"bitmap transparent selected", C, taLeftJustify, true,
         [&](F& f, TCellGraphic&) {
             f.g->AddBitmap(C, R, f.glyph.get(), true, haRight, vaBottom);
             f.g->SelectionColor = clYellow;
             return cellGraphic(f, C);
         }, 0xddd00756b9ae8fb3ull},
        {"bitmap before the text", C, taLeftJustify, false,
         [&](F& f, TCellGraphic&) {
             f.g->AddBitmap(C, R, f.picture.get(), false, haBeforeText, vaCenter);
             f.g->SetCellEx(C, R, "Hull");
             return cellGraphic(f, C);
         }, 0x00424e0f19380637ull},
        {"bitmap after the text", C, taRightJustify, false,
         [&](F& f, TCellGraphic&) {
             f.g->AddBitmap(C, R, f.picture.get(), false, haAfterText, vaTop);
             f.g->SetCellEx(C, R, "Keel");
             return cellGraphic(f, C);
         }, 0xa95d96faad260677ull},
        {"icon", C, taLeftJustify, false,
         [&](F& f, TCellGraphic&) { f.g->AddIcon(C, R, f.icon.get(), haLeft, vaTop); return cellGraphic(f, C); }, 0x2f2fb9527d475ea3ull},
        {"icon at the right below", C, taLeftJustify, false,
         [&](F& f, TCellGraphic&) { f.g->AddIcon(C, R, f.icon.get(), haRight, vaBottom); return cellGraphic(f, C); }, 0x6e0a1c7949c7fca3ull},
        {"image of the list", C, taLeftJustify, false,
         [&](F& f, TCellGraphic&) {
             f.g->SetImages(f.images.get());
             f.g->AddImageIdx(C, R, 1, haCenter, vaCenter);
             return cellGraphic(f, C);
         }, 0x30d4352b9d54cc2dull},
        {"image without a list", C, taLeftJustify, false,
         [&](F&, TCellGraphic& own) {
             own.CellType = ctImageList;  // a grid without a list makes none
             own.CellIndex = 1;
             return &own;
         }, 0x28d58ba53a484423ull},
        {"data image", C, taLeftJustify, false,
         [&](F& f, TCellGraphic&) {
             f.g->SetImages(f.images.get());
             f.g->AddDataImage(C, R, 1, haRight, vaTop);
             f.g->SetCellEx(C, R, "1");
             return cellGraphic(f, C);
         }, 0x043683bb057a3502ull},
        {"data image of no number", C, taLeftJustify, false,
         [&](F& f, TCellGraphic&) {
             f.g->SetImages(f.images.get());
             f.g->AddDataImage(C, R, 1, haRight, vaTop);
             f.g->SetCellEx(C, R, "x");
             return cellGraphic(f, C);
         }, 0x28d58ba53a484423ull},
        {"images across", C, taLeftJustify, false,
         [&](F& f, TCellGraphic&) {
             f.g->SetImages(f.images.get());
             f.g->AddMultiImage(C, R, 0, haLeft, vaCenter);
             for (int i : {2, 0, 7, 1}) f.g->GetCellImages(C, R)->Add(i);
             return cellGraphic(f, C);
         }, 0x68294bf98b34ce7bull},
        {"images down", C, taLeftJustify, false,
         [&](F& f, TCellGraphic&) {
             f.g->SetImages(f.images.get());
             f.g->AddMultiImage(C, R, 1, haRight, vaTop);
             for (int i : {0, 1, 2}) f.g->GetCellImages(C, R)->Add(i);
             return cellGraphic(f, C);
         }, 0x8b0a6901d4f603a0ull},
        {"picture", C, taLeftJustify, false,
         [&](F& f, TCellGraphic&) {
             f.g->AddPicture(C, R, f.pic.get(), false, noStretch, 2, haCenter, vaCenter);
             return cellGraphic(f, C);
         }, 0x352c6ca8e62f4a0bull},
        {"picture stretched", C, taLeftJustify, false,
         [&](F& f, TCellGraphic&) {
             f.g->AddPicture(C, R, f.pic.get(), false, StretchWithAspectRatio, 0, haLeft, vaTop);
             return cellGraphic(f, C);
         }, 0x08c3f12ef5ba6bc3ull},
        {"file picture", C, taLeftJustify, false,
         [&](F& f, TCellGraphic&) {
             const std::string file = f.dir.file("hull.bmp");
             f.picture->SaveToFile(file);
             f.g->CreateFilePicture(C, R, false, Stretch, 1, haLeft, vaTop)->SetFileName(file);
             return cellGraphic(f, C);
         }, 0xd8a692347ab91be3ull},
        {"radio down", C, taLeftJustify, false,
         [&](F& f, TCellGraphic&) { f.g->AddRadio(C, R, 0, 1, f.radio.get()); return cellGraphic(f, C); }, 0x610cfe58efa6677full},
        {"radio across by the text", C, taLeftJustify, true,
         [&](F& f, TCellGraphic&) {
             f.g->AddRadio(C, R, 1, -1, f.radio.get());
             f.g->SetCellEx(C, R, "Sail");
             f.g->SelectionTextColor = clRed;
             f.g->ControlLook().SetColor(clBlue);
             return cellGraphic(f, C);
         }, 0xe44f0dbe88ff7077ull},
        {"progress", C, taLeftJustify, false,
         [&](F& f, TCellGraphic&) {
             f.g->AddProgress(C, R, clNavy, clWhite);
             f.g->SetCellEx(C, R, "40");
             return cellGraphic(f, C);
         }, 0x3ab638a3119b5b49ull},
        {"progress beyond its end", C, taLeftJustify, false,
         [&](F& f, TCellGraphic&) {
             f.g->AddProgress(C, R, clGreen, clSilver);
             f.g->SetCellEx(C, R, "150");
             return cellGraphic(f, C);
         }, 0x72d6a5f22a94833bull},
        {"progress with its own text colours", C, taLeftJustify, false,
         [&](F& f, TCellGraphic&) {
             f.g->AddProgressEx(C, R, clMaroon, clYellow, clWhite, clBlue);
             f.g->SetCellEx(C, R, "70");
             return cellGraphic(f, C);
         }, 0x77612d50520ee3bbull},
        {"progress pie", C, taLeftJustify, false,
         [&](F& f, TCellGraphic&) { f.g->AddProgressPie(C, R, clRed, 35); return cellGraphic(f, C); }, 0xbaceef89c0172477ull},
        {"node open", 0, taLeftJustify, false,
         [&](F& f, TCellGraphic&) {
             f.g->AddNode(R, 2);
             return cellGraphic(f, 0);
         }, 0xcdf2fc863d85c110ull},
        {"node closed", 0, taLeftJustify, false,
         [&](F& f, TCellGraphic&) {
             f.g->AddNode(R, 2);
             f.g->ContractNode(R);
             return cellGraphic(f, 0);
         }, 0x56203c339b9b4fd0ull},
        {"button", C, taLeftJustify, false,
         [&](F& f, TCellGraphic&) {
             f.g->AddButton(C, R, 60, 22, "Go", haCenter, vaCenter);
             return cellGraphic(f, C);
         }, 0x60430615aaf9064eull},
        {"button pushed", C, taLeftJustify, false,
         [&](F& f, TCellGraphic&) {
             f.g->AddButton(C, R, 50, 20, "Run", haRight, vaBottom);
             f.g->PushButton(C, R, true);
             return cellGraphic(f, C);
         }, 0xda01309ee8ed5a51ull},
        {"button read-only and flat", C, taLeftJustify, false,
         [&](F& f, TCellGraphic&) {
             f.g->AddButton(C, R, 70, 24, "Stop", haLeft, vaTop);
             f.g->readOnly.insert({C, R});
             f.g->ControlLook().SetFlatButton(true);
             return cellGraphic(f, C);
         }, 0xa022b9673544efdfull},
        {"bit button", C, taLeftJustify, false,
         [&](F& f, TCellGraphic&) {
             f.g->AddBitButton(C, R, 80, 24, "Open", f.glyph.get(), haLeft, vaCenter);
             return cellGraphic(f, C);
         }, 0x80452d9a89132fe2ull},
        {"comment", C, taLeftJustify, false,
         [&](F& f, TCellGraphic&) { f.g->AddComment(C, R, "note"); return cellGraphic(f, C); }, 0xd1385882bdab8119ull},
        {"comment of its own colour", C, taLeftJustify, false,
         [&](F& f, TCellGraphic&) { f.g->AddColorComment(C, R, "note", clBlue); return cellGraphic(f, C); }, 0x2ad29b9ee69ba0d1ull},
        {"comment with the look's colour none", C, taLeftJustify, false,
         [&](F& f, TCellGraphic&) {
             f.g->AddComment(C, R, "note");
             f.g->ControlLook().SetCommentColor(clNone);
             return cellGraphic(f, C);
         }, 0x28d58ba53a484423ull},
    };
    for (const GraphicCase& k : cases) {
        SCOPED_TRACE(k.name);
        TearDown();
        SetUp();
        TCellGraphic own;
        TCellGraphic* gr = k.make(*this, own);
        ASSERT_NE(gr, nullptr);
        const testsupport::PixelHash h = Draw(*gr, k.col, k.ha, k.selected, k.name);
        EXPECT_PIXELS(h, k.hash, k.name);
    }
}
