#pragma once
// The system clipboard: text, bitmaps and formats registered by name.
#include <string>
#include <vector>

#include "platform/Types.h"

namespace platform {

class TBitmap;

enum : UINT { CF_TEXT = 1, CF_BITMAP = 2, CF_METAFILEPICT = 3, CF_DIB = 8, CF_UNICODETEXT = 13, CF_ENHMETAFILE = 14 };

// The same name always gives the same identifier (0xC000 and up).
UINT RegisterClipboardFormat(const std::string& name);
std::string GetClipboardFormatName(UINT format);

class TClipboard {
public:
    // Formats set between Open and Close go on the clipboard together; the first one
    // set replaces what was there. Outside Open/Close each set replaces the contents.
    void Open();
    void Close();
    void Clear();
    bool HasFormat(UINT format) const;
    std::vector<UINT> Formats() const;

    std::string AsText() const;  // Windows-1252; empty when there is no text
    void SetAsText(const std::string& text);
    void SetFormatData(UINT format, const std::string& bytes);
    std::string GetFormatData(UINT format) const;  // empty when absent
    void Assign(const TBitmap& bitmap);
    bool GetBitmap(TBitmap& bitmap) const;  // false when there is no picture

private:
    int openCount_ = 0;
};

TClipboard* Clipboard();

}  // namespace platform
