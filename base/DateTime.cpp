#include "base/DateTime.h"

#include <algorithm>
#include <sstream>
#include <vector>
#include <cctype>
#include <chrono>
#include <cmath>
#include <ctime>

#include "base/Exception.h"
#include "base/StrUtils.h"

namespace base {

namespace {

constexpr long long kMsPerDay = 86400000;
// Days from 1970-01-01 to 1899-12-30.
constexpr long long kEpochOffset = 25569;

const char* const kShortMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                    "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char* const kLongMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                                   "July",    "August",   "September", "October", "November", "December"};
const char* const kShortDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const kLongDays[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

// Days since 1970-01-01 of a proleptic Gregorian date.
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

void CivilFromDays(long long z, int& y, int& m, int& d) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long yy = static_cast<long long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yy + (m <= 2));
}

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeap(y) ? 29 : days[m - 1];
}

// Splits t into a day number (days since 1899-12-30) and milliseconds of the day.
// Negative values keep the time of day as the absolute fraction, as the run-time
// library does.
void Split(TDateTime t, long long& day, long long& ms) {
    if (!std::isfinite(t)) {
        day = 0;
        ms = 0;
        return;
    }
    if (t >= 0) {
        const long long total = std::llround(t * static_cast<double>(kMsPerDay));
        day = total / kMsPerDay;
        ms = total % kMsPerDay;
    } else {
        double ip = std::trunc(t);
        ms = std::llround(std::fabs(t - ip) * static_cast<double>(kMsPerDay));
        day = static_cast<long long>(ip);
        if (ms >= kMsPerDay) {
            ms -= kMsPerDay;
            day -= 1;
        }
    }
}

bool TranslateCFormat(const char* c, std::string& out) {
    out.clear();
    std::string literal;
    auto flush = [&] {
        if (literal.empty()) return;
        bool needsQuote = false;
        for (char ch : literal)
            if ((ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || ch == '"' || ch == '\'') needsQuote = true;
        if (needsQuote && literal.find('"') == std::string::npos) {
            out += '"' + literal + '"';
        } else if (needsQuote) {
            out += '\'' + literal + '\'';
        } else {
            out += literal;
        }
        literal.clear();
    };
    for (const char* p = c; *p; ++p) {
        if (*p != '%') {
            literal.push_back(*p);
            continue;
        }
        ++p;
        // Skip glibc flags and the E / O modifiers.
        while (*p == '-' || *p == '_' || *p == '0' || *p == '^' || *p == '#' || *p == 'E' || *p == 'O') ++p;
        const char* rep = nullptr;
        switch (*p) {
        case 'd': rep = "dd"; break;
        case 'e': rep = "d"; break;
        case 'm': rep = "mm"; break;
        case 'y': rep = "yy"; break;
        case 'Y': rep = "yyyy"; break;
        case 'b':
        case 'h': rep = "mmm"; break;
        case 'B': rep = "mmmm"; break;
        case 'a': rep = "ddd"; break;
        case 'A': rep = "dddd"; break;
        case 'H': rep = "hh"; break;
        case 'k': rep = "h"; break;
        case 'I': rep = "hh"; break;
        case 'l': rep = "h"; break;
        case 'M': rep = "nn"; break;
        case 'S': rep = "ss"; break;
        case 'p':
        case 'P': rep = "AM/PM"; break;
        case 'D': rep = "mm/dd/yy"; break;
        case 'F': rep = "yyyy-mm-dd"; break;
        case 'T': rep = "hh:nn:ss"; break;
        case 'R': rep = "hh:nn"; break;
        case 'r': rep = "hh:nn:ss AM/PM"; break;
        case '%': literal.push_back('%'); continue;
        case 'n':
        case 't': literal.push_back(' '); continue;
        default: return false;
        }
        flush();
        out += rep;
    }
    flush();
    return !out.empty();
}

std::string Pad(int v, int width) {
    std::string s = std::to_string(v);
    if (static_cast<int>(s.size()) < width) s.insert(0, static_cast<size_t>(width) - s.size(), '0');
    return s;
}

bool StartsWithNoCase(const std::string& s, size_t i, const char* what) {
    for (size_t k = 0; what[k]; ++k) {
        if (i + k >= s.size()) return false;
        char a = s[i + k], b = what[k];
        if (a >= 'a' && a <= 'z') a = static_cast<char>(a - 32);
        if (b >= 'a' && b <= 'z') b = static_cast<char>(b - 32);
        if (a != b) return false;
    }
    return true;
}

void FormatInto(std::string& out, const std::string& f, TDateTime t, int depth);

void FormatInto(std::string& out, const std::string& f, TDateTime t, int depth) {
    if (depth > 2) return;
    int year, month, day, hour, minute, second, ms;
    DecodeDate(t, year, month, day);
    DecodeTime(t, hour, minute, second, ms);
    long long dayNo, msOfDay;
    Split(t, dayNo, msOfDay);
    const int weekday = static_cast<int>(((dayNo - 1) % 7 + 7) % 7);  // 1899-12-30 was a Saturday

    // A 12-hour clock when the format has an am/pm marker outside quotes.
    bool twelve = false;
    {
        char q = 0;
        for (size_t i = 0; i < f.size(); ++i) {
            if (q) {
                if (f[i] == q) q = 0;
            } else if (f[i] == '"' || f[i] == '\'') {
                q = f[i];
            } else if (StartsWithNoCase(f, i, "am/pm") || StartsWithNoCase(f, i, "a/p") ||
                       StartsWithNoCase(f, i, "ampm")) {
                twelve = true;
            }
        }
    }
    bool lastWasHour = false;
    size_t i = 0;
    while (i < f.size()) {
        char c = f[i];
        char lc = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
        size_t run = 1;
        while (i + run < f.size() && ((f[i + run] >= 'A' && f[i + run] <= 'Z') ? f[i + run] + 32 : f[i + run]) == lc) ++run;
        bool hourNow = false;
        switch (lc) {
        case '"':
        case '\'': {
            size_t end = f.find(c, i + 1);
            if (end == std::string::npos) end = f.size();
            out.append(f, i + 1, end - i - 1);
            i = end + 1;
            continue;
        }
        case 'd':
            if (run == 1) out += std::to_string(day);
            else if (run == 2) out += Pad(day, 2);
            else if (run == 3) out += kShortDays[weekday];
            else if (run == 4) out += kLongDays[weekday];
            else {
                FormatInto(out, ShortDateFormat(), t, depth + 1);
                run = std::min<size_t>(run, 5);
            }
            i += std::min<size_t>(run, 5);
            lastWasHour = false;
            continue;
        case 'm':
            if (lastWasHour && run <= 2) {
                out += run == 1 ? std::to_string(minute) : Pad(minute, 2);
            } else if (run == 1) out += std::to_string(month);
            else if (run == 2) out += Pad(month, 2);
            else if (run == 3) out += kShortMonths[month - 1];
            else out += kLongMonths[month - 1];
            i += std::min<size_t>(run, 4);
            lastWasHour = false;
            continue;
        case 'y':
            if (run <= 2) out += Pad(year % 100, 2);
            else out += Pad(year, 4);
            i += std::min<size_t>(run, 4);
            lastWasHour = false;
            continue;
        case 'h': {
            int h = hour;
            if (twelve) {
                h = hour % 12;
                if (h == 0) h = 12;
            }
            out += run == 1 ? std::to_string(h) : Pad(h, 2);
            i += std::min<size_t>(run, 2);
            hourNow = true;
            break;
        }
        case 'n':
            out += run == 1 ? std::to_string(minute) : Pad(minute, 2);
            i += std::min<size_t>(run, 2);
            break;
        case 's':
            out += run == 1 ? std::to_string(second) : Pad(second, 2);
            i += std::min<size_t>(run, 2);
            break;
        case 'z':
            out += run < 3 ? std::to_string(ms) : Pad(ms, 3);
            i += run < 3 ? run : 3;
            break;
        case 'c':
            FormatInto(out, ShortDateFormat(), t, depth + 1);
            if (msOfDay != 0) {
                out.push_back(' ');
                FormatInto(out, LongTimeFormat(), t, depth + 1);
            }
            i += 1;
            break;
        case 't':
            if (run >= 2) {
                FormatInto(out, LongTimeFormat(), t, depth + 1);
                i += 2;
            } else {
                FormatInto(out, ShortTimeFormat(), t, depth + 1);
                i += 1;
            }
            break;
        case 'a':
            if (StartsWithNoCase(f, i, "am/pm")) {
                const bool pm = hour >= 12;
                const bool upper = f[i] == 'A';
                out += pm ? (upper ? "PM" : "pm") : (upper ? "AM" : "am");
                i += 5;
            } else if (StartsWithNoCase(f, i, "a/p")) {
                const bool pm = hour >= 12;
                const bool upper = f[i] == 'A';
                out += pm ? (upper ? "P" : "p") : (upper ? "A" : "a");
                i += 3;
            } else if (StartsWithNoCase(f, i, "ampm")) {
                out += hour >= 12 ? "PM" : "AM";
                i += 4;
            } else {
                out.push_back(c);
                i += 1;
            }
            break;
        case '/':
        case ':':
            out.push_back(c == '/' ? DateSeparator() : TimeSeparator());
            i += 1;
            hourNow = lastWasHour;  // "hh:mm" shows minutes
            break;
        default:
            out.push_back(c);
            i += 1;
            // Only letters end an hour token, so "hh:mm" shows minutes.
            if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))) hourNow = lastWasHour;
            break;
        }
        lastWasHour = hourNow;
    }
}

}  // namespace

bool PatternFromCFormat(const char* cFormat, std::string& pattern) {
    std::string out;
    if (!cFormat || !TranslateCFormat(cFormat, out)) return false;
    pattern = std::move(out);
    return true;
}

TDateTime Now() {
    struct timespec ts {};
    clock_gettime(CLOCK_REALTIME, &ts);
    time_t secs = ts.tv_sec;
    struct tm lt {};
    localtime_r(&secs, &lt);
    const long long days = DaysFromCivil(lt.tm_year + 1900, static_cast<unsigned>(lt.tm_mon + 1),
                                         static_cast<unsigned>(lt.tm_mday)) + kEpochOffset;
    const long long ms = ((lt.tm_hour * 60LL + lt.tm_min) * 60 + std::min(lt.tm_sec, 59)) * 1000 + ts.tv_nsec / 1000000;
    return static_cast<double>(days) + static_cast<double>(ms) / static_cast<double>(kMsPerDay);
}

bool TryEncodeDate(int year, int month, int day, TDateTime& out) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
        return false;
    out = static_cast<double>(DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) + kEpochOffset);
    return true;
}

TDateTime EncodeDate(int year, int month, int day) {
    TDateTime t;
    if (!TryEncodeDate(year, month, day, t)) throw EConvertError("Invalid argument to date encode");
    return t;
}

int DaysInAMonth(int year, int month) { return month < 1 || month > 12 ? 0 : DaysInMonth(year, month); }

TDateTime EncodeTime(int hour, int minute, int second, int millisecond) {
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || millisecond < 0 ||
        millisecond > 999)
        throw EConvertError("Invalid argument to time encode");
    const long long ms = ((hour * 60LL + minute) * 60 + second) * 1000 + millisecond;
    return static_cast<double>(ms) / static_cast<double>(kMsPerDay);
}

void DecodeDate(TDateTime t, int& year, int& month, int& day) {
    long long dayNo, ms;
    Split(t, dayNo, ms);
    CivilFromDays(dayNo - kEpochOffset, year, month, day);
}

void DecodeTime(TDateTime t, int& hour, int& minute, int& second, int& millisecond) {
    long long dayNo, ms;
    Split(t, dayNo, ms);
    millisecond = static_cast<int>(ms % 1000);
    long long s = ms / 1000;
    second = static_cast<int>(s % 60);
    minute = static_cast<int>((s / 60) % 60);
    hour = static_cast<int>(s / 3600);
}

std::string FormatDateTime(const std::string& format, TDateTime t) {
    std::string out;
    FormatInto(out, format.empty() ? std::string("c") : format, t, 0);
    return out;
}

std::string DateToStr(TDateTime t) { return FormatDateTime(ShortDateFormat(), t); }
std::string TimeToStr(TDateTime t) { return FormatDateTime(LongTimeFormat(), t); }

std::string DateTimeToStr(TDateTime t) {
    std::string out = DateToStr(t);
    out.push_back(' ');
    out += TimeToStr(t);
    return out;
}

unsigned int GetTickCount() {
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now().time_since_epoch())
                        .count();
    return static_cast<unsigned int>(static_cast<unsigned long long>(ms));
}

namespace {

// Whole numbers between separators, blanks around them allowed.
bool ReadFields(const std::string& s, char separator, std::vector<int>& fields)
{
    fields.clear();
    std::string part;
    std::istringstream in(Trim(s));
    while (std::getline(in, part, separator)) {
        const std::string t = Trim(part);
        if (t.empty() || t.size() > 9 || !std::all_of(t.begin(), t.end(), [](char c) { return std::isdigit((unsigned char)c); }))
            return false;
        fields.push_back(std::stoi(t));
    }
    return !fields.empty();
}

}  // namespace

bool TryStrToDate(const std::string& s, TDateTime& out)
{
    std::vector<int> f;
    if (!ReadFields(s, DateSeparator(), f) || f.size() < 2 || f.size() > 3) return false;
    // The fields' order is the short date format's.
    const std::string fmt = UpperCase(ShortDateFormat());
    struct Slot {
        std::size_t at;
        char kind;
    };
    std::vector<Slot> order;
    for (char k : {'D', 'M', 'Y'}) {
        const std::size_t at = fmt.find(k);
        order.push_back({at == std::string::npos ? fmt.size() + std::size_t(k) : at, k});
    }
    std::sort(order.begin(), order.end(), [](const Slot& a, const Slot& b) { return a.at < b.at; });
    int day = 0, month = 0, year = 0, nowYear = 0, nowMonth = 0, nowDay = 0;
    DecodeDate(Now(), nowYear, nowMonth, nowDay);
    year = nowYear;  // a date without a year is in this one
    std::size_t i = 0;
    for (const Slot& slot : order) {
        if (slot.kind == 'Y' && f.size() == 2) continue;
        const int v = f[i++];
        if (slot.kind == 'D') day = v;
        else if (slot.kind == 'M') month = v;
        else year = v < 100 ? (v < 50 ? 2000 + v : 1900 + v) : v;
        if (i == f.size()) break;
    }
    return TryEncodeDate(year, month, day, out);
}

bool TryStrToTime(const std::string& s, TDateTime& out)
{
    std::vector<int> f;
    if (!ReadFields(s, TimeSeparator(), f) || f.size() > 3) return false;
    f.resize(3, 0);
    if (f[0] > 23 || f[1] > 59 || f[2] > 59) return false;
    out = EncodeTime(f[0], f[1], f[2], 0);
    return true;
}

}  // namespace base
