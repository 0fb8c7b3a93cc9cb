// The grid's integer lists, control list, file picture and hidden-row record.
#include "widgets/grid/ExObj.h"

#include "base/Exception.h"
#include "base/StrUtils.h"
#include "base/StringList.h"
#include "platform/graphics/Graphics.h"
#include "platform/graphics/PictureFile.h"

namespace grid {

// ---------------------------------------------------------------- TIntList

void TIntList::Check(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw base::EListError("List index out of bounds (" + std::to_string(Index) + ")");
}

int TIntList::Items(int Index) const
{
    Check(Index);
    return items_[std::size_t(Index)];
}

void TIntList::Changed()
{
    if (OnChange) OnChange(this, col_, row_);
}

void TIntList::SetItems(int Index, int Value)
{
    Check(Index);
    items_[std::size_t(Index)] = Value;
    Changed();
}

void TIntList::Add(int Value)
{
    items_.push_back(Value);
    Changed();
}

void TIntList::Delete(int Index)
{
    Check(Index);
    items_.erase(items_.begin() + Index);
    Changed();
}

void TIntList::Insert(int Index, int Value)
{
    if (Index < 0 || Index > Count()) Check(Index);
    items_.insert(items_.begin() + Index, Value);
}

int TIntList::IndexOf(int Value) const
{
    for (int i = 0; i < Count(); ++i)
        if (items_[std::size_t(i)] == Value) return i;
    return -1;
}

std::string TIntList::StrValue() const
{
    std::string s;
    for (int i = 0; i < Count(); ++i) {
        if (i) s += ',';
        s += std::to_string(items_[std::size_t(i)]);
    }
    return s;
}

void TIntList::SetStrValue(const std::string& Value)
{
    base::TStringList parts;
    parts.SetCommaText(Value);
    items_.clear();
    for (int i = 0; i < parts.Count(); ++i) Add(int(base::StrToInt(parts[i])));
}

// ---------------------------------------------------------------- TSortIndexList

void TSortIndexList::AddIndex(int ACol, bool Ascending)
{
    Add(int(unsigned(ACol & 0x7FFFFFFF) | (Ascending ? 0u : 0x80000000u)));
}

int TSortIndexList::FindIndex(int ACol) const
{
    for (int i = 0; i < Count(); ++i)
        if (SortColumns(i) == ACol) return i;
    return -1;
}

void TSortIndexList::SetSortColumns(int Index, int ACol)
{
    SetItems(Index, int((unsigned(Items(Index)) & 0x80000000u) | unsigned(ACol & 0x7FFFFFFF)));
}

void TSortIndexList::SetSortDirections(int Index, bool Ascending)
{
    const unsigned v = unsigned(Items(Index));
    SetItems(Index, int(Ascending ? v & 0x7FFFFFFFu : v | 0x80000000u));
}

void TSortIndexList::ToggleIndex(int ACol)
{
    const int i = FindIndex(ACol);
    if (i >= 0) SetItems(i, int(unsigned(Items(i)) ^ 0x80000000u));
}

// ---------------------------------------------------------------- TControlList

int TControlList::AddControl(int ACol, int ARow, platform::TControl* AControl)
{
    items_.push_back({ACol, ARow, AControl});
    return Count() - 1;
}

int TControlList::ControlIndex(int ACol, int ARow) const
{
    for (int i = 0; i < Count(); ++i)
        if (items_[std::size_t(i)].Col == ACol && items_[std::size_t(i)].Row == ARow) return i;
    return -1;
}

void TControlList::RemoveControl(int Index)
{
    if (Index >= 0 && Index < Count()) items_.erase(items_.begin() + Index);
}

// ---------------------------------------------------------------- TFilePicture

void TFilePicture::SetFileName(const std::string& Value)
{
    if (Value.empty()) {
        filename_.clear();
        width_ = height_ = 0;
        return;
    }
    platform::TPicture pic;
    pic.LoadFromFile(Value);
    filename_ = Value;
    width_ = pic.Width();
    height_ = pic.Height();
}

TFilePicture::TFilePicture() : cache_(std::make_unique<platform::TPictureFileCache>()) {}
TFilePicture::~TFilePicture() = default;

void TFilePicture::DrawPicture(platform::TCanvas& Canvas, const platform::TRect& ARect) const
{
    if (filename_.empty()) return;
    // A file that went away or no longer reads draws nothing.
    if (platform::TPicture* pic = cache_->Get(filename_)) Canvas.StretchDraw(ARect, pic->Graphic());
}

void TFilePicture::Assign(const platform::TPersistent& Source)
{
    if (auto* p = dynamic_cast<const TFilePicture*>(&Source)) {
        filename_ = p->filename_;
        width_ = p->width_;
        height_ = p->height_;
        return;
    }
    platform::TPersistent::Assign(Source);
}

// ---------------------------------------------------------------- TGridItem

TGridItem::TGridItem() : items_(std::make_unique<base::TStringList>()) {}

TGridItem::~TGridItem() { SetItems(nullptr); }

void TGridItem::SetItems(std::unique_ptr<base::TStringList> list)
{
    if (items_)
        for (int i = 0; i < items_->Count(); ++i) delete static_cast<platform::TObject*>(items_->GetObject(i));
    items_ = list ? std::move(list) : std::make_unique<base::TStringList>();
}

}  // namespace grid
