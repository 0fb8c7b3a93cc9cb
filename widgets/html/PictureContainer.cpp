#include "widgets/html/PictureContainer.h"

#include <fstream>
#include <iterator>
#include <new>
#include <sstream>

#include "platform/graphics/GDI.h"
#include "platform/graphics/ImageDecoder.h"
#include "platform/graphics/PictureFile.h"
#include "widgets/html/OwnedItems.h"
#include "widgets/html/VersionText.h"

namespace html {

namespace {

// The platform's MulDiv: a * b / c rounded half away from zero; -1 when c is 0.
int MulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    long long n = static_cast<long long>(a) * b;
    long long q = (2 * (n < 0 ? -n : n) + (c < 0 ? -c : c)) / (2 * static_cast<long long>(c < 0 ? -c : c));
    return static_cast<int>(((n < 0) != (c < 0)) ? -q : q);
}

// 16-bit little-endian value; bytes past the data read as 0.
std::uint16_t Word16(const std::string& d, std::size_t at)
{
    auto byte = [&](std::size_t i) -> unsigned { return i < d.size() ? static_cast<unsigned char>(d[i]) : 0u; };
    return static_cast<std::uint16_t>(byte(at) | (byte(at + 1) << 8));
}

// Offsets of the frame markers: a Graphic Control Extension right before an image
// descriptor, with at least ten bytes from the marker on.
std::vector<std::size_t> FrameMarkers(const std::string& d)
{
    std::vector<std::size_t> markers;
    for (std::size_t p = 0; p + 9 < d.size(); ++p) {
        if (static_cast<unsigned char>(d[p]) == 0x21 && static_cast<unsigned char>(d[p + 1]) == 0xF9 &&
            static_cast<unsigned char>(d[p + 2]) == 0x04 && static_cast<unsigned char>(d[p + 8]) == 0x2C)
            markers.push_back(p);
    }
    return markers;
}

std::string ReadAll(std::istream& s)
{
    s.clear();
    s.seekg(0, std::ios::beg);
    return std::string(std::istreambuf_iterator<char>(s), std::istreambuf_iterator<char>());
}

std::string Upper(std::string s)
{
    for (char& c : s)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return s;
}

bool StartsWith(const std::string& s, const char* prefix)
{
    return s.rfind(prefix, 0) == 0;
}

}  // namespace

// --- THTMLPicture ---

THTMLPicture::THTMLPicture() = default;
THTMLPicture::~THTMLPicture() = default;

void THTMLPicture::ResetState()
{
    empty_ = true;
    olePicture_.reset();
    frameCount_ = -1;
    nextFrameTime_ = -1;
    stepCount_ = -1;
}

void THTMLPicture::Assign(const platform::TPersistent& Source)
{
    Assign(&Source);
}

void THTMLPicture::Assign(const platform::TPersistent* Source)
{
    ResetState();
    const auto* other = dynamic_cast<const THTMLPicture*>(Source);
    // The new bytes go in before the frame is reset, so that its decode counts their
    // frames, not those of the bytes being replaced, and cannot fail on the old ones.
    if (!Source) {
        imageData_.clear();
    } else if (other) {
        if (other != this)
            imageData_ = other->imageData_;
        // A picture without bytes copies as an empty one; there is nothing to decode.
        empty_ = imageData_.empty();
    }
    SetFrame(1);
    if (other)
        Changed();
}

void THTMLPicture::Draw(platform::TCanvas& Canvas, const platform::TRect& Rect)
{
    if (empty_ || !olePicture_)
        return;
    platform::HDC dc = Canvas.Handle();
    if (stretch_) {
        olePicture_->Draw(dc, Rect);
        return;
    }
    int w = MulDiv(olePicture_->HimetricWidth(), platform::GetDeviceCaps(dc, platform::LOGPIXELSX), 2540);
    int h = MulDiv(olePicture_->HimetricHeight(), platform::GetDeviceCaps(dc, platform::LOGPIXELSY), 2540);
    olePicture_->Draw(dc, platform::Bounds(Rect.Left, Rect.Top, w, h));
}

bool THTMLPicture::GetEmpty() const
{
    return empty_;
}

int THTMLPicture::GetWidth() const
{
    return olePicture_ ? MulDiv(olePicture_->HimetricWidth(), PixelsPerInchX, 2540) : 0;
}

int THTMLPicture::GetHeight() const
{
    return olePicture_ ? MulDiv(olePicture_->HimetricHeight(), PixelsPerInchY, 2540) : 0;
}

int THTMLPicture::GetMaxWidth() const
{
    if (!olePicture_)
        return 0;
    return logicalWidth_ != 0 ? logicalWidth_ : GetWidth();
}

int THTMLPicture::GetMaxHeight() const
{
    if (!olePicture_)
        return 0;
    return logicalHeight_ != 0 ? logicalHeight_ : GetHeight();
}

void THTMLPicture::LoadFromFile(const std::string& FileName)
{
    try {
        imageData_ = platform::ReadPictureFile(FileName);
        empty_ = false;
        Decode();
        Changed();
    } catch (...) {
        empty_ = true;
    }
}

void THTMLPicture::ReadBytes(std::istream& Stream)
{
    imageData_ = ReadAll(Stream);
    empty_ = false;
    Decode();
}

void THTMLPicture::LoadFromStream(std::istream& Stream)
{
    ReadBytes(Stream);
    Changed();
}

void THTMLPicture::LoadFromStream(std::istream* Stream)
{
    if (Stream)
        LoadFromStream(*Stream);
}

void THTMLPicture::SaveToStream(std::ostream& Stream) const
{
    Stream.write(imageData_.data(), static_cast<std::streamsize>(imageData_.size()));
}

void THTMLPicture::SaveToStream(std::ostream* Stream) const
{
    if (Stream)
        SaveToStream(*Stream);
}

void THTMLPicture::ReadData(std::istream& Stream)
{
    ReadBytes(Stream);
}

void THTMLPicture::WriteData(std::ostream& Stream) const
{
    SaveToStream(Stream);
}

void THTMLPicture::LoadFromResourceName(platform::HINSTANCE Instance, const std::string& Name)
{
    std::string data;
    if (!platform::FindResourceData(Instance, platform::RT_RCDATA, Name, data))
        return;
    std::istringstream s(data);
    LoadFromStream(s);
}

void THTMLPicture::LoadFromResourceID(platform::HINSTANCE Instance, int ResID)
{
    std::istringstream s(platform::LoadResourceData(Instance, platform::RT_RCDATA, ResID));
    LoadFromStream(s);
}

void THTMLPicture::LoadFromURL(const std::string& URL)
{
    const std::string upper = Upper(URL);
    if (StartsWith(upper, "RES://")) {
        sourceURL_ = URL;
        std::string name = URL.substr(6);
        if (!name.empty())
            LoadFromResourceName(platform::HInstance(), name);
    } else if (StartsWith(upper, "FILE://")) {
        sourceURL_ = URL;
        std::string path = URL.substr(7);
        if (!path.empty())
            LoadFromFile(path);
    } else if (!BackgroundDownload) {
        downloadURL_ = URL;
        sourceURL_ = URL;
    } else if (!downloadBusy_) {
        downloadURL_ = URL;
        downloadBusy_ = true;
        TDownLoadThread::Launch(this);
    }
}

bool THTMLPicture::IsGIFFile() const
{
    return imageData_.size() > 4 && imageData_.compare(0, 4, "GIF8") == 0;
}

int THTMLPicture::GetFrameCount()
{
    if (frameCount_ != -1)
        return frameCount_;
    if (!IsGIFFile())
        return -1;
    frameCount_ = static_cast<int>(FrameMarkers(imageData_).size());
    return frameCount_;
}

int THTMLPicture::GetFrameTime(int Index) const
{
    if (!IsGIFFile() || Index < 1)
        return -1;
    std::vector<std::size_t> markers = FrameMarkers(imageData_);
    if (static_cast<std::size_t>(Index) > markers.size())
        return -1;
    return Word16(imageData_, markers[static_cast<std::size_t>(Index) - 1] + 4);
}

void THTMLPicture::Decode()
{
    std::string block;
    try {
        block.reserve(imageData_.size());
    } catch (const std::bad_alloc&) {
        throw base::Exception("Could not allocate memory for image");
    }
    frameLeft_ = frameTop_ = 0;
    logicalWidth_ = logicalHeight_ = 0;
    if (IsGIFFile() && GetFrameCount() > 0) {
        logicalWidth_ = Word16(imageData_, 6);
        logicalHeight_ = Word16(imageData_, 8);
        std::vector<std::size_t> markers = FrameMarkers(imageData_);
        // A count cached from earlier bytes may not match these.
        if (markers.empty())
            markers.push_back(imageData_.size());
        block.assign(imageData_, 0, markers.front());
        if (frame_ >= 1 && static_cast<std::size_t>(frame_) <= markers.size() && markers.front() < imageData_.size()) {
            std::size_t at = markers[static_cast<std::size_t>(frame_) - 1];
            block.append(imageData_, at, std::string::npos);
            frameLeft_ = Word16(imageData_, at + 9);
            frameTop_ = Word16(imageData_, at + 11);
        }
    } else {
        block = imageData_;
    }
    olePicture_.reset();
    olePicture_ = platform::ImageDecoder::Decode(block);
    if (!olePicture_)
        throw base::Exception("Could not load image. Invalid format");
}

void THTMLPicture::SetFrame(int Value)
{
    frame_ = Value;
    if (!imageData_.empty()) {
        Decode();
        if (OnFrameChange)
            OnFrameChange(this);
    }
}

void THTMLPicture::FrameNext()
{
    if (frame_ < frameCount_)
        ++frame_;
    else
        frame_ = 1;
}

void THTMLPicture::FramePrev()
{
    if (frame_ >= 2)
        --frame_;
    else
        frame_ = frameCount_;
}

bool THTMLPicture::Step()
{
    if (frameCount_ < 2 || empty_)
        return false;
    bool changed = false;
    if (nextFrameTime_ == -1)
        nextFrameTime_ = GetFrameTime(frame_);
    if (stepCount_ * 10 >= nextFrameTime_) {
        FrameNext();
        Decode();
        nextFrameTime_ += GetFrameTime(frame_);
        changed = true;
    }
    ++stepCount_;
    return changed;
}

void THTMLPicture::DownLoadProgress(std::uint32_t dwSize, std::uint32_t dwTotSize)
{
    if (OnDownLoadProgress)
        OnDownLoadProgress(this, dwSize, dwTotSize);
}

void THTMLPicture::DownLoadCancel(bool& Cancel)
{
    if (OnDownLoadCancel)
        OnDownLoadCancel(this, Cancel);
}

void THTMLPicture::DownLoadComplete()
{
    if (OnDownLoadComplete)
        OnDownLoadComplete(this);
}

void THTMLPicture::DownLoadError(const std::string& err)
{
    if (OnDownLoadError)
        OnDownLoadError(this, err);
}

// --- TDownLoadThread ---

TDownLoadThread::TDownLoadThread(THTMLPicture* picture) : platform::TThread(true), picture_(picture)
{
    FreeOnTerminate = true;
}

void TDownLoadThread::Launch(THTMLPicture* picture)
{
    (new TDownLoadThread(picture))->Start();
}

// --- THTMLPictureCache ---

THTMLPictureCache::~THTMLPictureCache()
{
    ClearPictures();
}

THTMLPicture* THTMLPictureCache::AddPicture()
{
    auto* p = new THTMLPicture();
    Add(p);
    return p;
}

THTMLPicture* THTMLPictureCache::FindPicture(const std::string& URL) const
{
    for (int i = 0; i < Count(); ++i) {
        auto* p = static_cast<THTMLPicture*>(Get(i));
        if (p && p->SourceURL() == URL)
            return p;
    }
    return nullptr;
}

THTMLPicture* THTMLPictureCache::GetPicture(int Index) const
{
    return static_cast<THTMLPicture*>(Get(Index));
}

void THTMLPictureCache::SetPicture(int Index, THTMLPicture* Picture)
{
    THTMLPicture* old = GetPicture(Index);
    Put(Index, Picture);
    if (old != Picture)
        delete old;
}

void THTMLPictureCache::ClearPictures()
{
    for (int i = 0; i < Count(); ++i)
        delete static_cast<THTMLPicture*>(Get(i));
    Clear();
}

bool THTMLPictureCache::Animate()
{
    bool changed = false;
    for (int i = 0; i < Count(); ++i) {
        auto* p = static_cast<THTMLPicture*>(Get(i));
        if (p && p->Step())
            changed = true;
    }
    return changed;
}

// --- TPictureItem ---

TPictureItem::TPictureItem(TPictureCollection* Collection)
    : picture_(std::make_unique<THTMLPicture>()), collection_(Collection)
{
}

TPictureItem::~TPictureItem() = default;

void TPictureItem::Assign(const platform::TPersistent& Source)
{
    const auto* other = dynamic_cast<const TPictureItem*>(&Source);
    if (!other)
        throw EInvalidCast("Invalid class typecast");
    if (other == this)
        return;
    Name = other->Name;
    Tag = other->Tag;
    picture_->Assign(*other->picture_);
}

int TPictureItem::Index() const
{
    return collection_ ? collection_->IndexOf(this) : -1;
}

// --- TPictureCollection ---

TPictureCollection::TPictureCollection(TPictureContainer* Owner) : owner_(Owner) {}

TPictureCollection::~TPictureCollection()
{
    Clear();
}

TPictureItem* TPictureCollection::Add()
{
    auto* item = new TPictureItem(this);
    items_.push_back(item);
    return item;
}

TPictureItem* TPictureCollection::Insert(int Index)
{
    return owneditems::InsertNew(items_, Index, [this] { return new TPictureItem(this); });
}

TPictureItem* TPictureCollection::GetItem(int Index) const
{
    return owneditems::At(items_, Index);
}

void TPictureCollection::SetItem(int Index, const TPictureItem& Value)
{
    GetItem(Index)->Assign(Value);
}

void TPictureCollection::Delete(int Index)
{
    owneditems::Delete(items_, Index);
}

void TPictureCollection::Clear()
{
    for (TPictureItem* item : items_)
        delete item;
    items_.clear();
}

int TPictureCollection::IndexOf(const TPictureItem* Item) const
{
    return owneditems::IndexOf(items_, Item);
}

bool TPictureCollection::Animate()
{
    bool changed = false;
    for (TPictureItem* item : items_)
        if (item->Picture()->Step())
            changed = true;
    return changed;
}

platform::TPersistent* TPictureCollection::GetOwner() const
{
    return owner_;
}

// --- TPictureContainer ---

TPictureContainer::TPictureContainer(platform::TComponent* AOwner)
    : platform::TComponent(AOwner), items_(new TPictureCollection(this))
{
}

TPictureContainer::~TPictureContainer()
{
    delete items_;
}

THTMLPicture* TPictureContainer::FindPicture(const std::string& Name)
{
    const std::string key = Upper(Name);
    for (int i = 0; i < items_->Count(); ++i) {
        TPictureItem* item = items_->GetItem(i);
        if (Upper(item->Name) == key)
            return item->Picture();
    }
    return nullptr;
}

void TPictureContainer::SetItems(TPictureCollection* Value)
{
    if (!Value || Value == items_)
        return;
    delete items_;
    items_ = Value;
    items_->owner_ = this;
}

std::uint32_t TPictureContainer::GetVersionNr()
{
    const std::uint32_t major = 1, minor = 0, release = 0, build = 0;
    return (major << 24) | (minor << 16) | (release << 8) | build;
}

std::string TPictureContainer::Version() const
{
    return VersionText(GetVersionNr());
}

}  // namespace html
