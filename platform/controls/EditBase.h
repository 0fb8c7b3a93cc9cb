#pragma once
// What the text-editing controls share: their own handling (DefaultHandler) runs after
// the inherited key and focus handlers, which may drop a key or free the control, and
// before the inherited mouse handlers; the I-beam cursor; the selection messages.
#include "platform/controls/Controls.h"

namespace platform {

class TEditBase : public TWinControl {
public:
    using TWinControl::TWinControl;

    void WMChar(TWMChar& m) override;
    void WMKeyDown(TWMKeyDown& m) override;
    void WMSetFocus(TWMSetFocus& m) override;
    void WMKillFocus(TWMKillFocus& m) override;
    void WMLButtonDown(TWMMouse& m) override;
    void WMLButtonDblClk(TWMMouse& m) override;
    void WMLButtonUp(TWMMouse& m) override;
    void WMMouseMove(TWMMouseMove& m) override;

    // The text area in client coordinates (EM_GETRECT / EM_SETRECT): by default the
    // client area less a pixel at the left, right and top, as the platform's edit keeps.
    TRect FormatRect() const;

protected:
    // EM_GETRECT answered, or EM_SETRECT / EM_SETRECTNP taken (a null rectangle gives
    // back the default); true for those messages.
    bool FormatRectMessage(TMessage& m);
    // A new size gives the text area back its default.
    void ResetFormatRect() { formatRectSet_ = false; }
    // The control characters of Ctrl+A (select all), Ctrl+C, Ctrl+V and Ctrl+X; true when
    // c was one of them.
    bool ClipboardChar(char c);
    // EM_GETSEL answered with the selection start..end.
    static void AnswerGetSel(TMessage& m, int start, int end);
    // EM_SETSEL read for a text of length characters: false when it removes the
    // selection, else anchor and caret (an end of -1 or past the text is the end).
    static bool ReadSetSel(const TMessage& m, int length, int& anchor, int& caret);

private:
    TRect formatRect_;
    bool formatRectSet_ = false;
};

}  // namespace platform
