#include "widgets/frame/ExImage.h"

#include <fstream>
#include <iterator>
#include <sstream>

#include "base/Exception.h"
#include "platform/graphics/PictureFile.h"

namespace frame {

using namespace platform;

TExImage::TExImage() = default;
TExImage::~TExImage() = default;

void TExImage::LoadPicture()
{
    picture_.reset();
    if (data_.empty()) throw base::Exception("Empty image stream created");
    auto b = std::make_unique<TBitmap>();
    if (!b->LoadFromImageData(data_) || b->Empty()) throw base::Exception("Could not load image. Invalid format");
    picture_ = std::move(b);
}

void TExImage::LoadFromBytes(const std::string& bytes)
{
    data_ = bytes;
    empty_ = false;
    LoadPicture();
    Changed();
}

void TExImage::LoadFromStream(std::istream& s)
{
    std::string bytes((std::istreambuf_iterator<char>(s)), std::istreambuf_iterator<char>());
    LoadFromBytes(bytes);
}

void TExImage::ReadData(std::istream& s)
{
    data_.assign(std::istreambuf_iterator<char>(s), std::istreambuf_iterator<char>());
    empty_ = false;
    LoadPicture();
}

void TExImage::LoadFromFile(const std::string& fileName)
{
    try {
        std::istringstream in(platform::ReadPictureFile(fileName));
        LoadFromStream(in);
    } catch (...) {
        empty_ = true;
    }
}

void TExImage::SaveToStream(std::ostream& s) const { s.write(data_.data(), std::streamsize(data_.size())); }

void TExImage::LoadFromResourceName(HINSTANCE instance, const std::string& name)
{
    LoadFromBytes(LoadResourceData(instance, RT_RCDATA, name));
}

void TExImage::LoadFromResourceID(HINSTANCE instance, int id) { LoadFromBytes(LoadResourceData(instance, RT_RCDATA, id)); }

void TExImage::Assign(const TPersistent& source)
{
    empty_ = true;
    picture_.reset();
    auto* s = dynamic_cast<const TExImage*>(&source);
    if (!s) return;  // another kind of graphic: empty, the bytes kept, no event
    data_ = s->data_;
    empty_ = false;
    LoadPicture();
    Changed();
}

void TExImage::AssignNil()
{
    empty_ = true;
    picture_.reset();
    data_.clear();
    Changed();
}

namespace {
// As the platform's multiply-then-divide: rounded to the nearest.
int MulDiv(int a, int b, int c) { return int((static_cast<long long>(a) * b + c / 2) / c); }
}  // namespace

int TExImage::HimetricWidth() const { return picture_ ? MulDiv(picture_->Width(), 2540, 96) : 0; }
int TExImage::HimetricHeight() const { return picture_ ? MulDiv(picture_->Height(), 2540, 96) : 0; }
int TExImage::GetWidth() const { return MulDiv(HimetricWidth(), 96, 2540); }
int TExImage::GetHeight() const { return MulDiv(HimetricHeight(), 96, 2540); }

void TExImage::Draw(TCanvas& canvas, const TRect& r)
{
    if (empty_ || !picture_) return;
    canvas.StretchDraw(r, picture_.get());
}

}  // namespace frame
