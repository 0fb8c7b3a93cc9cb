#include <QGuiApplication>
#include <QPalette>

#include <chrono>
#include <map>
#include <mutex>

#include "platform/Classes.h"
#include "platform/Private.h"

namespace platform {

bool IntersectRect(TRect& out, const TRect& a, const TRect& b)
{
    out = {std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right), std::min(a.Bottom, b.Bottom)};
    if (IsRectEmpty(out)) {
        out = {};
        return false;
    }
    return true;
}

bool UnionRect(TRect& out, const TRect& a, const TRect& b)
{
    if (IsRectEmpty(a)) out = b;
    else if (IsRectEmpty(b)) out = a;
    else out = {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right), std::max(a.Bottom, b.Bottom)};
    if (IsRectEmpty(out)) {
        out = {};
        return false;
    }
    return true;
}

namespace {

// The classic palette, used before the host application exists.
const COLORREF kClassic[COLOR_ENDCOLORS] = {
    RGB(212, 208, 200), RGB(58, 110, 165), RGB(10, 36, 106), RGB(128, 128, 128), RGB(212, 208, 200),
    RGB(255, 255, 255), RGB(0, 0, 0), RGB(0, 0, 0), RGB(0, 0, 0), RGB(255, 255, 255), RGB(212, 208, 200),
    RGB(212, 208, 200), RGB(128, 128, 128), RGB(10, 36, 106), RGB(255, 255, 255), RGB(212, 208, 200),
    RGB(128, 128, 128), RGB(128, 128, 128), RGB(0, 0, 0), RGB(212, 208, 200), RGB(255, 255, 255),
    RGB(64, 64, 64), RGB(212, 208, 200), RGB(0, 0, 0), RGB(255, 255, 225), RGB(181, 181, 181),
    RGB(0, 0, 128), RGB(166, 202, 240), RGB(192, 192, 192), RGB(49, 106, 197), RGB(236, 233, 216)};

std::mutex gColorMutex;
std::map<int, COLORREF> gOverrides;

}  // namespace

COLORREF GetSysColor(int index)
{
    if (index < 0 || index >= COLOR_ENDCOLORS) return 0;
    {
        std::lock_guard lock(gColorMutex);
        auto it = gOverrides.find(index);
        if (it != gOverrides.end()) return it->second;
    }
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return kClassic[index];
    const QPalette pal = QGuiApplication::palette();
    auto c = [&](QPalette::ColorRole role) { return FromQRgb(pal.color(QPalette::Active, role).rgb()); };
    switch (index) {
    case COLOR_WINDOW: return c(QPalette::Base);
    case COLOR_WINDOWTEXT: return c(QPalette::Text);
    case COLOR_MENU: case COLOR_BTNFACE: case COLOR_SCROLLBAR: case COLOR_ACTIVEBORDER:
    case COLOR_INACTIVEBORDER: case COLOR_MENUBAR:
        return c(QPalette::Button);
    case COLOR_MENUTEXT: case COLOR_BTNTEXT: return c(QPalette::ButtonText);
    case COLOR_HIGHLIGHT: case COLOR_ACTIVECAPTION: case COLOR_MENUHILIGHT: return c(QPalette::Highlight);
    case COLOR_HIGHLIGHTTEXT: case COLOR_CAPTIONTEXT: return c(QPalette::HighlightedText);
    case COLOR_BTNSHADOW: return c(QPalette::Dark);
    case COLOR_BTNHIGHLIGHT: return c(QPalette::Light);
    case COLOR_3DDKSHADOW: return c(QPalette::Shadow);
    case COLOR_3DLIGHT: return c(QPalette::Midlight);
    case COLOR_GRAYTEXT: return FromQRgb(pal.color(QPalette::Disabled, QPalette::Text).rgb());
    case COLOR_INFOTEXT: return c(QPalette::ToolTipText);
    case COLOR_INFOBK: return c(QPalette::ToolTipBase);
    case COLOR_HOTLIGHT: return c(QPalette::Link);
    default: return kClassic[index];
    }
}

void SetSysColorOverride(int index, COLORREF rgb)
{
    std::lock_guard lock(gColorMutex);
    gOverrides[index] = rgb;
}

void ClearSysColorOverrides()
{
    std::lock_guard lock(gColorMutex);
    gOverrides.clear();
}

COLORREF ColorToRGB(TColor color)
{
    if (color < 0) return GetSysColor(int(unsigned(color) & 0xFF));
    if (color == clNone || color == clDefault) return 0;
    return COLORREF(color) & 0xFFFFFF;
}

DWORD GetTickCount()
{
    using namespace std::chrono;
    return DWORD(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

namespace {
// Windows-1252 bytes 0x80..0x9F; 0 marks the five unassigned ones (kept as the C1 control).
const char16_t k1252[32] = {0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
                            0x2039, 0x0152, 0, 0x017D, 0, 0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013,
                            0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178};
}  // namespace

QString AnsiToQString(const std::string& s)
{
    QString out;
    out.reserve(qsizetype(s.size()));
    for (unsigned char ch : s) {
        char16_t u = ch;
        if (ch >= 0x80 && ch < 0xA0 && k1252[ch - 0x80]) u = k1252[ch - 0x80];
        out.append(QChar(u));
    }
    return out;
}

std::string QStringToAnsi(const QString& s)
{
    std::string out;
    out.reserve(std::size_t(s.size()));
    for (QChar qc : s) {
        char16_t u = qc.unicode();
        if (u < 0x80 || (u >= 0xA0 && u < 0x100)) {
            out.push_back(char(u));
            continue;
        }
        char mapped = '?';
        for (int i = 0; i < 32; ++i)
            if (k1252[i] == u) mapped = char(0x80 + i);
        if (u >= 0x80 && u < 0xA0) mapped = char(u);
        out.push_back(mapped);
    }
    return out;
}

std::string AnsiToUtf8(const std::string& s) { return AnsiToQString(s).toStdString(); }
std::string Utf8ToAnsi(const std::string& s) { return QStringToAnsi(QString::fromStdString(s)); }

// Object model.

void TPersistent::Assign(const TPersistent&) { throw base::EConvertError("Cannot assign"); }

TComponent::TComponent(TComponent* AOwner)
{
    if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent()
{
    destroying_ = true;
    std::vector<TComponent*> notify;
    notify.swap(freeNotifies_);
    for (TComponent* c : notify) std::erase(c->freeNotifies_, this);
    for (TComponent* c : notify) c->Notification(this, opRemove);
    while (!components_.empty()) {
        TComponent* c = components_.back();
        c->BeforeDestruction();
        delete c;  // removes itself from components_
    }
    if (owner_) owner_->RemoveComponent(this);
}

void TComponent::BeforeDestruction() { destroying_ = true; }

void TComponent::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == opRemove && AComponent) RemoveFreeNotification(AComponent);
    const std::vector<TComponent*> owned = components_;
    for (auto it = owned.rbegin(); it != owned.rend(); ++it)
        if (*it != AComponent) (*it)->Notification(AComponent, Operation);
}

void TComponent::InsertComponent(TComponent* c)
{
    if (!c || c->owner_ == this) return;
    if (c->owner_) c->owner_->RemoveComponent(c);
    c->owner_ = this;
    components_.push_back(c);
    Notification(c, opInsert);
}

void TComponent::RemoveComponent(TComponent* c)
{
    auto it = std::find(components_.begin(), components_.end(), c);
    if (it == components_.end()) return;
    components_.erase(it);
    c->owner_ = nullptr;
    if (!destroying_) Notification(c, opRemove);
}

TComponent* TComponent::FindComponent(const std::string& name) const
{
    for (TComponent* c : components_)
        if (!name.empty() && c->name_.size() == name.size() &&
            std::equal(name.begin(), name.end(), c->name_.begin(),
                       [](char a, char b) { return std::tolower((unsigned char)a) == std::tolower((unsigned char)b); }))
            return c;
    return nullptr;
}

void TComponent::FreeNotification(TComponent* c)
{
    if (!c || c == this) return;
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), c) == freeNotifies_.end()) freeNotifies_.push_back(c);
    if (std::find(c->freeNotifies_.begin(), c->freeNotifies_.end(), this) == c->freeNotifies_.end())
        c->freeNotifies_.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* c)
{
    if (!c) return;
    std::erase(freeNotifies_, c);
    std::erase(c->freeNotifies_, this);
}

}  // namespace platform
