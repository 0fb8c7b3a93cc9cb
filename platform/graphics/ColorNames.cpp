#include "platform/graphics/ColorNames.h"

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <strings.h>

#include "base/Exception.h"

namespace platform {

namespace {

struct NamedColor {
    std::uint32_t value;
    const char* name;
};

constexpr NamedColor kNames[] = {
    {0x000000, "clBlack"},      {0x000080, "clMaroon"},    {0x008000, "clGreen"},   {0x008080, "clOlive"},
    {0x800000, "clNavy"},       {0x800080, "clPurple"},    {0x808000, "clTeal"},    {0x808080, "clGray"},
    {0xC0C0C0, "clSilver"},     {0x0000FF, "clRed"},       {0x00FF00, "clLime"},    {0x00FFFF, "clYellow"},
    {0xFF0000, "clBlue"},       {0xFF00FF, "clFuchsia"},   {0xFFFF00, "clAqua"},    {0xFFFFFF, "clWhite"},
    {0x80000000, "clScrollBar"}, {0x80000001, "clBackground"}, {0x80000002, "clActiveCaption"},
    {0x80000003, "clInactiveCaption"}, {0x80000004, "clMenu"}, {0x80000005, "clWindow"},
    {0x80000006, "clWindowFrame"}, {0x80000007, "clMenuText"}, {0x80000008, "clWindowText"},
    {0x80000009, "clCaptionText"}, {0x8000000A, "clActiveBorder"}, {0x8000000B, "clInactiveBorder"},
    {0x8000000C, "clAppWorkSpace"}, {0x8000000D, "clHighlight"}, {0x8000000E, "clHighlightText"},
    {0x8000000F, "clBtnFace"}, {0x80000010, "clBtnShadow"}, {0x80000011, "clGrayText"},
    {0x80000012, "clBtnText"}, {0x80000013, "clInactiveCaptionText"}, {0x80000014, "clBtnHighlight"},
    {0x80000015, "cl3DDkShadow"}, {0x80000016, "cl3DLight"}, {0x80000017, "clInfoText"},
    {0x80000018, "clInfoBk"}};

}  // namespace

std::string ColorToString(TColor c)
{
    for (const NamedColor& n : kNames)
        if (n.value == std::uint32_t(c)) return n.name;
    char buf[16];
    std::snprintf(buf, sizeof buf, "$%08X", unsigned(c));
    return buf;
}

bool IdentToColor(const std::string& name, TColor& c)
{
    for (const NamedColor& n : kNames)
        if (strcasecmp(n.name, name.c_str()) == 0) {
            c = TColor(n.value);
            return true;
        }
    return false;
}

TColor StringToColor(const std::string& s)
{
    TColor c = 0;
    if (IdentToColor(s, c)) return c;
    const bool hex = !s.empty() && s[0] == '$';
    const std::string digits = hex ? s.substr(1) : (s.size() > 1 && s[0] == '-' ? s.substr(1) : s);
    bool ok = !digits.empty() && digits.size() <= (hex ? 8u : 10u);
    for (char ch : digits) ok = ok && (hex ? std::isxdigit(static_cast<unsigned char>(ch)) : std::isdigit(static_cast<unsigned char>(ch)));
    if (!ok) throw base::EConvertError("'" + s + "' is not a valid integer value");
    const long long v = std::strtoll(hex ? digits.c_str() : s.c_str(), nullptr, hex ? 16 : 10);
    if (!hex && (v > 0xFFFFFFFFLL || v < -0x80000000LL)) throw base::EConvertError("'" + s + "' is not a valid integer value");
    return TColor(std::uint32_t(v));
}

}  // namespace platform
