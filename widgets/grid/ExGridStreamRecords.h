#pragma once
// Records of the binary cell stream. Each is a component whose published properties
// are the record's fields; the platform's component streaming writes and reads them
// (WriteComponent / ReadComponent), each record after its own "TPF0" signature. Every
// record owns the object it carries.
#include <memory>
#include <string>

#include "platform/Classes.h"

namespace base {
class TStringList;
}

namespace platform {
class TBitmap;
class TIcon;
class TPicture;
class TStream;
}

namespace grid {

class TExStringGrid;
class TCellProperties;
class TCellGraphic;
class TFilePicture;

// The header: counts, the widths and heights as comma-separated numbers, whether the
// block is the whole grid, and the writing grid's window handle.
class TGridPropIO : public platform::TComponent {
public:
    explicit TGridPropIO(platform::TComponent* AOwner) : TComponent(AOwner) {}
    int ColCount = 0, RowCount = 0;
    std::string ColWidths, RowHeights;
    bool FullGrid = false;
    int ID = 0;
    void GetPublished(platform::TPropertyList& L) override;
};

class TGridCellIO : public platform::TComponent {
public:
    explicit TGridCellIO(platform::TComponent* AOwner) : TComponent(AOwner) {}
    // 16 bits in the first writers; wider indices are written whole, not wrapped.
    int Col = 0, Row = 0;
    std::string Cell;
    bool HasProp = false;
    void GetPublished(platform::TPropertyList& L) override;
};

class TGridCellPropIO : public platform::TComponent {
public:
    explicit TGridCellPropIO(TExStringGrid* AOwner);
    ~TGridCellPropIO() override;
    TCellProperties& CellProperties() const { return *props_; }
    // A graphic record and the record of its content follow.
    bool HasGraphic = false;
    void GetPublished(platform::TPropertyList& L) override;
    // Copy the streamed look and merge state from and onto a cell's own properties.
    void TakeFrom(const TCellProperties& P);
    void ApplyTo(TCellProperties& P) const;
    // EExGridError for numbers no cell can hold.
    void Check() const;

private:
    std::unique_ptr<TCellProperties> props_;
};

// The kind and settings of a cell graphic, without the objects it refers to.
class TGridGraphicIO : public platform::TComponent {
public:
    explicit TGridGraphicIO(platform::TComponent* AOwner);
    ~TGridGraphicIO() override;
    TCellGraphic& CellGraphic() const { return *graphic_; }
    void GetPublished(platform::TPropertyList& L) override;

private:
    std::unique_ptr<TCellGraphic> graphic_;
};

class TGridBMPIO : public platform::TComponent {
public:
    explicit TGridBMPIO(platform::TComponent* AOwner);
    ~TGridBMPIO() override;
    platform::TBitmap& Bitmap() const { return *bitmap_; }
    void GetPublished(platform::TPropertyList& L) override;

private:
    std::unique_ptr<platform::TBitmap> bitmap_;
};

class TGridIconIO : public platform::TComponent {
public:
    explicit TGridIconIO(platform::TComponent* AOwner);
    ~TGridIconIO() override;
    platform::TIcon& Icon() const { return *icon_; }
    void GetPublished(platform::TPropertyList& L) override;

private:
    std::unique_ptr<platform::TIcon> icon_;
};

class TGridPicIO : public platform::TComponent {
public:
    explicit TGridPicIO(platform::TComponent* AOwner);
    ~TGridPicIO() override;
    platform::TPicture& Picture() const { return *picture_; }
    void GetPublished(platform::TPropertyList& L) override;

private:
    std::unique_ptr<platform::TPicture> picture_;
};

// A file picture: its file name and the size it had; the file is not read.
class TGridFilePicIO : public platform::TComponent {
public:
    explicit TGridFilePicIO(platform::TComponent* AOwner);
    ~TGridFilePicIO() override;
    TFilePicture& Picture() const { return *picture_; }
    void GetPublished(platform::TPropertyList& L) override;

private:
    std::unique_ptr<TFilePicture> picture_;
};

class TGridSLIO : public platform::TComponent {
public:
    explicit TGridSLIO(platform::TComponent* AOwner);
    ~TGridSLIO() override;
    base::TStringList& Strings() const { return *strings_; }
    void GetPublished(platform::TPropertyList& L) override;

private:
    std::unique_ptr<base::TStringList> strings_;
};

}  // namespace grid
