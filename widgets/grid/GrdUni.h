#pragma once
// The grid's wide-text edit and combo box. The platform's edit and combo box keep their
// text in 8 bits (Windows-1252); these controls keep the wide text beside it, so that
// characters the 8-bit page lacks survive in Text, SelText and the items, and show it
// through the platform's wide drawing. A typed character of code 256 or more reaches the
// key-press handlers as 255 and, when they leave it alone, enters the text whole.
#include <memory>
#include <string>
#include <vector>

#include "platform/controls/ComboBox.h"
#include "platform/controls/Edit.h"
#include "widgets/grid/WideStrings.h"

namespace grid {

// The wide text of a control beside its 8-bit text. Whatever changed the 8-bit text,
// Sync keeps the wide characters outside the changed stretch; an edit announced with
// Expect takes the announced wide text for that stretch.
class TWideTextShadow {
public:
    // The wide text that belongs to the 8-bit text ansi.
    WideString Get(const std::string& ansi) const;
    void Set(const WideString& text) { wide_ = text; }
    void Sync(const std::string& ansi) const;
    // The characters start .. start + length - 1 of the 8-bit text ansi are about to become text.
    void Expect(const std::string& ansi, int start, int length, const WideString& text);

private:
    mutable WideString wide_;
    mutable bool expecting_ = false;
    mutable WideString expected_;
};

// A single-line edit holding wide text.
class TCustomUNIEdit : public platform::TCustomEdit {
public:
    explicit TCustomUNIEdit(platform::TComponent* AOwner);

    WideString Text() const;
    void SetText(const WideString& Value);
    void SetText(const std::string& s) override { SetText(platform::AnsiToWide(s)); }
    WideString SelText() const;
    void SetSelText(const WideString& Value);

    void Change() override;
    void WMChar(platform::TWMChar& m) override;
    bool WantsWideChars() const override { return true; }

protected:
    std::u16string ShownText() const override;

private:
    TWideTextShadow shadow_;
};

class TGrdUniEdit : public TCustomUNIEdit {
public:
    using TCustomUNIEdit::TCustomUNIEdit;
};

class TCustomUNIComboBox;

// The wide items of a TCustomUNIComboBox, kept in step with the platform's 8-bit items.
class TComboBoxStrings : public TWideStrings {
public:
    explicit TComboBoxStrings(TCustomUNIComboBox& combo) : combo_(combo) {}

    WideString Get(int index) const override;
    int GetCount() const override;
    void* GetObject(int index) const override;
    void PutObject(int index, void* obj) override;
    int Add(const WideString& s) override;
    void Insert(int index, const WideString& s) override;
    void Delete(int index) override;
    // Empties the list; the combo box keeps its text.
    void Clear() override;

protected:
    void SetUpdateState(bool updating) override;

private:
    platform::TListItems& Platform() const;
    // The wide copies, one per platform item (rebuilt when the 8-bit items changed behind our back).
    void Align() const;
    TCustomUNIComboBox& combo_;
    mutable std::vector<WideString> wide_;
};

class TCustomUNIComboBox : public platform::TCustomComboBox {
public:
    explicit TCustomUNIComboBox(platform::TComponent* AOwner);
    ~TCustomUNIComboBox() override;

    TComboBoxStrings& Items() { return *items_; }
    void SetItems(const TWideStrings& Value) { items_->Assign(Value); }
    WideString Text() const;
    void SetText(const WideString& Value);
    void SetText(const std::string& s) override;
    // The selected part of the edit's text; empty and ignored in the list styles.
    WideString SelText() const;
    void SetSelText(const WideString& Value);

    // Characters typed into the edit part pass here first (already narrowed to 8 bits).
    virtual void DoEditCharMsg(platform::TMessage& m) { (void)m; }
    void ComboWndProc(platform::TMessage& Message, platform::TWinControl* Child) override;
    void CNCommand(platform::TMessage& m) override;
    void KeyPress(char& Key) override;
    void Change() override;
    bool WantsWideChars() const override { return true; }

protected:
    std::u16string ShownItemText(int Index) const override;
    std::u16string ShownEditText(const std::string& text) const override;

private:
    friend class TComboBoxStrings;
    platform::TCustomEdit* Edit() const;
    std::unique_ptr<TComboBoxStrings> items_;
    TWideTextShadow shadow_;
};

}  // namespace grid
