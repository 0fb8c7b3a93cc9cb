#pragma once
// The user's conventions for numbers, dates and times. The user-facing conversions follow
// them (FloatToStr, StrToFloat, FormatFloat, FormatDateTime, DateToStr, TimeToStr); model
// files never do. DecimalSeparator(), ShortDateFormat() and their setters read and change
// single fields of the same settings.
#include <string>

namespace base {

struct TFormatSettings {
    char DecimalSeparator = '.';
    char ThousandSeparator = ',';
    char DateSeparator = '/';  // what '/' in a date pattern writes
    char TimeSeparator = ':';  // what ':' in a time pattern writes
    std::string ShortDateFormat = "dd/mm/yyyy";
    std::string ShortTimeFormat = "hh:nn";
    std::string LongTimeFormat = "hh:nn:ss";
};

// A copy of the settings in force: until something sets them, the defaults above with the
// date and time patterns of the environment's LC_TIME.
TFormatSettings FormatSettings();
// Puts s in force for every conversion from now on, on every thread.
void SetFormatSettings(const TFormatSettings& s);

// The settings of the environment's locale (LC_NUMERIC and LC_TIME), the defaults for
// what it does not say.
TFormatSettings LocaleFormatSettings();
// The settings that a locale's C conventions give: its date and time formats ("%d.%m.%Y",
// "%H:%M:%S"), its decimal point and its thousands separator (one byte each, else the
// defaults; the thousands separator never equals the decimal one).
TFormatSettings FormatSettingsFromC(const char* dateFormat, const char* timeFormat, const char* decimalPoint,
                                    const char* thousandsSeparator);

}  // namespace base
