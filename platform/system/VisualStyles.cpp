#include "platform/system/VisualStyles.h"

#include <QApplication>
#include <QStyle>
#include <QStyleOption>

#include <map>
#include <mutex>
#include <set>

#include "base/StrUtils.h"
#include "platform/Private.h"

namespace platform {

namespace {

enum class ThemeClass { Button, ComboBox, Header, Progress, Spin, Window };

struct ThemeData {
    ThemeClass cls;
    HWND window;
};

constexpr HMODULE kLibraryModule = 0x5AD00000;

struct State {
    std::mutex mutex;
    bool present = true;
    int activeOverride = -1;
    std::wstring scheme;
    std::string hiddenProc;
    HRESULT nameQueryResult = S_OK;
    int loadCount = 0;
    std::set<ThemeData*> handles;
};

State& S()
{
    static State s;
    return s;
}

QStyle* DesktopStyle()
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return nullptr;
    return QApplication::style();
}

ThemeData* FromHandle(HTHEME theme)
{
    auto* d = reinterpret_cast<ThemeData*>(theme);
    std::lock_guard<std::mutex> g(S().mutex);
    return S().handles.count(d) ? d : nullptr;
}

void CopyWide(const std::wstring& s, wchar_t* buf, int size)
{
    if (!buf || size <= 0)
        return;
    std::size_t n = std::min<std::size_t>(s.size(), std::size_t(size - 1));
    s.copy(buf, n);
    buf[n] = L'\0';
}

QStyle::State ButtonState(int state)
{
    QStyle::State st = QStyle::State_Enabled | QStyle::State_Raised;
    switch (state) {
    case PBS_HOT: st |= QStyle::State_MouseOver; break;
    case PBS_PRESSED: st = (st & ~QStyle::State_Raised) | QStyle::State_Sunken; break;
    case PBS_DISABLED: st &= ~QStyle::State_Enabled; break;
    default: break;
    }
    return st;
}

void DrawBevel(QStyle* style, QPainter& p, const QRect& r, int state)
{
    QStyleOptionButton opt;
    opt.rect = r;
    opt.state = ButtonState(state);
    if (state == PBS_DEFAULTED)
        opt.features |= QStyleOptionButton::DefaultButton;
    style->drawControl(QStyle::CE_PushButtonBevel, &opt, &p, nullptr);
}

void DrawArrow(QStyle* style, QPainter& p, const QRect& r, int state, QStyle::PrimitiveElement arrow)
{
    DrawBevel(style, p, r, state);
    QStyleOption opt;
    opt.rect = r.adjusted(2, 2, -2, -2);
    opt.state = ButtonState(state);
    style->drawPrimitive(arrow, &opt, &p, nullptr);
}

void DrawPart(QStyle* style, QPainter& p, ThemeClass cls, int part, int state, const QRect& r)
{
    switch (cls) {
    case ThemeClass::Button:
        if (part == BP_RADIOBUTTON || part == BP_CHECKBOX) {
            // states 1-4 unchecked, 5-8 checked, 9-12 mixed; within each: normal, hot, pressed, disabled
            QStyleOptionButton opt;
            opt.rect = r;
            int kind = (state - 1) / 4, sub = (state - 1) % 4 + 1;
            opt.state = ButtonState(sub) & ~QStyle::State_Raised;
            opt.state |= kind == 1 ? QStyle::State_On : kind == 2 ? QStyle::State_NoChange : QStyle::State_Off;
            style->drawPrimitive(part == BP_CHECKBOX ? QStyle::PE_IndicatorCheckBox : QStyle::PE_IndicatorRadioButton,
                                 &opt, &p, nullptr);
        } else if (part == BP_GROUPBOX) {
            QStyleOptionFrame opt;
            opt.rect = r;
            opt.state = QStyle::State_Enabled;
            style->drawPrimitive(QStyle::PE_FrameGroupBox, &opt, &p, nullptr);
        } else {
            DrawBevel(style, p, r, state);
        }
        break;
    case ThemeClass::ComboBox:
        DrawArrow(style, p, r, state, QStyle::PE_IndicatorArrowDown);
        break;
    case ThemeClass::Header: {
        QStyleOptionHeader opt;
        opt.rect = r;
        opt.state = ButtonState(state) | QStyle::State_Horizontal;
        style->drawControl(QStyle::CE_HeaderSection, &opt, &p, nullptr);
        break;
    }
    case ThemeClass::Progress: {
        QStyleOptionProgressBar opt;
        opt.rect = r;
        opt.state = QStyle::State_Enabled;
        if (part == PP_BAR || part == PP_CHUNK)
            opt.state |= QStyle::State_Horizontal;
        opt.minimum = 0;
        opt.maximum = 100;
        opt.progress = (part == PP_CHUNK || part == PP_CHUNKVERT) ? 100 : 0;
        style->drawControl(opt.progress ? QStyle::CE_ProgressBarContents : QStyle::CE_ProgressBarGroove, &opt, &p,
                           nullptr);
        break;
    }
    case ThemeClass::Spin: {
        QStyle::PrimitiveElement arrow = part == SPNP_UP       ? QStyle::PE_IndicatorArrowUp
                                         : part == SPNP_DOWN   ? QStyle::PE_IndicatorArrowDown
                                         : part == SPNP_UPHORZ ? QStyle::PE_IndicatorArrowRight
                                                               : QStyle::PE_IndicatorArrowLeft;
        DrawArrow(style, p, r, state, arrow);
        break;
    }
    case ThemeClass::Window:
        p.fillRect(r, QApplication::palette().window());
        break;
    }
}

bool ParseClass(const std::wstring& list, ThemeClass& cls)
{
    static const std::map<std::string, ThemeClass> known = {
        {"button", ThemeClass::Button}, {"combobox", ThemeClass::ComboBox}, {"header", ThemeClass::Header},
        {"progress", ThemeClass::Progress}, {"spin", ThemeClass::Spin}, {"window", ThemeClass::Window},
    };
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t end = list.find(L';', start);
        if (end == std::wstring::npos)
            end = list.size();
        std::string name;
        for (std::size_t i = start; i < end; ++i)
            if (list[i] != L' ')
                name.push_back(static_cast<char>(list[i] < 128 ? list[i] : '?'));
        auto it = known.find(base::LowerCase(name));
        if (it != known.end()) {
            cls = it->second;
            return true;
        }
        start = end + 1;
    }
    return false;
}

}  // namespace

HMODULE LoadVisualStylesLibrary(const std::string& name)
{
    std::lock_guard<std::mutex> g(S().mutex);
    if (!S().present || base::LowerCase(name) != "uxtheme.dll")
        return 0;
    ++S().loadCount;
    return kLibraryModule;
}

void FreeVisualStylesLibrary(HMODULE module)
{
    std::lock_guard<std::mutex> g(S().mutex);
    if (module == kLibraryModule && S().loadCount > 0)
        --S().loadCount;
}

int VisualStylesLibraryLoadCount()
{
    std::lock_guard<std::mutex> g(S().mutex);
    return S().loadCount;
}

FARPROC GetVisualStylesProc(HMODULE module, const std::string& name)
{
#define ENTRY(fn) {#fn, reinterpret_cast<FARPROC>(&uxtheme::fn)}
    static const std::map<std::string, FARPROC> procs = {
        ENTRY(OpenThemeData), ENTRY(CloseThemeData), ENTRY(DrawThemeBackground), ENTRY(DrawThemeText),
        ENTRY(GetThemeBackgroundContentRect), ENTRY(GetThemeBackgroundExtent), ENTRY(GetThemeTextExtent),
        ENTRY(GetThemeTextMetrics), ENTRY(GetThemeBackgroundRegion), ENTRY(HitTestThemeBackground),
        ENTRY(DrawThemeEdge), ENTRY(DrawThemeIcon), ENTRY(IsThemePartDefined),
        ENTRY(IsThemeBackgroundPartiallyTransparent), ENTRY(GetThemeColor), ENTRY(GetThemeMetric),
        ENTRY(GetThemeString), ENTRY(GetThemeBool), ENTRY(GetThemeInt), ENTRY(GetThemeEnumValue),
        ENTRY(GetThemePosition), ENTRY(GetThemeFont), ENTRY(GetThemeRect), ENTRY(GetThemeMargins),
        ENTRY(GetThemeIntList), ENTRY(GetThemePartSize), ENTRY(SetWindowTheme), ENTRY(GetThemeFilename),
        ENTRY(GetThemeSysColor), ENTRY(GetThemeSysColorBrush), ENTRY(GetThemeSysBool), ENTRY(GetThemeSysSize),
        ENTRY(GetThemeSysFont), ENTRY(GetThemeSysString), ENTRY(GetThemeSysInt), ENTRY(IsThemeActive),
        ENTRY(IsAppThemed), ENTRY(GetWindowTheme), ENTRY(EnableThemeDialogTexture),
        ENTRY(IsThemeDialogTextureEnabled), ENTRY(GetThemeAppProperties), ENTRY(SetThemeAppProperties),
        ENTRY(GetCurrentThemeName), ENTRY(GetThemeDocumentationProperty), ENTRY(DrawThemeParentBackground),
        ENTRY(EnableTheming),
    };
#undef ENTRY
    if (module != kLibraryModule)
        return nullptr;
    {
        std::lock_guard<std::mutex> g(S().mutex);
        if (!S().hiddenProc.empty() && S().hiddenProc == name)
            return nullptr;
    }
    auto it = procs.find(name);
    return it == procs.end() ? nullptr : it->second;
}

void SetVisualStylesPresent(bool present)
{
    std::lock_guard<std::mutex> g(S().mutex);
    S().present = present;
}

void SetVisualStylesActiveOverride(int active)
{
    std::lock_guard<std::mutex> g(S().mutex);
    S().activeOverride = active;
}

void SetVisualStylesColorScheme(const std::wstring& name)
{
    std::lock_guard<std::mutex> g(S().mutex);
    S().scheme = name;
}

void SetVisualStylesHiddenProc(const std::string& name)
{
    std::lock_guard<std::mutex> g(S().mutex);
    S().hiddenProc = name;
}

void SetVisualStylesNameQueryResult(HRESULT hr)
{
    std::lock_guard<std::mutex> g(S().mutex);
    S().nameQueryResult = hr;
}

void ResetVisualStyles()
{
    std::lock_guard<std::mutex> g(S().mutex);
    S().present = true;
    S().activeOverride = -1;
    S().scheme.clear();
    S().hiddenProc.clear();
    S().nameQueryResult = S_OK;
}

namespace uxtheme {

BOOL IsThemeActive()
{
    int forced;
    {
        std::lock_guard<std::mutex> g(S().mutex);
        forced = S().activeOverride;
    }
    if (forced >= 0)
        return forced != 0 ? 1 : 0;
    return DesktopStyle() != nullptr ? 1 : 0;
}

BOOL IsAppThemed()
{
    return IsThemeActive();
}

HTHEME OpenThemeData(HWND hwnd, const wchar_t* classList)
{
    ThemeClass cls;
    if (!IsThemeActive() || !classList || !ParseClass(classList, cls))
        return 0;
    auto* d = new ThemeData{cls, hwnd};
    std::lock_guard<std::mutex> g(S().mutex);
    S().handles.insert(d);
    return reinterpret_cast<HTHEME>(d);
}

HRESULT CloseThemeData(HTHEME theme)
{
    auto* d = reinterpret_cast<ThemeData*>(theme);
    std::lock_guard<std::mutex> g(S().mutex);
    if (!S().handles.erase(d))
        return E_INVALIDARG;
    delete d;
    return S_OK;
}

HRESULT DrawThemeBackground(HTHEME theme, HDC dc, int part, int state, const TRect* rect, const TRect* clip)
{
    ThemeData* d = FromHandle(theme);
    if (!d || !dc || !rect)
        return E_INVALIDARG;
    QStyle* style = DesktopStyle();
    if (!style)
        return E_FAIL;
    if (IsRectEmpty(*rect))
        return S_OK;
    QPainter p;
    if (!dc->BeginDevice(p))
        return S_OK;
    QRect r = dc->ToDeviceRect(ToQRect(*rect));
    // The style draws into its own image, so that it cannot leave the clip.
    QImage part_(r.size(), QImage::Format_ARGB32_Premultiplied);
    part_.fill(Qt::transparent);
    {
        QPainter ip(&part_);
        DrawPart(style, ip, d->cls, part, state, QRect(QPoint(0, 0), r.size()));
    }
    const QRect clipBox = clip ? dc->ToDeviceRect(ToQRect(*clip)) : r;
    if (clip)
        p.setClipRect(clipBox, Qt::IntersectClip);
    p.drawImage(r.topLeft(), part_);
    QRect device = r.intersected(clipBox);
    p.end();
    dc->Drawn(device);
    return S_OK;
}

HRESULT GetCurrentThemeName(wchar_t* fileName, int fileSize, wchar_t* colorName, int colorSize, wchar_t* sizeName,
                            int sizeSize)
{
    std::wstring scheme;
    {
        std::lock_guard<std::mutex> g(S().mutex);
        if (FAILED(S().nameQueryResult))
            return S().nameQueryResult;
        scheme = S().scheme;
    }
    if (!IsThemeActive())
        return E_FAIL;
    QStyle* style = DesktopStyle();
    std::wstring styleName = style ? style->name().toStdWString() : std::wstring(L"Classic");
    if (scheme.empty())
        scheme = styleName;
    CopyWide(styleName, fileName, fileSize);
    CopyWide(scheme, colorName, colorSize);
    CopyWide(L"NormalSize", sizeName, sizeSize);
    return S_OK;
}

// Entry points no component uses answer as a theme without that property would.
HRESULT DrawThemeText(HTHEME, HDC, int, int, const wchar_t*, int, DWORD, DWORD, const TRect*) { return E_NOTIMPL; }
HRESULT GetThemeBackgroundContentRect(HTHEME, HDC, int, int, const TRect* bounds, TRect* content)
{
    if (!bounds || !content)
        return E_INVALIDARG;
    *content = *bounds;
    InflateRect(*content, -2, -2);
    return S_OK;
}
HRESULT GetThemeBackgroundExtent(HTHEME, HDC, int, int, const TRect* content, TRect* extent)
{
    if (!content || !extent)
        return E_INVALIDARG;
    *extent = *content;
    InflateRect(*extent, 2, 2);
    return S_OK;
}
HRESULT GetThemeTextExtent(HTHEME, HDC, int, int, const wchar_t*, int, DWORD, const TRect*, TRect*) { return E_NOTIMPL; }
HRESULT GetThemeTextMetrics(HTHEME, HDC, int, int, TEXTMETRICW_*) { return E_NOTIMPL; }
HRESULT GetThemeBackgroundRegion(HTHEME, HDC, int, int, const TRect*, HRGN*) { return E_NOTIMPL; }
HRESULT HitTestThemeBackground(HTHEME, HDC, int, int, DWORD, const TRect*, HRGN, TPoint, Word*) { return E_NOTIMPL; }
HRESULT DrawThemeEdge(HTHEME, HDC, int, int, const TRect*, UINT, UINT, TRect*) { return E_NOTIMPL; }
HRESULT DrawThemeIcon(HTHEME, HDC, int, int, const TRect*, HIMAGELIST, int) { return E_NOTIMPL; }
BOOL IsThemePartDefined(HTHEME theme, int part, int) { return FromHandle(theme) && part >= 1 ? 1 : 0; }
BOOL IsThemeBackgroundPartiallyTransparent(HTHEME, int, int) { return 0; }
HRESULT GetThemeColor(HTHEME, int, int, int, COLORREF*) { return E_NOTIMPL; }
HRESULT GetThemeMetric(HTHEME, HDC, int, int, int, int*) { return E_NOTIMPL; }
HRESULT GetThemeString(HTHEME, int, int, int, wchar_t*, int) { return E_NOTIMPL; }
HRESULT GetThemeBool(HTHEME, int, int, int, BOOL*) { return E_NOTIMPL; }
HRESULT GetThemeInt(HTHEME, int, int, int, int*) { return E_NOTIMPL; }
HRESULT GetThemeEnumValue(HTHEME, int, int, int, int*) { return E_NOTIMPL; }
HRESULT GetThemePosition(HTHEME, int, int, int, TPoint*) { return E_NOTIMPL; }
HRESULT GetThemeFont(HTHEME, HDC, int, int, int, LOGFONTW*) { return E_NOTIMPL; }
HRESULT GetThemeRect(HTHEME, int, int, int, TRect*) { return E_NOTIMPL; }
HRESULT GetThemeMargins(HTHEME, HDC, int, int, int, TRect*, MARGINS*) { return E_NOTIMPL; }
HRESULT GetThemeIntList(HTHEME, int, int, int, INTLIST*) { return E_NOTIMPL; }
HRESULT GetThemePartSize(HTHEME theme, HDC, int, int, TRect* rect, THEMESIZE, TSize* result)
{
    if (!FromHandle(theme) || !result)
        return E_INVALIDARG;
    *result = rect ? TSize{rect->Width(), rect->Height()} : TSize{13, 13};
    return S_OK;
}
HRESULT SetWindowTheme(HWND, const wchar_t*, const wchar_t*) { return S_OK; }
HRESULT GetThemeFilename(HTHEME, int, int, int, wchar_t*, int) { return E_NOTIMPL; }
COLORREF GetThemeSysColor(HTHEME, int colorId) { return GetSysColor(colorId); }
HBRUSH GetThemeSysColorBrush(HTHEME, int) { return 0; }
BOOL GetThemeSysBool(HTHEME, int) { return 0; }
int GetThemeSysSize(HTHEME, int) { return 0; }
HRESULT GetThemeSysFont(HTHEME, int, LOGFONTW*) { return E_NOTIMPL; }
HRESULT GetThemeSysString(HTHEME, int, wchar_t*, int) { return E_NOTIMPL; }
HRESULT GetThemeSysInt(HTHEME, int, int*) { return E_NOTIMPL; }
HTHEME GetWindowTheme(HWND) { return 0; }
HRESULT EnableThemeDialogTexture(HWND, DWORD) { return S_OK; }
BOOL IsThemeDialogTextureEnabled(HWND) { return 0; }
DWORD GetThemeAppProperties() { return IsThemeActive() ? 3 : 0; }
void SetThemeAppProperties(DWORD) {}
HRESULT GetThemeDocumentationProperty(const wchar_t*, const wchar_t*, wchar_t*, int) { return E_NOTIMPL; }
HRESULT DrawThemeParentBackground(HWND, HDC, TRect*) { return E_NOTIMPL; }
HRESULT EnableTheming(BOOL) { return S_OK; }

}  // namespace uxtheme

}  // namespace platform
