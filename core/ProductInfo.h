#pragma once
// Who makes the program: one place for the name, web address and author line that
// files, exports and the about box show.

namespace core {

inline constexpr char kProductName[] = "Korvelo";
inline constexpr char kProductWebAddress[] = "korvelo.org";
inline constexpr char kProductAuthor[] = "The Korvelo developers";

}  // namespace core
