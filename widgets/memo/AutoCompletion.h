#pragma once
// Completion list and parameter hint options of the editor, and the windows that show them.
#include <memory>
#include <string>
#include <vector>

#include "base/StringList.h"
#include "platform/controls/ListBox.h"
#include "platform/graphics/Graphics.h"

namespace platform {
class TForm;
class TImageList;
class TTimer;
class THintWindow;
}

namespace memo {

class TExCustomMemo;

class TAutoCompletion {
public:
    explicit TAutoCompletion(TExCustomMemo* memo);
    ~TAutoCompletion();

    bool Active = true;
    bool AutoDisplay = true;  // the completion timer may open the list
    int Delay() const { return delay_; }
    void SetDelay(int ms);  // also the completion timer's interval
    int Width = 200, Height = 100;
    bool SizeDropDown = true;
    platform::TColor Color = platform::clWindow;
    platform::TFont& Font() { return font_; }
    const platform::TFont& Font() const { return font_; }
    bool ShowImages() const { return showImages_; }
    void SetShowImages(bool v);
    // Colours of an entry's kind word, kinds 0 to 6.
    platform::TColor ColorIdentifier = 0x808000, ColorVar = 0xFF0000, ColorProp = 0x808000, ColorEvent = 0x0000FF,
                     ColorMethod = 0x800000, ColorFunc = 0x800000, ColorProc = 0x800000;
    platform::TColor KindColor(int kind) const;

private:
    TExCustomMemo* memo_;
    int delay_ = 500;
    bool showImages_ = false;
    platform::TFont font_;
};

// The drop-down list: each entry's kind word in its kind's colour, the name up to "(" in bold;
// with ShowImages the kind's picture before it (variable, property, event, procedure and
// method pictures; functions show the procedure's, identifiers none).
class TAutoCompletionListBox : public platform::TCustomListBox {
public:
    explicit TAutoCompletionListBox(platform::TComponent* owner);
    ~TAutoCompletionListBox() override;
    platform::TColor KindColors[7] = {};
    bool ShowImages = false;
    int AutoAdaptWidth();  // also sets the row height
    void DrawItem(int index, const platform::TRect& rect, platform::TOwnerDrawState state) override;
    // The five pictures become images 0 to 4 of images (those it has); nullptr brings back
    // the list's own.
    void SetImages(platform::TImageList* images);
    platform::TImageList* Images() const { return images_; }
    void Notification(platform::TComponent* AComponent, TOperation Operation) override;
    // The picture a kind shows, -1 for none.
    static int KindImage(int kind);
    const platform::TImageList& Pictures() const { return *pictures_; }

private:
    int kindWidth_ = 0;
    std::unique_ptr<platform::TImageList> pictures_;
    platform::TImageList* images_ = nullptr;
};

// The completion list window, the parameter hint window and their timers of one editor.
class TCompletionPopup {
public:
    explicit TCompletionPopup(TExCustomMemo* memo);
    ~TCompletionPopup();

    platform::TForm* Window = nullptr;
    TAutoCompletionListBox* List = nullptr;
    base::TStringList Candidates;
    bool TokenMode = false;
    int TokenX = 0, TokenY = 0;
    platform::TTimer* CompletionTimer = nullptr;
    platform::TTimer* HintTimer = nullptr;
    platform::THintWindow* Hint = nullptr;
    std::string Parts[3];
    int BoldPart = 0;  // 0 none, else 1 to 3
    std::unique_ptr<platform::TComponent> owner;
};

// Entry text: a kind word, a blank and the name with its bracketed parameters, or the name alone.
std::string CompletionNamePart(const std::string& entry);  // after the first blank
std::string CompletionKey(const std::string& entry);       // the name part up to a blank, "(" or ";"

}  // namespace memo
