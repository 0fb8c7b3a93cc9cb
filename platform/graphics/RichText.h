#pragma once
// A rich-text document held in the host's text document: loaded from and saved to RTF,
// laid out, measured and drawn on a device context, and edited through character
// positions (paragraph ends count as one character each).
#include <memory>
#include <string>

#include "platform/graphics/Rtf.h"
#include "platform/Types.h"

namespace platform {

struct DeviceContext;

enum TRichFormatPart : unsigned {
    rfFont = 1, rfSize = 2, rfBold = 4, rfItalic = 8, rfUnderline = 16, rfColor = 32, rfOffset = 64
};

class TRichDocument {
public:
    TRichDocument();
    ~TRichDocument();
    TRichDocument(const TRichDocument&) = delete;
    TRichDocument& operator=(const TRichDocument&) = delete;

    // False (document unchanged, reason in error) when the text is not readable RTF.
    bool LoadRTF(const std::string& rtf, std::string* error = nullptr);
    std::string SaveRTF() const;
    void SetContent(const TRichContent& content);
    TRichContent Content() const;
    // 8-bit text (CR LF between paragraphs) in the default format.
    void SetPlainText(const std::string& text);
    std::string PlainText() const;
    void Clear();
    bool Empty() const;  // no characters at all

    // The format of text that has none of its own (the control's font).
    void SetDefaultFormat(const std::string& fontName, int halfPoints);
    const TRichCharFormat& DefaultFormat() const { return default_; }

    // Layout width in pixels; 0 lays out without wrapping.
    void SetWrapWidth(int width);
    int WrapWidth() const { return wrapWidth_; }
    // Pixel size of the laid-out text.
    TSize ContentSize() const;

    // Draws the text with its top-left corner at rect's, clipped to rect. Text with the
    // automatic colour is drawn in textColor; forceColor other than clNone recolours all.
    // A selection is shown in the highlight colours.
    void Draw(DeviceContext* dc, const TRect& rect, TColor textColor, TColor forceColor = clNone, int selStart = 0,
              int selLength = 0) const;

    // Editing by character position.
    int Length() const;  // characters, paragraph ends between paragraphs included
    std::string Text(int start, int length) const;  // 8-bit, paragraph ends as CR LF
    void Insert(int pos, const std::string& text, const TRichCharFormat* format = nullptr);  // 8-bit
    void Remove(int start, int length);
    TRichCharFormat FormatAt(int pos) const;  // of the character before pos (after, at 0)
    // Takes the parts of f that mask names (TRichFormatPart flags) over the range.
    void ApplyFormat(int start, int length, const TRichCharFormat& f, unsigned mask);
    void SetOffset(int start, int length, int offset);
    void SetColor(int start, int length, TColor color);

    // Layout geometry, in pixels from the text's top-left corner.
    int PositionAt(TPoint p) const;     // the nearest character boundary
    TRect CaretRect(int pos) const;     // one pixel wide, a line high
    int LineOf(int pos) const;          // visual line, counted from 0
    int PositionInLine(int line, int x) const;  // -1 when the line does not exist
    int LineStart(int pos) const;
    int LineEnd(int pos) const;

    // How often the layout has been told of a change so far (each notice has it lay the
    // changed paragraph out again and find its place): for tests.
    long LayoutNotices() const;

private:
    void DrawAsText(DeviceContext* dc, const TRect& rect, TColor textColor, TColor forceColor) const;
    struct Impl;
    std::unique_ptr<Impl> d_;
    TRichCharFormat default_;
    int wrapWidth_ = 0;
};

}  // namespace platform
