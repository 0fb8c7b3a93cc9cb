#pragma once
// Small objects the grid builds on: an integer list with a change event, its sort-key
// variant, the list of controls placed on cells, a picture known by its file name, and a
// record of the hidden-row store.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Classes.h"
#include "platform/Types.h"

namespace base {
class TStrings;
class TStringList;
}
namespace platform {
class TCanvas;
class TControl;
class TPictureFileCache;
}

namespace grid {

class TIntList;
using TImageChangeEvent = std::function<void(TIntList* Sender, int ACol, int ARow)>;

// 32-bit integers; Add, Delete and writing an item raise OnChange with the list's cell.
class TIntList : public platform::TObject {
public:
    TIntList(int ACol = 0, int ARow = 0) : col_(ACol), row_(ARow) {}
    int Count() const { return int(items_.size()); }
    int Items(int Index) const;  // EListError out of range
    void SetItems(int Index, int Value);
    void Add(int Value);
    void Delete(int Index);
    void Insert(int Index, int Value);  // no change event
    void Clear() { items_.clear(); }
    int IndexOf(int Value) const;
    // "3,-1,20"; writing clears the list and adds each number (EConvertError for one that is none).
    std::string StrValue() const;
    void SetStrValue(const std::string& Value);
    TImageChangeEvent OnChange;

private:
    void Changed();
    void Check(int Index) const;
    int col_, row_;
    std::vector<int> items_;
};

// Sort keys: a column in the low 31 bits, the top bit set for a descending key.
class TSortIndexList : public TIntList {
public:
    using TIntList::TIntList;
    void AddIndex(int ACol, bool Ascending);
    int FindIndex(int ACol) const;
    int SortColumns(int Index) const { return Items(Index) & 0x7FFFFFFF; }
    void SetSortColumns(int Index, int ACol);
    // True for a descending key.
    bool SortDirections(int Index) const { return (unsigned(Items(Index)) & 0x80000000u) != 0; }
    void SetSortDirections(int Index, bool Ascending);
    void ToggleIndex(int ACol);
};

struct TControlItem {
    int Col = 0, Row = 0;
    platform::TControl* Control = nullptr;
};

// The controls placed on cells; the list owns its items, not the controls.
class TControlList {
public:
    int AddControl(int ACol, int ARow, platform::TControl* AControl);
    int ControlIndex(int ACol, int ARow) const;
    TControlItem& GetControl(int Index) { return items_.at(std::size_t(Index)); }
    int Count() const { return int(items_.size()); }
    void RemoveControl(int Index);

private:
    std::vector<TControlItem> items_;
};

// A picture known by its file name, read when first drawn and again only when the file
// changes.
class TFilePicture : public platform::TPersistent {
public:
    TFilePicture();
    ~TFilePicture() override;
    const std::string& Filename() const { return filename_; }
    // Reads the file for its size; a file that cannot be read raises and changes nothing.
    void SetFileName(const std::string& Value);
    int Width() const { return width_; }
    int Height() const { return height_; }
    void DrawPicture(platform::TCanvas& Canvas, const platform::TRect& ARect) const;
    void Assign(const platform::TPersistent& Source) override;
    // Filename, Width and Height; a stream restores them without reading the file.
    void GetPublished(platform::TPropertyList& L) override;

private:
    std::string filename_;
    int width_ = 0, height_ = 0;
    std::unique_ptr<platform::TPictureFileCache> cache_;
};

// One hidden row: its real index, height and the cell texts of every real column, each
// with its cell's properties in the object slot (owned by the record).
class TGridItem {
public:
    TGridItem();
    ~TGridItem();
    int Idx = 0;
    int Height = 0;
    base::TStringList& Items() { return *items_; }
    // Takes ownership of the list (the old one is freed).
    void SetItems(std::unique_ptr<base::TStringList> list);

private:
    std::unique_ptr<base::TStringList> items_;
};

}  // namespace grid
