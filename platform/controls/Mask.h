#pragma once
// The masked edit: an edit whose text follows an edit mask, typed over position by position.
//
// An edit mask has up to three fields separated by ';': the mask, the save-literals
// flag ('0': the text leaves the literal characters out; anything else keeps them) and the
// blank character that shows an empty position ('_' by default). Mask characters:
//   L letter (required)    l letter (optional)
//   A letter or digit      a letter or digit (optional)
//   C any character        c any character (optional)
//   0 digit                9 digit (optional)      # digit, '+' or '-' (optional)
//   > upper case from here  < lower case from here  <> no case conversion from here
//   \ the next character is a literal              ! optional positions are leading blanks
//   : the time separator   / the date separator    _ a space
// Any other character is a literal, shown and skipped over by the caret.
#include <string>
#include <vector>

#include "base/Exception.h"
#include "platform/controls/Edit.h"

namespace platform {

// Raised by ValidateEdit for a text that leaves a required position empty.
class EDBEditError : public base::Exception {
public:
    using base::Exception::Exception;
};

// A parsed edit mask.
class TEditMask {
public:
    TEditMask() = default;
    explicit TEditMask(const std::string& mask);

    bool Empty() const { return cells_.empty(); }
    int Length() const { return int(cells_.size()); }
    bool SaveLiterals() const { return saveLiterals_; }
    char Blank() const { return blank_; }
    bool LeadingBlanks() const { return leadingBlanks_; }

    bool IsLiteral(int i) const { return cells_[std::size_t(i)].kind == 0; }
    bool IsRequired(int i) const;
    char Literal(int i) const { return cells_[std::size_t(i)].literal; }
    // The character c as position i takes it (case converted), or 0 when it does not fit.
    char Accept(int i, char c) const;

    // The edit text with every position empty: literals and blanks.
    std::string EmptyText() const;
    // The edit text that shows value (a text as Text gives it: with or without the literals
    // as the save-literals field says); characters that do not fit leave blanks.
    std::string EditTextOf(const std::string& value) const;
    // The text an edit text stands for: blanks as spaces, literals only when saved, the
    // trailing spaces (leading ones with '!') dropped.
    std::string TextOf(const std::string& editText) const;
    // The first required position that is blank in editText, or -1.
    int FirstMissing(const std::string& editText) const;

    // The next position at or after i that takes a character (Length() when none).
    int NextSlot(int i) const;
    // The last position before i that takes a character (-1 when none).
    int PrevSlot(int i) const;

private:
    struct Cell {
        int kind = 0;  // 0 literal, else the mask character
        char literal = 0;
        int caseMode = 0;  // 0 as typed, 1 upper, 2 lower
    };
    std::vector<Cell> cells_;
    bool saveLiterals_ = true;
    char blank_ = '_';
    bool leadingBlanks_ = false;
};

// value put through mask, as a masked edit with that mask would give it as Text.
std::string FormatMaskText(const std::string& editMask, const std::string& value);

class TCustomMaskEdit : public TCustomEdit {
public:
    explicit TCustomMaskEdit(TComponent* AOwner);

    const std::string& EditMask() const { return editMask_; }
    // A new mask keeps the text that fits it.
    void SetEditMask(const std::string& m);
    bool IsMasked() const { return !mask_.Empty(); }
    const TEditMask& Mask() const { return mask_; }

    // The text as the mask gives it (literals only when saved, blanks as spaces); without
    // a mask the window text.
    std::string Text() const;
    // Puts the value into the mask (without one, the window text).
    void SetText(const std::string& s) override;
    // The window text: literals and blank characters included.
    const std::string& EditText() const { return TCustomEdit::Text(); }
    void SetEditText(const std::string& s);
    // True when every position of the mask holds a character (no blank left).
    bool EditComplete() const;

    // Raises EDBEditError, with the caret on the first empty required position, unless
    // every required position holds a character. Leaving a modified edit validates it.
    virtual void ValidateEdit();
    // Raised after typing, pasting or deleting left the edit complete (EditComplete).
    TNotifyEvent OnEditComplete;

    void DefaultHandler(TMessage& m) override;
    void CMEnter(TMessage& m) override;
    void CMExit(TMessage& m) override;
    // Escape on a modified masked edit: back to the text it had when it took the focus.
    void Reset();

protected:
    virtual void DoEditComplete();

private:
    void TypeChar(char c);
    bool PutChar(char c, int& pos);
    void Paste(const std::string& s);
    void ClearSel();
    void Backspace();
    void DeleteKey();
    bool MoveKey(Word key);
    void Replace(int start, int end, const std::string& with, int caret);
    int Anchor() const;
    void AfterEdit(bool wasComplete);

    std::string editMask_;
    TEditMask mask_;
    std::string enterText_;
    bool reEnter_ = false;
};

class TMaskEdit : public TCustomMaskEdit {
public:
    using TCustomMaskEdit::TCustomMaskEdit;
};

}  // namespace platform
