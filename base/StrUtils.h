#pragma once
// Text and number conversions of the run-time library. Text is 8-bit (String).
#include <cstdint>
#include <string>
#include <string_view>

namespace base {

using String = std::string;

// Fields of the user's settings (base/Locale.h): the decimal separator of the user-facing
// conversions (FloatToStr, StrToFloat, FormatFloat) and the thousands separator. Model
// files never use them: they always write '.'.
char DecimalSeparator();
void SetDecimalSeparator(char c);
char ThousandSeparator();
void SetThousandSeparator(char c);

String IntToStr(long long value);
String UIntToStr(unsigned long long value);
String IntToHex(unsigned long long value, int digits);

// General format with up to `precision` significant digits (15 for messages, titles
// and log lines): no trailing zeros, exponent form only where plain would not fit
// ("1E15" style as the run-time library writes it), NaN as "NAN", infinities as
// "INF" / "-INF", with DecimalSeparator(). Plain for 1E-4 <= |v| < 10^precision
// (0.0001, 100000000000000), otherwise 1E-5, 1E15, -1.5E-7; negative zero is "0".
// Digits are rounded half away from zero.
String FloatToStr(double value);
String FloatToStrG(double value, int precision);

// printf-style %.<digits>g with '.' whatever the user's separator; "-0" for negative zero.
String FormatG(double value, int digits = 6);
// Shortest text that reads back to the same double, in %g's plain or exponent
// notation; values with up to 6 significant digits read exactly as FormatG(v, 6).
String FormatShortest(double value);

// Picture formats such as "0.000", "0.0000", "#,##0.00", "0.###", "0.00E+00", with
// "pos;neg;zero" sections. The shortest decimal text of the value is rounded half away
// from zero (2.675 -> "2.68"); a value that rounds to zero shows no minus sign. ','
// groups with ThousandSeparator() (with '.' or ',' where that equals the decimal separator).
String FormatFloat(std::string_view format, double value);
// %.<decimals>f with DecimalSeparator(); no minus sign when every digit is zero.
String FloatToStrFixed(double value, int decimals);

// Parsing with DecimalSeparator(); leading and trailing blanks are allowed.
// NaN, infinities, empty text and trailing garbage are refused.
double StrToFloat(std::string_view text);  // throws EConvertError
double StrToFloatDef(std::string_view text, double fallback);
bool TryStrToFloat(std::string_view text, double& out);
// Model-file parsing: '.' always, otherwise as above.
bool TryParseDouble(std::string_view text, double& out);

long long StrToInt(std::string_view text);  // throws EConvertError
long long StrToIntDef(std::string_view text, long long fallback);
bool TryStrToInt(std::string_view text, long long& out);

String Trim(std::string_view s);
String TrimLeft(std::string_view s);
String TrimRight(std::string_view s);
String UpperCase(std::string_view s);
String LowerCase(std::string_view s);
// Upper case of Windows-1252 letters, accented ones included.
String AnsiUpperCase(std::string_view s);
bool SameText(std::string_view a, std::string_view b);
int CompareText(std::string_view a, std::string_view b);
// 1-based position of sub in s, 0 when absent.
int Pos(std::string_view sub, std::string_view s);
// 1-based Copy(s, index, count); clamps like the run-time library.
String Copy(std::string_view s, int index, int count);
String StringReplaceAll(std::string_view s, std::string_view from, std::string_view to);
// printf-style formatting into a String.
String Format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

}  // namespace base
