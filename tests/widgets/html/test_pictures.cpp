#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/graphics/GDI.h"
#include "platform/graphics/Graphics.h"
#include "platform/graphics/ImageDecoder.h"
#include "platform/TestRig.h"
#include "platform/system/Resources.h"
#include "support/TestSupport.h"
#include "widgets/html/PictureContainer.h"
#include "widgets/html/TestImages.h"

using namespace html;
using testimages::GifFrame;

namespace {

constexpr platform::TColor kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000;

std::string ThreeFrameGif()
{
    return testimages::MakeGif(4, 3,
                               {GifFrame{0, 0, 4, 3, 20, 1}, GifFrame{1, 2, 2, 1, 30, 2}, GifFrame{0, 0, 4, 3, 40, 3}});
}

std::string WriteTemp(const testsupport::TempDir& dir, const std::string& name, const std::string& bytes)
{
    const std::string path = dir.file(name);
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

void Load(THTMLPicture& p, const std::string& bytes)
{
    std::istringstream s(bytes);
    p.LoadFromStream(s);
}

}  // namespace

TEST(HTMLPicture, InitialState)
{
    THTMLPicture p;
    EXPECT_TRUE(p.Empty());
    EXPECT_FALSE(p.Stretch());
    EXPECT_EQ(p.OlePicture(), nullptr);
    EXPECT_EQ(p.PixelsPerInchX, 96);
    EXPECT_EQ(p.PixelsPerInchY, 96);
    EXPECT_TRUE(p.BackgroundDownload);
    EXPECT_FALSE(p.DownloadBusy());
    EXPECT_EQ(p.Frame(), 1);
    EXPECT_EQ(p.FrameCount(), -1);
    EXPECT_EQ(p.NextFrameTime(), -1);
    EXPECT_EQ(p.StepCount(), -1);
    EXPECT_EQ(p.GetWidth(), 0);
    EXPECT_EQ(p.GetMaxWidth(), 0);
    EXPECT_EQ(p.GetFrameCount(), -1);
    EXPECT_FALSE(p.Step());
}

TEST(HTMLPicture, LoadsFromStreamAndFile)
{
    THTMLPicture p;
    int changes = 0;
    p.OnChange = [&](platform::TObject*) { ++changes; };
    const std::string bmp = testimages::MakeBmp(30, 20, kBlue);
    Load(p, bmp);
    EXPECT_FALSE(p.Empty());
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(p.ImageData(), bmp);
    EXPECT_EQ(p.GetWidth(), 30);
    EXPECT_EQ(p.GetHeight(), 20);
    EXPECT_EQ(p.GetMaxWidth(), 30);  // not a GIF: no logical screen
    EXPECT_EQ(p.LogicalWidth(), 0);
    EXPECT_FALSE(p.IsGIFFile());
    EXPECT_EQ(p.GetFrameCount(), -1);
    p.PixelsPerInchX = 192;
    EXPECT_EQ(p.GetWidth(), 60);

    std::ostringstream out;
    p.SaveToStream(out);
    EXPECT_EQ(out.str(), bmp);
    std::ostringstream written;
    p.WriteData(written);
    EXPECT_EQ(written.str(), bmp);

    testsupport::TempDir dir("korvelo_html");
    THTMLPicture f;
    f.LoadFromFile(WriteTemp(dir, "pic.bmp", testimages::MakeBmp(7, 3, kGreen)));
    EXPECT_FALSE(f.Empty());
    EXPECT_EQ(f.GetWidth(), 7);
    EXPECT_EQ(f.GetHeight(), 3);

    // ReadData loads without a change notice
    THTMLPicture r;
    int rChanges = 0;
    r.OnChange = [&](platform::TObject*) { ++rChanges; };
    std::istringstream s(bmp);
    r.ReadData(s);
    EXPECT_FALSE(r.Empty());
    EXPECT_EQ(r.GetWidth(), 30);
    EXPECT_EQ(rChanges, 0);
}

TEST(HTMLPicture, LoadFailures)
{
    THTMLPicture missing;
    EXPECT_NO_THROW(missing.LoadFromFile("/no/such/picture.bmp"));
    EXPECT_TRUE(missing.Empty());
    // a missing file empties a picture that held one before
    Load(missing, testimages::MakeBmp(3, 3, kRed));
    EXPECT_NO_THROW(missing.LoadFromFile("/no/such/picture.bmp"));
    EXPECT_TRUE(missing.Empty());

    testsupport::TempDir dir("korvelo_html");
    THTMLPicture damaged;
    EXPECT_NO_THROW(damaged.LoadFromFile(WriteTemp(dir, "bad.bmp", "not a picture at all")));
    EXPECT_TRUE(damaged.Empty());
    EXPECT_EQ(damaged.OlePicture(), nullptr);

    THTMLPicture streamed;
    try {
        Load(streamed, "not a picture at all");
        FAIL() << "no exception";
    } catch (const base::Exception& e) {
        EXPECT_EQ(e.Message(), "Could not load image. Invalid format");
    }
    EXPECT_FALSE(streamed.Empty());  // the flag the caller set before decoding
    EXPECT_EQ(streamed.OlePicture(), nullptr);
    EXPECT_EQ(streamed.GetWidth(), 0);

    THTMLPicture nil;
    nil.LoadFromStream(static_cast<std::istream*>(nullptr));
    EXPECT_TRUE(nil.Empty());
}

TEST(HTMLPicture, LoadsFromResources)
{
    const platform::HINSTANCE self = platform::HInstance();
    platform::RegisterResource(self, platform::RT_RCDATA, "HTMLTESTPIC", testimages::MakeBmp(9, 4, kRed));
    platform::RegisterResource(self, platform::RT_RCDATA, 9001, testimages::MakeBmp(3, 8, kRed));

    THTMLPicture byName;
    byName.LoadFromResourceName(self, "HtmlTestPic");
    EXPECT_FALSE(byName.Empty());
    EXPECT_EQ(byName.GetWidth(), 9);

    THTMLPicture none;
    none.LoadFromResourceName(self, "NoSuchPicture");
    EXPECT_TRUE(none.Empty());

    THTMLPicture byId;
    byId.LoadFromResourceID(self, 9001);
    EXPECT_EQ(byId.GetHeight(), 8);
    THTMLPicture noId;
    EXPECT_THROW(noId.LoadFromResourceID(self, 9002), platform::EResNotFound);

    struct Case {
        std::string url;
        bool loads;
        std::string source, download;
    };
    testsupport::TempDir dir("korvelo_html");
    const std::string file = WriteTemp(dir, "url.bmp", testimages::MakeBmp(5, 5, kRed));
    const std::vector<Case> cases = {
        {"RES://HTMLTESTPIC", true, "RES://HTMLTESTPIC", ""},
        {"res://htmltestpic", true, "res://htmltestpic", ""},
        {"RES://", false, "RES://", ""},
        {"RES://missing", false, "RES://missing", ""},
        {"FILE://" + file, true, "FILE://" + file, ""},
        {"file://" + file, true, "file://" + file, ""},
        {"FILE://", false, "FILE://", ""},
        {"FILE:///no/such/file.bmp", false, "FILE:///no/such/file.bmp", ""},
    };
    for (const Case& c : cases) {
        THTMLPicture p;
        p.LoadFromURL(c.url);
        EXPECT_EQ(!p.Empty(), c.loads) << c.url;
        EXPECT_EQ(p.SourceURL(), c.source) << c.url;
        EXPECT_EQ(p.DownloadURL(), c.download) << c.url;
        EXPECT_FALSE(p.DownloadBusy()) << c.url;
    }
    platform::UnregisterResource(self, platform::RT_RCDATA, "HTMLTESTPIC");
    platform::UnregisterResource(self, platform::RT_RCDATA, 9001);
}

TEST(HTMLPicture, NetworkAddressesLoadNothing)
{
    THTMLPicture recorded;
    recorded.BackgroundDownload = false;
    recorded.LoadFromURL("http://example.invalid/a.gif");
    EXPECT_TRUE(recorded.Empty());
    EXPECT_EQ(recorded.SourceURL(), "http://example.invalid/a.gif");
    EXPECT_EQ(recorded.DownloadURL(), "http://example.invalid/a.gif");
    EXPECT_FALSE(recorded.DownloadBusy());

    THTMLPicture background;
    int events = 0;
    background.OnDownLoadComplete = [&](platform::TObject*) { ++events; };
    background.OnDownLoadError = [&](platform::TObject*, const std::string&) { ++events; };
    background.LoadFromURL("http://example.invalid/a.gif");
    EXPECT_TRUE(background.DownloadBusy());
    EXPECT_EQ(background.DownloadURL(), "http://example.invalid/a.gif");
    EXPECT_EQ(background.SourceURL(), "");
    background.LoadFromURL("http://example.invalid/b.gif");  // ignored while busy
    EXPECT_EQ(background.DownloadURL(), "http://example.invalid/a.gif");
    // The download thread has ended, freed itself and loaded nothing.
    ASSERT_TRUE(platform::ProcessUntil([] { return platform::RunningThreads() == 0; }));
    EXPECT_TRUE(background.Empty());
    EXPECT_TRUE(background.DownloadBusy());
    EXPECT_EQ(events, 0);

    // the hooks raise their events when called
    bool cancel = false;
    std::string err;
    unsigned got = 0;
    background.OnDownLoadCancel = [&](platform::TObject* s, bool& c) { EXPECT_EQ(s, &background); c = true; };
    background.OnDownLoadError = [&](platform::TObject*, const std::string& e) { err = e; };
    background.OnDownLoadProgress = [&](platform::TObject*, std::uint32_t a, std::uint32_t b) { got = a + b; };
    background.DownLoadCancel(cancel);
    background.DownLoadError("boom");
    background.DownLoadProgress(3, 4);
    background.DownLoadComplete();
    EXPECT_TRUE(cancel);
    EXPECT_EQ(err, "boom");
    EXPECT_EQ(got, 7u);
    EXPECT_EQ(events, 1);
}

TEST(HTMLPicture, GifFramesAreCountedAndExtracted)
{
    struct Case {
        std::string bytes;
        bool gif;
        int frames;
    };
    const std::vector<Case> cases = {
        {ThreeFrameGif(), true, 3},
        {testimages::MakeGif(2, 2, {GifFrame{0, 0, 2, 2, 10, 1}}), true, 1},
        {testimages::MakeGif(2, 2, {GifFrame{0, 0, 2, 2, 0, 1, false}}), true, 0},
        {testimages::MakeGif(2, 2, {GifFrame{0, 0, 2, 2, 0, 1, false}}, "GIF87a"), true, 0},
        {testimages::MakeBmp(2, 2, kRed), false, -1},
    };
    for (const Case& c : cases) {
        THTMLPicture p;
        Load(p, c.bytes);
        EXPECT_EQ(p.IsGIFFile(), c.gif);
        EXPECT_EQ(p.GetFrameCount(), c.frames);
        EXPECT_EQ(p.FrameCount(), c.frames);
        EXPECT_NE(p.OlePicture(), nullptr);
        if (c.frames < 2) {
            EXPECT_FALSE(p.Step());  // nothing to animate
            EXPECT_EQ(p.StepCount(), -1);
        }
    }

    THTMLPicture tiny;
    EXPECT_THROW(Load(tiny, "GIF8"), base::Exception);  // 4 bytes are never a GIF
    EXPECT_FALSE(tiny.IsGIFFile());
    EXPECT_EQ(tiny.GetFrameCount(), -1);

    THTMLPicture p;
    int frameChanges = 0;
    p.OnFrameChange = [&](platform::TObject*) { ++frameChanges; };
    Load(p, ThreeFrameGif());
    EXPECT_EQ(p.LogicalWidth(), 4);
    EXPECT_EQ(p.LogicalHeight(), 3);
    EXPECT_EQ(p.GetMaxWidth(), 4);
    EXPECT_EQ(p.GetFrameTime(1), 20);
    EXPECT_EQ(p.GetFrameTime(2), 30);
    EXPECT_EQ(p.GetFrameTime(3), 40);
    EXPECT_EQ(p.GetFrameTime(4), -1);
    EXPECT_EQ(p.GetFrameTime(0), -1);
    EXPECT_EQ(p.OlePicture()->PixelAt(0, 0), platform::COLORREF(kRed));

    // frame 2 and what follows it reach the decoder; its offset comes from its descriptor
    p.SetFrame(2);
    EXPECT_EQ(frameChanges, 1);
    EXPECT_EQ(p.FrameLeft(), 1);
    EXPECT_EQ(p.FrameTop(), 2);
    EXPECT_EQ(p.OlePicture()->PixelAt(1, 2), platform::COLORREF(kGreen));
    p.SetFrame(3);
    EXPECT_EQ(p.FrameLeft(), 0);
    EXPECT_EQ(p.OlePicture()->PixelAt(0, 0), platform::COLORREF(kBlue));
    // beyond the count only the bytes before the first frame reach the decoder,
    // which cannot make a picture of them
    EXPECT_THROW(p.SetFrame(7), base::Exception);
    EXPECT_EQ(p.Frame(), 7);
    EXPECT_EQ(p.OlePicture(), nullptr);
    EXPECT_EQ(frameChanges, 2);
}

TEST(HTMLPicture, FrameNextPrevAndAnimationSteps)
{
    THTMLPicture p;
    Load(p, testimages::MakeGif(4, 3, {GifFrame{0, 0, 4, 3, 20, 1}, GifFrame{0, 0, 4, 3, 30, 2}}));
    ASSERT_EQ(p.GetFrameCount(), 2);
    p.FrameNext();
    EXPECT_EQ(p.Frame(), 2);
    p.FrameNext();
    EXPECT_EQ(p.Frame(), 1);
    p.FramePrev();
    EXPECT_EQ(p.Frame(), 2);
    p.FramePrev();
    EXPECT_EQ(p.Frame(), 1);

    // delays 20 and 30: changes on call 4 (StepCount 2) and call 7 (StepCount 5)
    std::vector<int> changedAt;
    for (int call = 1; call <= 12; ++call)
        if (p.Step())
            changedAt.push_back(call);
    EXPECT_EQ(changedAt, (std::vector<int>{4, 7, 9, 12}));
    EXPECT_EQ(p.StepCount(), 11);
    EXPECT_EQ(p.NextFrameTime(), 120);
    EXPECT_EQ(p.Frame(), 1);

    // Assign resets the animation state and copies the bytes
    THTMLPicture q;
    q.Assign(p);
    EXPECT_EQ(q.ImageData(), p.ImageData());
    EXPECT_FALSE(q.Empty());
    EXPECT_EQ(q.Frame(), 1);
    EXPECT_EQ(q.StepCount(), -1);
    EXPECT_EQ(q.NextFrameTime(), -1);
    EXPECT_EQ(q.FrameCount(), 2);  // counted again while decoding
    // the frames counted are those of the bytes assigned, not of those replaced
    THTMLPicture three;
    Load(three, ThreeFrameGif());
    q.Assign(three);
    EXPECT_EQ(q.FrameCount(), 3);
    EXPECT_EQ(q.OlePicture()->PixelAt(0, 0), platform::COLORREF(kRed));
    // bytes that cannot be decoded are replaced without being decoded again
    testsupport::TempDir dir("korvelo_html");
    THTMLPicture damaged;
    damaged.LoadFromFile(WriteTemp(dir, "assign_bad.gif", "GIF89a but nothing more"));
    ASSERT_TRUE(damaged.Empty());
    EXPECT_NO_THROW(damaged.Assign(three));
    EXPECT_FALSE(damaged.Empty());
    EXPECT_EQ(damaged.FrameCount(), 3);
    // a picture without bytes copies as an empty one
    THTMLPicture blank;
    EXPECT_NO_THROW(damaged.Assign(blank));
    EXPECT_TRUE(damaged.Empty());
    EXPECT_TRUE(damaged.ImageData().empty());
    EXPECT_EQ(damaged.OlePicture(), nullptr);
    q.Assign(static_cast<const platform::TPersistent*>(nullptr));
    EXPECT_TRUE(q.ImageData().empty());
    EXPECT_TRUE(q.Empty());
    EXPECT_FALSE(q.Step());
}

TEST(HTMLPicture, DrawsAtNaturalSizeOrStretched)
{
    THTMLPicture p;
    Load(p, testimages::MakeBmp(3, 2, kRed));
    platform::TBitmap bmp(20, 20);
    auto clear = [&] {
        bmp.Canvas()->Brush().SetColor(platform::clWhite);
        bmp.Canvas()->FillRect(platform::Rect(0, 0, 20, 20));
    };
    clear();
    p.Draw(*bmp.Canvas(), platform::Rect(4, 5, 19, 19));
    EXPECT_EQ(bmp.Canvas()->Pixel(4, 5), kRed);
    EXPECT_EQ(bmp.Canvas()->Pixel(6, 6), kRed);
    EXPECT_EQ(bmp.Canvas()->Pixel(7, 6), platform::clWhite);
    EXPECT_EQ(bmp.Canvas()->Pixel(6, 7), platform::clWhite);

    clear();
    p.SetStretch(true);
    p.Draw(*bmp.Canvas(), platform::Rect(4, 5, 19, 19));
    EXPECT_EQ(bmp.Canvas()->Pixel(18, 18), kRed);
    EXPECT_EQ(bmp.Canvas()->Pixel(19, 19), platform::clWhite);

    THTMLPicture empty;
    clear();
    empty.Draw(*bmp.Canvas(), platform::Rect(0, 0, 20, 20));
    EXPECT_EQ(bmp.Canvas()->Pixel(0, 0), platform::clWhite);
}

TEST(HTMLPictureCache, FindsByExactAddressAndOwnsPictures)
{
    THTMLPictureCache cache;
    EXPECT_EQ(cache.FindPicture("http://a/x.gif"), nullptr);
    THTMLPicture* a = cache.AddPicture();
    a->BackgroundDownload = false;
    a->LoadFromURL("http://a/x.gif");
    EXPECT_EQ(cache.FindPicture("http://a/x.gif"), a);
    EXPECT_EQ(cache.FindPicture("HTTP://A/X.GIF"), nullptr);  // case matters
    THTMLPicture* b = cache.AddPicture();
    b->BackgroundDownload = false;
    b->LoadFromURL("HTTP://A/X.GIF");
    EXPECT_EQ(cache.Count(), 2);
    EXPECT_EQ(cache.FindPicture("HTTP://A/X.GIF"), b);
    EXPECT_EQ(cache.GetPicture(0), a);
    EXPECT_THROW(cache.GetPicture(2), base::EListError);
    EXPECT_THROW(cache.GetPicture(-1), base::EListError);
    EXPECT_THROW(cache.SetPicture(5, nullptr), base::EListError);
    EXPECT_FALSE(cache.Animate());

    THTMLPicture* gif = cache.AddPicture();
    Load(*gif, testimages::MakeGif(2, 2, {GifFrame{0, 0, 2, 2, 0, 1}, GifFrame{0, 0, 2, 2, 0, 2}}));
    EXPECT_FALSE(cache.Animate());  // the first step counts from -1
    EXPECT_TRUE(cache.Animate());
    EXPECT_EQ(gif->Frame(), 2);

    auto* replacement = new THTMLPicture();
    cache.SetPicture(0, replacement);  // the old picture is freed with the slot
    EXPECT_EQ(cache.GetPicture(0), replacement);
    EXPECT_EQ(cache.FindPicture("http://a/x.gif"), nullptr);
    cache.SetPicture(0, replacement);

    cache.ClearPictures();
    EXPECT_EQ(cache.Count(), 0);
}

TEST(PictureContainer, FindsNamedPictures)
{
    TPictureContainer container(nullptr);
    EXPECT_EQ(container.Version(), "1.0.0.0");
    container.SetVersion("9.9");
    EXPECT_EQ(container.Version(), "1.0.0.0");
    EXPECT_EQ(container.Items()->GetOwner(), &container);

    TPictureItem* logo = container.Items()->Add();
    logo->Name = "Logo";
    std::istringstream s(testimages::MakeBmp(6, 6, kGreen));
    logo->Picture()->LoadFromStream(s);
    TPictureItem* first = container.Items()->Insert(0);
    first->Name = "logo";  // the first match in collection order wins
    TPictureItem* other = container.Items()->Add();
    other->Name = "Other";

    EXPECT_EQ(container.FindPicture("LOGO"), first->Picture());
    EXPECT_EQ(container.FindPicture("other"), other->Picture());
    EXPECT_EQ(container.FindPicture("none"), nullptr);
    EXPECT_EQ(container.FindPicture(""), nullptr);
    EXPECT_EQ(logo->Index(), 1);

    // item assignment copies name, tag and picture; other classes are refused
    logo->Tag = 5;
    container.Items()->SetItem(0, *logo);
    EXPECT_EQ(first->Name, "Logo");
    EXPECT_EQ(first->Tag, 5);
    EXPECT_EQ(first->Picture()->GetWidth(), 6);
    EXPECT_THROW(first->Assign(*logo->Picture()), EInvalidCast);
    // an item whose picture was never loaded copies too
    TPictureItem* blank = container.Items()->Add();
    blank->Name = "Blank";
    EXPECT_NO_THROW(container.Items()->SetItem(0, *blank));
    EXPECT_EQ(first->Name, "Blank");
    EXPECT_TRUE(first->Picture()->Empty());
    EXPECT_THROW(container.Items()->GetItem(4), base::EListError);

    // replacing the collection hands it to the container
    auto* replacement = new TPictureCollection(nullptr);
    replacement->Add()->Name = "New";
    container.SetItems(replacement);
    EXPECT_EQ(container.Items(), replacement);
    EXPECT_EQ(replacement->GetOwner(), &container);
    EXPECT_NE(container.FindPicture("NEW"), nullptr);
    EXPECT_EQ(container.FindPicture("Other"), nullptr);
    EXPECT_FALSE(container.Items()->Animate());
}
