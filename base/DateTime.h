#pragma once
// Dates and times as the run-time library keeps them: days since 1899-12-30,
// the fraction being the time of day.
#include <string>

namespace base {

using TDateTime = double;

TDateTime Now();
TDateTime EncodeDate(int year, int month, int day);  // throws EConvertError for a date that does not exist
// As EncodeDate, answering false instead of raising.
bool TryEncodeDate(int year, int month, int day, TDateTime& out);
// 28 to 31; 0 for a month outside 1..12.
int DaysInAMonth(int year, int month);
TDateTime EncodeTime(int hour, int minute, int second, int millisecond);
void DecodeDate(TDateTime t, int& year, int& month, int& day);
void DecodeTime(TDateTime t, int& hour, int& minute, int& second, int& millisecond);

// Fields of the user's settings (base/Locale.h): the short date, short time and long time
// patterns ("dd/mm/yyyy", "hh:nn", "hh:nn:ss"), and the characters that '/' and ':' in a
// pattern write.
std::string ShortDateFormat();
std::string ShortTimeFormat();
std::string LongTimeFormat();
void SetShortDateFormat(std::string f);
void SetShortTimeFormat(std::string f);
void SetLongTimeFormat(std::string f);
char DateSeparator();
void SetDateSeparator(char c);
char TimeSeparator();
void SetTimeSeparator(char c);
// Turns a C library date/time format ("%d.%m.%Y") into the pattern letters above
// ("dd.mm.yyyy"); false when it uses a conversion that has no pattern letter.
bool PatternFromCFormat(const char* cFormat, std::string& pattern);

// Pattern letters: d dd ddd dddd m mm mmm mmmm yy yyyy h hh n nn s ss z zzz am/pm,
// "c" = short date + ' ' + long time, "t" short time, "tt" long time, '/' the date
// separator, ':' the time separator; quoted text is copied.
std::string FormatDateTime(const std::string& format, TDateTime t);
std::string DateToStr(TDateTime t);
std::string TimeToStr(TDateTime t);
// Short date, a blank, long time.
std::string DateTimeToStr(TDateTime t);
// A date in the short date format's field order (a missing year is this year's; two-digit
// years below 50 are 20xx), and a time of up to three fields; false when it does not read.
bool TryStrToDate(const std::string& s, TDateTime& out);
bool TryStrToTime(const std::string& s, TDateTime& out);

// Milliseconds since an arbitrary start, wrapping like a 32-bit tick count.
unsigned int GetTickCount();

}  // namespace base
