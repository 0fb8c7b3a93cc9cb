// The grid's option objects.
#include "widgets/grid/GridOptions.h"

#include "base/Exception.h"
#include "platform/controls/Controls.h"
#include "platform/graphics/Graphics.h"

namespace grid {

using platform::TBitmap;

void TGridOption::Changed() const
{
    if (grid_) grid_->Invalidate();
}

// ---------------------------------------------------------------- TBackGround

TBackGround::TBackGround(platform::TControl* AGrid) : TGridOption(AGrid), bitmap_(std::make_unique<TBitmap>()) {}
TBackGround::~TBackGround() = default;

void TBackGround::SetBitmap(const TBitmap& b)
{
    bitmap_->Assign(b);
    Changed();
}

// ---------------------------------------------------------------- TBands

void TBands::ChangedIfActive() const
{
    if (active_) Changed();
}

void TBands::SetPrimaryColor(platform::TColor v)
{
    primaryColor_ = v;
    ChangedIfActive();
}

void TBands::SetSecondaryColor(platform::TColor v)
{
    secondaryColor_ = v;
    ChangedIfActive();
}

void TBands::SetPrimaryLength(int v)
{
    primaryLength_ = v;
    ChangedIfActive();
}

void TBands::SetSecondaryLength(int v)
{
    secondaryLength_ = v;
    ChangedIfActive();
}

// ---------------------------------------------------------------- TControlLook

TControlLook::TControlLook(platform::TControl* AGrid) : TGridOption(AGrid)
{
    for (auto& g : glyphs_) g = std::make_unique<TBitmap>();
}
TControlLook::~TControlLook() = default;

void TControlLook::SetGlyph(int i, const TBitmap& b)
{
    glyphs_[i]->Assign(b);
    Changed();
}

// ---------------------------------------------------------------- TSortSettings

TSortSettings::TSortSettings(platform::TControl* AGrid, std::function<int()> fixedRows)
    : TGridOption(AGrid), fixedRows_(std::move(fixedRows))
{
    for (auto& g : glyphs_) g = std::make_unique<TBitmap>();
}
TSortSettings::~TSortSettings() = default;

void TSortSettings::SetShow(bool v)
{
    if (show_ == v) return;
    Store(show_, v);
}

void TSortSettings::SetSortRow(int v)
{
    if (fixedRows_ && v >= fixedRows_())
        throw base::Exception("Sort row should be smaller than number of fixed rows");
    row_ = v;
}

// ---------------------------------------------------------------- TFilter

TFilterData& TFilter::Add()
{
    items_.push_back(std::make_unique<TFilterData>());
    return *items_.back();
}

TFilterData& TFilter::Items(int Index)
{
    if (Index < 0 || Index >= Count())
        throw base::EListError("List index out of bounds (" + std::to_string(Index) + ")");
    return *items_[std::size_t(Index)];
}

TFilterData& TFilter::GetColFilter(int Col)
{
    for (auto& f : items_)
        if (f->Column == Col) return *f;
    TFilterData& f = Add();
    f.Column = short(Col);
    return f;
}

// ---------------------------------------------------------------- TCellNode

TCellNode::TCellNode(platform::TControl* AGrid)
    : TGridOption(AGrid), expand_(std::make_unique<TBitmap>()), contract_(std::make_unique<TBitmap>())
{
}
TCellNode::~TCellNode() = default;

void TCellNode::SetNodeType(TNodeType v) { Update(nodeType_, v); }
void TCellNode::SetShowTree(bool v) { Update(showTree_, v); }
void TCellNode::SetShowTreeFull(bool v) { Update(showTreeFull_, v); }
void TCellNode::SetNodeIndent(int v) { Update(nodeIndent_, v); }
void TCellNode::SetTreeColor(platform::TColor v) { Update(treeColor_, v); }

// ---------------------------------------------------------------- TColumnSize

void TColumnSize::SetStretch(bool v)
{
    stretch_ = v;
    if (onStretch_) onStretch_();
}

}  // namespace grid
