#pragma once
// Rich text as the components exchange it: fonts, sizes, bold, italic, underline, text
// colours, raised and lowered text, and paragraphs with their alignment. ReadRTF takes
// that subset out of any RTF (the rest is skipped); WriteRTF writes it back.
#include <string>
#include <vector>

#include "platform/Types.h"

namespace platform {

struct TRichCharFormat {
    std::string FontName;   // empty: the document's default font
    int HalfPoints = 24;    // size in half points
    bool Bold = false, Italic = false, Underline = false;
    TColor Color = clNone;  // clNone: the automatic text colour
    int Offset = 0;         // twips above (positive) or below the base line
    bool operator==(const TRichCharFormat&) const = default;
};

enum class TRichAlign { Left, Center, Right, Justify };

struct TRichRun {
    TRichCharFormat Format;
    std::string Text;  // UTF-8; '\t' a tab, '\n' a line break inside the paragraph
    bool operator==(const TRichRun&) const = default;
};

struct TRichParagraph {
    std::vector<TRichRun> Runs;
    TRichAlign Align = TRichAlign::Left;
    TRichCharFormat Mark;  // format of the paragraph mark (the height of an empty line)
    bool operator==(const TRichParagraph&) const = default;
};

// A document: at least one paragraph once read.
struct TRichContent {
    std::vector<TRichParagraph> Paragraphs;
    bool operator==(const TRichContent&) const = default;
    // The text, paragraphs separated by CR LF, in UTF-8.
    std::string PlainText() const;
    // Adds text in a format to the last paragraph, joining a run of the same format.
    void Append(const TRichCharFormat& f, const std::string& utf8);
};

// Reads RTF. False, with a reason in error, when the text is not RTF (it must start with
// "{\rtf") or nests groups deeper than the reader follows; content is then untouched.
// A document cut short is read as far as it goes.
bool ReadRTF(const std::string& rtf, TRichContent& content, std::string* error = nullptr);

// Writes RTF (7-bit: Windows-1252 characters as \'hh, the rest as \u). Runs without a
// font name are written in defaultFont.
std::string WriteRTF(const TRichContent& content, const std::string& defaultFont = "Arial");

}  // namespace platform
