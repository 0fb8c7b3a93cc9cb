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

// The user's short date and long time formats ("dd/mm/yyyy", "hh:nn:ss" style
// patterns), taken from the locale at start-up and settable for tests.
const std::string& ShortDateFormat();
const std::string& LongTimeFormat();
void SetShortDateFormat(std::string f);
// The character between day, month and year in the user's dates ('/' by default).
char DateSeparator();
void SetDateSeparator(char c);
void SetLongTimeFormat(std::string f);
// Turns a C library date/time format ("%d.%m.%Y") into the pattern letters above
// ("dd.mm.yyyy"); false when it uses a conversion that has no pattern letter.
bool PatternFromCFormat(const char* cFormat, std::string& pattern);

// Pattern letters: d dd ddd dddd m mm mmm mmmm yy yyyy h hh n nn s ss z zzz am/pm,
// "c" = short date + ' ' + long time; quoted text is copied.
std::string FormatDateTime(const std::string& format, TDateTime t);
std::string DateToStr(TDateTime t);
std::string TimeToStr(TDateTime t);
// Short date, a blank, long time.
std::string DateTimeToStr(TDateTime t);

// Milliseconds since an arbitrary start, wrapping like a 32-bit tick count.
unsigned int GetTickCount();

}  // namespace base
