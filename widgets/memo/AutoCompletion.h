#pragma once
// Completion list and parameter hint options of the editor, and the windows that show them.
#include <memory>
#include <string>
#include <vector>

#include "platform/graphics/Graphics.h"

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

// Entry text: a kind word, a blank and the name with its bracketed parameters, or the name alone.
std::string CompletionNamePart(const std::string& entry);  // after the first blank
std::string CompletionKey(const std::string& entry);       // the name part up to a blank, "(" or ";"

}  // namespace memo
