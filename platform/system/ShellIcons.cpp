#include "platform/system/ShellIcons.h"

#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QStyle>

#include <map>
#include <vector>

#include "platform/Private.h"

namespace platform {
namespace {

// Icons in the order they were first asked for; both sizes share the indices.
struct SystemIcons {
    std::vector<QIcon> icons;
    std::map<std::string, int> byKind;

    int IndexOf(const std::string& kind, bool folder)
    {
        auto it = byKind.find(kind);
        if (it != byKind.end()) return it->second;
        QIcon icon;
        if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance()))
            icon = app->style()->standardIcon(folder ? QStyle::SP_DirIcon : QStyle::SP_FileIcon);
        icons.push_back(icon);
        const int index = int(icons.size()) - 1;
        byKind.emplace(kind, index);
        return index;
    }
};

SystemIcons& Icons()
{
    static SystemIcons icons;
    if (icons.icons.empty()) {
        icons.IndexOf("<file>", false);
        icons.IndexOf("<folder>", true);
    }
    return icons;
}

constexpr HIMAGELIST kLarge = 1, kSmall = 2;

int Side(HIMAGELIST list) { return list == kSmall ? 16 : list == kLarge ? 32 : 0; }

}  // namespace

HIMAGELIST SHGetFileInfo(const std::string& path, DWORD fileAttributes, SHFILEINFO* info, UINT flags)
{
    if (!(flags & SHGFI_SYSICONINDEX)) return 0;
    SystemIcons& icons = Icons();
    if (info && !path.empty()) {
        bool folder = false;
        std::string suffix;
        const QFileInfo fi(AnsiToQString(path));
        if (flags & SHGFI_USEFILEATTRIBUTES) folder = fileAttributes & FILE_ATTRIBUTE_DIRECTORY;
        else folder = fi.isDir();
        if (!folder) suffix = QStringToAnsi(fi.suffix().toLower());
        info->iIcon = folder ? icons.IndexOf("<folder>", true) : icons.IndexOf(suffix.empty() ? "<file>" : "." + suffix, false);
        info->dwAttributes = folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
    } else if (info) {
        info->iIcon = 0;
    }
    return (flags & SHGFI_SMALLICON) ? kSmall : kLarge;
}

bool ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy)
{
    const int side = Side(list);
    if (!side) return false;
    if (cx) *cx = side;
    if (cy) *cy = side;
    return true;
}

int ImageList_GetImageCount(HIMAGELIST list) { return Side(list) ? int(Icons().icons.size()) : 0; }

bool ImageList_Draw(HIMAGELIST list, int index, HDC dc, int x, int y, UINT style)
{
    const int side = Side(list);
    SystemIcons& icons = Icons();
    if (!side || !dc || index < 0 || index >= int(icons.icons.size())) return false;
    QImage img(side, side, QImage::Format_ARGB32);
    img.fill((style & ILD_TRANSPARENT) ? QColor(0, 0, 0, 0) : ToQColor(GetSysColor(COLOR_WINDOW)));
    {
        QPainter ip(&img);
        icons.icons[std::size_t(index)].paint(&ip, QRect(0, 0, side, side));
    }
    const TRect r = Bounds(x, y, side, side);
    if (dc->recorder) dc->recorder->Blt(*dc, r, img, SRCCOPY);
    QPainter p;
    if (!dc->BeginDevice(p)) return true;
    const QRect device = dc->ToDeviceRect(ToQRect(r));
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.drawImage(device, img);
    p.end();
    dc->Drawn(device);
    return true;
}

}  // namespace platform
