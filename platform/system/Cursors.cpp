#include "platform/system/Cursors.h"

#include <QByteArray>
#include <QCursor>
#include <QImage>
#include <QPixmap>
#include <QPointer>
#include <QWidget>

#include <map>

#include "platform/Private.h"

namespace platform {

namespace {

struct LoadedCursor {
    QImage image;
    QPoint hotSpot;
};

std::map<HCURSOR, LoadedCursor> gCursors;
// Handles of the standard cursors are kStandardHandles - number; loaded ones come after.
constexpr HCURSOR kStandardHandles = 0x7F00;
HCURSOR gNextCursor = 0x10000;
std::map<TCursor, HCURSOR> gTable;
QPointer<QWidget> gCursorTarget;

// The host's picture of each standard cursor; the drag cursors keep apart what the
// drag shows (one item, several, nowhere to drop).
const struct {
    TCursor cursor;
    Qt::CursorShape shape;
} kStandard[] = {
    {crNone, Qt::BlankCursor},         {crArrow, Qt::ArrowCursor},         {crCross, Qt::CrossCursor},
    {crIBeam, Qt::IBeamCursor},        {crSizeNESW, Qt::SizeBDiagCursor},  {crSizeNS, Qt::SizeVerCursor},
    {crSizeNWSE, Qt::SizeFDiagCursor}, {crSizeWE, Qt::SizeHorCursor},      {crUpArrow, Qt::UpArrowCursor},
    {crHourGlass, Qt::WaitCursor},     {crDrag, Qt::DragMoveCursor},       {crNoDrop, Qt::ForbiddenCursor},
    {crHSplit, Qt::SplitHCursor},      {crVSplit, Qt::SplitVCursor},       {crMultiDrag, Qt::DragCopyCursor},
    {crSQLWait, Qt::WaitCursor},       {crNo, Qt::ForbiddenCursor},        {crAppStart, Qt::BusyCursor},
    {crHelp, Qt::WhatsThisCursor},     {crHandPoint, Qt::PointingHandCursor}, {crSizeAll, Qt::SizeAllCursor},
};

const struct {
    Qt::CursorShape shape;
    const char* name;
} kShapeNames[] = {
    {Qt::ArrowCursor, "arrow"},         {Qt::BlankCursor, "blank"},        {Qt::CrossCursor, "cross"},
    {Qt::IBeamCursor, "ibeam"},         {Qt::SizeBDiagCursor, "size-nesw"}, {Qt::SizeVerCursor, "size-ns"},
    {Qt::SizeFDiagCursor, "size-nwse"}, {Qt::SizeHorCursor, "size-we"},    {Qt::UpArrowCursor, "up-arrow"},
    {Qt::WaitCursor, "wait"},           {Qt::BusyCursor, "busy"},          {Qt::DragMoveCursor, "drag"},
    {Qt::DragCopyCursor, "multi-drag"}, {Qt::ForbiddenCursor, "no"},       {Qt::SplitHCursor, "hsplit"},
    {Qt::SplitVCursor, "vsplit"},       {Qt::WhatsThisCursor, "help"},     {Qt::PointingHandCursor, "hand"},
    {Qt::SizeAllCursor, "size-all"},
};

unsigned U16(const std::string& d, size_t at) { return unsigned((unsigned char)d[at]) | unsigned((unsigned char)d[at + 1]) << 8; }

}  // namespace

HCURSOR LoadCursorFromData(const std::string& d)
{
    // A .cur file: reserved 0, type 2, image count, then entries of 16 bytes whose
    // 5th to 8th bytes hold the hot spot.
    if (d.size() < 22 || U16(d, 0) != 0 || U16(d, 2) != 2 || U16(d, 4) == 0) return 0;
    QImage image = QImage::fromData(QByteArray(d.data(), qsizetype(d.size())), "CUR");
    if (image.isNull()) return 0;
    const QPoint hot(std::min(int(U16(d, 10)), image.width() - 1), std::min(int(U16(d, 12)), image.height() - 1));
    const HCURSOR h = gNextCursor++;
    gCursors[h] = {std::move(image), hot};
    return h;
}

HCURSOR LoadCursor(HINSTANCE instance, const std::string& name)
{
    std::string data;
    return FindResourceData(instance, RT_CURSOR, name, data) ? LoadCursorFromData(data) : 0;
}

HCURSOR LoadCursor(HINSTANCE instance, int id)
{
    std::string data;
    return FindResourceData(instance, RT_CURSOR, id, data) ? LoadCursorFromData(data) : 0;
}

bool DestroyCursor(HCURSOR cursor)
{
    if (!gCursors.erase(cursor)) return false;
    for (auto it = gTable.begin(); it != gTable.end();) it = it->second == cursor ? gTable.erase(it) : std::next(it);
    return true;
}

bool GetCursorSize(HCURSOR cursor, TSize& size, TPoint& hotSpot)
{
    auto it = gCursors.find(cursor);
    if (it == gCursors.end()) return false;
    size = {it->second.image.width(), it->second.image.height()};
    hotSpot = {it->second.hotSpot.x(), it->second.hotSpot.y()};
    return true;
}

void SetCursorHandle(TCursor index, HCURSOR cursor)
{
    if (cursor && gCursors.count(cursor)) gTable[index] = cursor;
    else gTable.erase(index);
}

HCURSOR CursorHandle(TCursor index)
{
    auto it = gTable.find(index);
    if (it != gTable.end()) return it->second;
    for (const auto& s : kStandard)
        if (s.cursor == index) return kStandardHandles - HCURSOR(-index);
    return kStandardHandles - HCURSOR(-crArrow);
}

QCursor CursorOf(HCURSOR h)
{
    auto it = gCursors.find(h);
    if (it != gCursors.end()) return QCursor(QPixmap::fromImage(it->second.image), it->second.hotSpot.x(), it->second.hotSpot.y());
    for (const auto& s : kStandard)
        if (kStandardHandles - HCURSOR(-s.cursor) == h) return QCursor(s.shape);
    return QCursor(Qt::ArrowCursor);
}

QCursor CursorFor(TCursor c) { return CursorOf(CursorHandle(c)); }

void SetCursorTarget(QWidget* w) { gCursorTarget = w; }

void SetCursor(HCURSOR cursor)
{
    if (gCursorTarget) gCursorTarget->setCursor(cursor ? CursorOf(cursor) : QCursor(Qt::BlankCursor));
}

std::string DescribeCursor(const QCursor& c)
{
    if (c.shape() == Qt::BitmapCursor) {
        const QPixmap p = c.pixmap();
        const QPoint h = c.hotSpot();
        return "bitmap " + std::to_string(p.width()) + "x" + std::to_string(p.height()) + " hot " +
               std::to_string(h.x()) + "," + std::to_string(h.y());
    }
    for (const auto& n : kShapeNames)
        if (n.shape == c.shape()) return n.name;
    return "shape " + std::to_string(int(c.shape()));
}

}  // namespace platform
