#pragma once
// World data of the plot control: rectangles, points, point series and the series list.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace plot {

// World values keep the host's extended precision (x87 80-bit on x86-64 Linux).
using Extended = long double;
using TColor = std::uint32_t;

struct TRect2D {
    Extended x1 = 0;
    Extended y1 = 0;
    Extended x2 = 0;
    Extended y2 = 0;
};

TRect2D Rect2D(Extended x1, Extended y1, Extended x2, Extended y2);

struct TPoint2D {
    Extended x = 0;
    Extended y = 0;
};

using PPoint2DArray = TPoint2D*;

enum TDrawStyle : std::uint8_t { dsLines = 0, dsPoints = 1, dsNumber = 2 };

// Bounds that stand for an unbounded function domain.
inline constexpr Extended UnboundedDomain = 1.1e4932L;

// One series: points kept in ascending x (Add) or in arrival order (AddSimple),
// or a function text, with its drawing attributes.
class TPoints {
public:
    TPoints() = default;
    TPoints(const TPoints&) = delete;
    TPoints& operator=(const TPoints&) = delete;

    void Add(Extended X, Extended Y);
    void AddSimple(Extended X, Extended Y);
    TPoint2D GetPoints(int Index) const;  // Exception with an empty message when out of range
    void Delete(int Index);               // Exception "Index is greater than Count!"
    void Clear();

    int AllocBy() const { return allocBy_; }
    void SetAllocBy(int Value);
    int Count() const { return count_; }
    int Capacity() const { return capacity_; }
    // The first Count points, contiguous; null when nothing is allocated.
    const TPoint2D* Points() const { return points_.empty() ? nullptr : points_.data(); }

    TColor Color() const { return color_; }
    void SetColor(TColor Value);
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& Value);
    const std::string& Func() const { return func_; }
    const std::string& FilteredFunc() const { return filteredFunc_; }
    void SetFunc(const std::string& Value);
    TDrawStyle DrawStyle() const { return drawStyle_; }
    void SetDrawStyle(TDrawStyle Value);
    bool Visible() const { return visible_; }
    void SetVisible(bool Value);
    char PointSymbol() const { return pointSymbol_; }
    void SetPointSymbol(char Value);
    Extended FuncDomX1() const { return funcDomX1_; }
    void SetFuncDomX1(Extended Value);
    Extended FuncDomX2() const { return funcDomX2_; }
    void SetFuncDomX2(Extended Value);

    std::function<void(TPoints& Sender)> OnChange;

private:
    void Changed();
    void Grow();
    void Reallocate(int newCapacity);

    int allocBy_ = 100;
    int count_ = 0;
    TColor color_ = 0x000000FF;
    std::string func_;
    Extended funcDomX1_ = -UnboundedDomain;
    Extended funcDomX2_ = UnboundedDomain;
    std::string caption_;
    std::vector<TPoint2D> points_;  // exactly Capacity slots
    char pointSymbol_ = 0;
    TDrawStyle drawStyle_ = dsLines;
    bool visible_ = true;
    std::string filteredFunc_;
    int capacity_ = 0;
};

// The owned, ordered series of one control; the last is drawn on top.
class TSeries {
public:
    TSeries() = default;
    ~TSeries();
    TSeries(const TSeries&) = delete;
    TSeries& operator=(const TSeries&) = delete;

    int Count() const { return static_cast<int>(items_.size()); }
    void Add();
    TPoints& GetSeries(int Index) const;  // Exception with an empty message when out of range
    void Delete(int Index);               // same test
    void Clear();
    void BringToFront(int Index);
    void PointsChange(TPoints& Sender);
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }

    std::function<void(TSeries& Sender)> OnChange;

private:
    void Changed();

    std::vector<TPoints*> items_;
    bool changed_ = false;
    int updateCount_ = 0;
};

}  // namespace plot
