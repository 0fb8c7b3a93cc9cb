#include <QCollator>
#include <QLocale>
#include <QGuiApplication>
#include <QPalette>

#include <chrono>
#include <cstdlib>
#include <cxxabi.h>
#include <typeinfo>
#include <map>
#include <mutex>

#include "platform/Classes.h"
#include "platform/Messages.h"
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

char16_t AnsiCharToUnicode(unsigned char ch)
{
    if (ch >= 0x80 && ch < 0xA0 && k1252[ch - 0x80]) return k1252[ch - 0x80];
    return ch;
}

// The unassigned bytes come back as the C1 controls they were read as.
char UnicodeToAnsiChar(char16_t u)
{
    if (u < 0x100) return char(u);
    for (int i = 0; i < 32; ++i)
        if (k1252[i] == u) return char(0x80 + i);
    return '?';
}
}  // namespace

QString AnsiToQString(const std::string& s)
{
    QString out;
    out.reserve(qsizetype(s.size()));
    for (unsigned char ch : s) out.append(QChar(AnsiCharToUnicode(ch)));
    return out;
}

std::string QStringToAnsi(const QString& s)
{
    std::string out;
    out.reserve(std::size_t(s.size()));
    for (QChar qc : s) out.push_back(UnicodeToAnsiChar(qc.unicode()));
    return out;
}

std::u16string AnsiToWide(const std::string& s)
{
    std::u16string out;
    out.reserve(s.size());
    for (unsigned char ch : s) out.push_back(AnsiCharToUnicode(ch));
    return out;
}

std::string WideToAnsi(const std::u16string& s)
{
    std::string out;
    out.reserve(s.size());
    for (char16_t u : s) out.push_back(UnicodeToAnsiChar(u));
    return out;
}

int CompareTextWide(const std::u16string& a, const std::u16string& b)
{
    const QString qa = QString::fromUtf16(a.data(), qsizetype(a.size()));
    const QString qb = QString::fromUtf16(b.data(), qsizetype(b.size()));
    return QString::compare(qa, qb, Qt::CaseInsensitive);
}

int CompareStringLocale(const std::u16string& a, const std::u16string& b, bool IgnoreCase)
{
    // QCollator is not safe to share between threads; one of each kind per thread.
    auto make = [](bool ignoreCase) {
        QLocale loc = QLocale::system();
        // the C locale compares code points; the language-neutral order stands in for it
        if (loc.language() == QLocale::C) loc = QLocale(QLocale::English, QLocale::UnitedStates);
        QCollator c(loc);
        c.setCaseSensitivity(ignoreCase ? Qt::CaseInsensitive : Qt::CaseSensitive);
        return c;
    };
    thread_local QCollator withCase = make(false), noCase = make(true);
    const QString qa = QString::fromUtf16(a.data(), qsizetype(a.size()));
    const QString qb = QString::fromUtf16(b.data(), qsizetype(b.size()));
    return (IgnoreCase ? noCase : withCase).compare(qa, qb);
}

namespace {
// Code page 437 bytes 0x80..0xFF.
const char16_t k437[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5,
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9, 0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192,
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA, 0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510,
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567,
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4, 0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229,
    0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248, 0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0};

}  // namespace

std::string CharToOem(const std::string& s)
{
    std::string out;
    out.reserve(s.size());
    for (unsigned char ch : s) {
        const char16_t u = AnsiCharToUnicode(ch);
        char mapped = u < 0x80 ? char(u) : '?';
        for (int i = 0; u >= 0x80 && i < 128; ++i)
            if (k437[i] == u) {
                mapped = char(0x80 + i);
                break;
            }
        out.push_back(mapped);
    }
    return out;
}

std::string OemToChar(const std::string& s)
{
    std::string out;
    out.reserve(s.size());
    for (unsigned char ch : s) out.push_back(ch < 0x80 ? char(ch) : UnicodeToAnsiChar(k437[ch - 0x80]));
    return out;
}

std::string AnsiToUtf8(const std::string& s) { return AnsiToQString(s).toStdString(); }
std::string Utf8ToAnsi(const std::string& s) { return QStringToAnsi(QString::fromStdString(s)); }

// Object model.

void TPersistent::Assign(const TPersistent&) { throw base::EConvertError("Cannot assign"); }

std::string TObject::ClassName() const
{
    const char* raw = typeid(*this).name();
    int status = 0;
    char* plain = abi::__cxa_demangle(raw, nullptr, nullptr, &status);
    std::string name = status == 0 && plain ? plain : raw;
    std::free(plain);
    const size_t at = name.rfind("::");
    return at == std::string::npos ? name : name.substr(at + 2);
}

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

LPARAM KeyDataOf(Word vk, bool alt, bool release)
{
    // Scan codes of the standard keyboard, by virtual key.
    static const std::map<Word, int> scan = [] {
        std::map<Word, int> m;
        const char* rows[] = {"1234567890", "QWERTYUIOP", "ASDFGHJKL", "ZXCVBNM"};
        const int starts[] = {0x02, 0x10, 0x1E, 0x2C};
        for (int r = 0; r < 4; ++r)
            for (int i = 0; rows[r][i]; ++i) m[Word(rows[r][i])] = starts[r] + i;
        const std::pair<Word, int> keys[] = {
            {VK_ESCAPE, 0x01}, {0xBD, 0x0C}, {0xBB, 0x0D}, {VK_BACK, 0x0E}, {VK_TAB, 0x0F}, {0xDB, 0x1A},
            {0xDD, 0x1B}, {VK_RETURN, 0x1C}, {VK_CONTROL, 0x1D}, {0xBA, 0x27}, {0xDE, 0x28}, {0xC0, 0x29},
            {VK_SHIFT, 0x2A}, {0xDC, 0x2B}, {0xBC, 0x33}, {0xBE, 0x34}, {0xBF, 0x35}, {VK_MULTIPLY, 0x37},
            {VK_MENU, 0x38}, {VK_SPACE, 0x39}, {VK_CAPITAL, 0x3A}, {VK_NUMLOCK, 0x45}, {VK_SCROLL, 0x46},
            {VK_SUBTRACT, 0x4A}, {VK_ADD, 0x4E}, {VK_DECIMAL, 0x53}, {VK_F11, 0x57}, {VK_F12, 0x58},
            {VK_NUMPAD0 + 7, 0x47}, {VK_NUMPAD0 + 8, 0x48}, {VK_NUMPAD0 + 9, 0x49}, {VK_NUMPAD0 + 4, 0x4B},
            {VK_NUMPAD0 + 5, 0x4C}, {VK_NUMPAD0 + 6, 0x4D}, {VK_NUMPAD0 + 1, 0x4F}, {VK_NUMPAD0 + 2, 0x50},
            {VK_NUMPAD0 + 3, 0x51}, {VK_NUMPAD0, 0x52}};
        for (const auto& k : keys) m[k.first] = k.second;
        for (int i = 0; i < 10; ++i) m[Word(VK_F1 + i)] = 0x3B + i;
        // Keys outside the main block share keypad scan codes and carry the extended bit.
        const std::pair<Word, int> extended[] = {
            {VK_HOME, 0x47}, {VK_UP, 0x48}, {VK_PRIOR, 0x49}, {VK_LEFT, 0x4B}, {VK_RIGHT, 0x4D}, {VK_END, 0x4F},
            {VK_DOWN, 0x50}, {VK_NEXT, 0x51}, {VK_INSERT, 0x52}, {VK_DELETE, 0x53}, {VK_DIVIDE, 0x35}};
        for (const auto& k : extended) m[k.first] = k.second | 0x100;
        return m;
    }();
    LPARAM data = 1;
    if (auto it = scan.find(vk); it != scan.end()) {
        data |= LPARAM(it->second & 0xFF) << 16;
        if (it->second & 0x100) data |= KF_EXTENDED_BIT;
    }
    if (alt) data |= KF_ALTDOWN_BIT;
    if (release) data |= KF_UP_BITS;
    return data;
}

}  // namespace platform
