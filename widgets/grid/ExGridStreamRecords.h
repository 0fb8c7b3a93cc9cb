#pragma once
// Records of the binary cell stream. Write appends a record; Read takes the record at
// Pos, checks every field against the data and advances Pos; bad data raises
// EExGridError with the record and Pos unchanged.
#include <cstddef>
#include <memory>
#include <string>

namespace base {
class TStringList;
}

namespace platform {
class TBitmap;
class TPicture;
}

namespace grid {

class TExStringGrid;
class TCellProperties;
class TCellGraphic;
class TFilePicture;

class TGridCellIO {
public:
    explicit TGridCellIO(TExStringGrid* AOwner) : owner_(AOwner) {}
    int Col = 0, Row = 0;
    std::string Cell;
    bool HasProp = false;
    void Write(std::string& Out) const;
    // False when no cell record starts at Pos.
    bool Read(const std::string& Data, size_t& Pos);
    TExStringGrid* Owner() const { return owner_; }

private:
    TExStringGrid* owner_;
};

class TGridCellPropIO {
public:
    explicit TGridCellPropIO(TExStringGrid* AOwner);
    ~TGridCellPropIO();
    TCellProperties& CellProperties() const { return *props_; }
    // A graphic record and the record of its content follow.
    bool HasGraphic = false;
    void Write(std::string& Out) const;
    // Streams of the first version carry no graphic flag.
    void Read(const std::string& Data, size_t& Pos, bool WithGraphicFlag = true);
    // Copy the streamed look and merge state from and onto a cell's own properties.
    void TakeFrom(const TCellProperties& P);
    void ApplyTo(TCellProperties& P) const;

private:
    std::unique_ptr<TCellProperties> props_;
};

// The kind and settings of a cell graphic, without the objects it refers to.
class TGridGraphicIO {
public:
    explicit TGridGraphicIO(TExStringGrid* AOwner);
    ~TGridGraphicIO();
    TCellGraphic& CellGraphic() const { return *graphic_; }
    void Write(std::string& Out) const;
    void Read(const std::string& Data, size_t& Pos);

private:
    std::unique_ptr<TCellGraphic> graphic_;
};

// A bitmap, pixel for pixel with its alpha and transparency settings.
class TGridBMPIO {
public:
    explicit TGridBMPIO(TExStringGrid* AOwner);
    ~TGridBMPIO();
    platform::TBitmap& Bitmap() const { return *bitmap_; }
    void Write(std::string& Out) const;
    void Read(const std::string& Data, size_t& Pos);

private:
    std::unique_ptr<platform::TBitmap> bitmap_;
};

// A picture: empty, a bitmap or a metafile.
class TGridPicIO {
public:
    explicit TGridPicIO(TExStringGrid* AOwner);
    ~TGridPicIO();
    platform::TPicture& Picture() const { return *picture_; }
    void Write(std::string& Out) const;
    void Read(const std::string& Data, size_t& Pos);

private:
    std::unique_ptr<platform::TPicture> picture_;
};

// A file picture: its file name and the size it had; the file is not read.
class TGridFilePicIO {
public:
    explicit TGridFilePicIO(TExStringGrid* AOwner);
    ~TGridFilePicIO();
    TFilePicture& Picture() const { return *picture_; }
    void Write(std::string& Out) const;
    void Read(const std::string& Data, size_t& Pos);

private:
    std::unique_ptr<TFilePicture> picture_;
};

class TGridSLIO {
public:
    explicit TGridSLIO(TExStringGrid* AOwner);
    ~TGridSLIO();
    base::TStringList& Strings() const { return *strings_; }
    void Write(std::string& Out) const;
    void Read(const std::string& Data, size_t& Pos);

private:
    std::unique_ptr<base::TStringList> strings_;
};

}  // namespace grid
