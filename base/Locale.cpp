#include "base/Locale.h"

#include <atomic>
#include <cctype>
#include <cstring>
#include <langinfo.h>
#include <locale.h>
#include <mutex>

#include "base/DateTime.h"
#include "base/StrUtils.h"

namespace base {

namespace {

// The separators are read by every number conversion: no lock for them.
std::atomic<char> gDecimal{'.'}, gThousand{','}, gDate{'/'}, gTime{':'};

struct Patterns {
    std::mutex mutex;
    bool loaded = false;
    std::string shortDate, shortTime, longTime;
};

Patterns& ThePatterns()
{
    static Patterns p;
    return p;
}

bool PlainLocale(locale_t loc, int category)
{
    const char* name = nl_langinfo_l(_NL_LOCALE_NAME(category), loc);
    const std::string n = name ? name : "";
    return n.empty() || n == "C" || n == "POSIX" || n.rfind("C.", 0) == 0;
}

// The first punctuation character of a C format outside its conversions.
char SeparatorOf(const char* cFormat, char fallback)
{
    for (const char* p = cFormat; p && *p; ++p) {
        if (*p == '%') {
            if (p[1]) ++p;
            continue;
        }
        if (std::ispunct(static_cast<unsigned char>(*p))) return *p;
    }
    return fallback;
}

// The time pattern without its seconds (and the separator before them).
std::string WithoutSeconds(const std::string& pattern)
{
    char quote = 0;
    for (size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (quote) {
            if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == 's' || c == 'S') {
            size_t from = i, to = i + 1;
            while (to < pattern.size() && (pattern[to] == 's' || pattern[to] == 'S')) ++to;
            if (from > 0 && std::ispunct(static_cast<unsigned char>(pattern[from - 1]))) --from;
            return pattern.substr(0, from) + pattern.substr(to);
        }
    }
    return pattern;
}

// Under the lock: the defaults with the environment's date and time patterns, once.
void Load(Patterns& p)
{
    if (p.loaded) return;
    p.loaded = true;
    const TFormatSettings d;
    p.shortDate = d.ShortDateFormat;
    p.shortTime = d.ShortTimeFormat;
    p.longTime = d.LongTimeFormat;
    locale_t loc = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(0));
    if (!loc) return;
    if (!PlainLocale(loc, LC_TIME)) {
        const TFormatSettings s =
            FormatSettingsFromC(nl_langinfo_l(D_FMT, loc), nl_langinfo_l(T_FMT, loc), nullptr, nullptr);
        p.shortDate = s.ShortDateFormat;
        p.shortTime = s.ShortTimeFormat;
        p.longTime = s.LongTimeFormat;
    }
    freelocale(loc);
}

template <class Fn>
auto WithPatterns(Fn&& fn)
{
    Patterns& p = ThePatterns();
    std::lock_guard lock(p.mutex);
    Load(p);
    return fn(p);
}

}  // namespace

TFormatSettings FormatSettingsFromC(const char* dateFormat, const char* timeFormat, const char* decimalPoint,
                                    const char* thousandsSeparator)
{
    TFormatSettings s;
    std::string pattern;
    if (dateFormat && PatternFromCFormat(dateFormat, pattern)) {
        s.ShortDateFormat = pattern;
        s.DateSeparator = SeparatorOf(dateFormat, s.DateSeparator);
    }
    if (timeFormat && PatternFromCFormat(timeFormat, pattern)) {
        s.LongTimeFormat = pattern;
        s.ShortTimeFormat = WithoutSeconds(pattern);
        s.TimeSeparator = SeparatorOf(timeFormat, s.TimeSeparator);
    }
    if (decimalPoint && std::strlen(decimalPoint) == 1) s.DecimalSeparator = decimalPoint[0];
    if (thousandsSeparator && std::strlen(thousandsSeparator) == 1) s.ThousandSeparator = thousandsSeparator[0];
    if (s.ThousandSeparator == s.DecimalSeparator) s.ThousandSeparator = s.DecimalSeparator == ',' ? '.' : ',';
    return s;
}

TFormatSettings LocaleFormatSettings()
{
    TFormatSettings s;
    locale_t loc = newlocale(LC_TIME_MASK | LC_NUMERIC_MASK, "", static_cast<locale_t>(0));
    if (!loc) return s;
    const bool plainTime = PlainLocale(loc, LC_TIME), plainNumbers = PlainLocale(loc, LC_NUMERIC);
    const TFormatSettings c = FormatSettingsFromC(plainTime ? nullptr : nl_langinfo_l(D_FMT, loc),
                                                  plainTime ? nullptr : nl_langinfo_l(T_FMT, loc),
                                                  plainNumbers ? nullptr : nl_langinfo_l(RADIXCHAR, loc),
                                                  plainNumbers ? nullptr : nl_langinfo_l(THOUSEP, loc));
    freelocale(loc);
    return c;
}

TFormatSettings FormatSettings()
{
    TFormatSettings s;
    s.DecimalSeparator = gDecimal.load();
    s.ThousandSeparator = gThousand.load();
    s.DateSeparator = gDate.load();
    s.TimeSeparator = gTime.load();
    WithPatterns([&](Patterns& p) {
        s.ShortDateFormat = p.shortDate;
        s.ShortTimeFormat = p.shortTime;
        s.LongTimeFormat = p.longTime;
    });
    return s;
}

void SetFormatSettings(const TFormatSettings& s)
{
    gDecimal.store(s.DecimalSeparator);
    gThousand.store(s.ThousandSeparator);
    gDate.store(s.DateSeparator);
    gTime.store(s.TimeSeparator);
    WithPatterns([&](Patterns& p) {
        p.shortDate = s.ShortDateFormat;
        p.shortTime = s.ShortTimeFormat;
        p.longTime = s.LongTimeFormat;
    });
}

// The single fields, declared with the conversions that use them.

char DecimalSeparator() { return gDecimal.load(); }
void SetDecimalSeparator(char c) { gDecimal.store(c); }
char ThousandSeparator() { return gThousand.load(); }
void SetThousandSeparator(char c) { gThousand.store(c); }
char DateSeparator() { return gDate.load(); }
void SetDateSeparator(char c) { gDate.store(c); }
char TimeSeparator() { return gTime.load(); }
void SetTimeSeparator(char c) { gTime.store(c); }

std::string ShortDateFormat()
{
    return WithPatterns([](Patterns& p) { return p.shortDate; });
}
std::string ShortTimeFormat()
{
    return WithPatterns([](Patterns& p) { return p.shortTime; });
}
std::string LongTimeFormat()
{
    return WithPatterns([](Patterns& p) { return p.longTime; });
}
void SetShortDateFormat(std::string f)
{
    WithPatterns([&](Patterns& p) { p.shortDate = std::move(f); });
}
void SetShortTimeFormat(std::string f)
{
    WithPatterns([&](Patterns& p) { p.shortTime = std::move(f); });
}
void SetLongTimeFormat(std::string f)
{
    WithPatterns([&](Patterns& p) { p.longTime = std::move(f); });
}

}  // namespace base
