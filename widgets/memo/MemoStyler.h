#pragma once
// Stylers: descriptions of a language for the editor's painter (keywords, brackets,
// symbols, comments and numbers), and the predefined ones.
#include <memory>
#include <string>
#include <vector>

#include "base/StringList.h"
#include "platform/Classes.h"
#include "platform/graphics/Graphics.h"
#include "widgets/memo/MemoLists.h"

namespace memo {

class TExCustomMemo;
class TElementStyles;

// Colours and font style of a kind of text; BkColor clNone means the editor's background.
class TCharStyle : public platform::TPersistent {
public:
    TCharStyle() = default;
    TCharStyle(platform::TColor text, platform::TColor bk, platform::TFontStyles style)
        : TextColor(text), BkColor(bk), Style(style) {}
    void Assign(const platform::TPersistent& source) override;
    platform::TColor TextColor = platform::clBlack;
    platform::TColor BkColor = platform::clNone;
    platform::TFontStyles Style = 0;
};

enum TStyleType { stKeyword, stBracket, stSymbol };

// One element of a styler: a keyword list, a bracket pair or a set of symbols.
class TElementStyle {
public:
    explicit TElementStyle(TElementStyles* collection);
    ~TElementStyle();
    TElementStyle(const TElementStyle&) = delete;
    TElementStyle& operator=(const TElementStyle&) = delete;

    base::TStringList& KeyWords() { return keyWords_; }
    const base::TStringList& KeyWords() const { return keyWords_; }
    void SetKeyWords(const base::TStrings& words);
    platform::TFont& Font() { return font_; }
    const platform::TFont& Font() const { return font_; }
    void SetFont(const platform::TFont& f);
    platform::TColor BGColor() const { return bgColor_; }
    void SetBGColor(platform::TColor c);
    TStyleType StyleType() const { return styleType_; }
    void SetStyleType(TStyleType t);
    char BracketStart() const { return bracketStart_; }
    void SetBracketStart(char c);
    char BracketEnd() const { return bracketEnd_; }
    void SetBracketEnd(char c);
    const std::string& Symbols() const { return symbols_; }
    void SetSymbols(const std::string& s);
    const std::string& Info() const { return info_; }
    void SetInfo(const std::string& s);
    std::string DisplayName() const;
    void Assign(const TElementStyle& source);

    // Keyword lookup that ignores letter case (the list must be sorted).
    bool HasKeyword(const std::string& key) const;

private:
    void Changed();
    TElementStyles* collection_;
    base::TStringList keyWords_;
    platform::TFont font_;
    platform::TColor bgColor_;
    TStyleType styleType_ = stKeyword;
    char bracketStart_ = 0, bracketEnd_ = 0;
    std::string symbols_, info_;
};

class TElementStyles {
public:
    TElementStyles() = default;
    TElementStyles(const TElementStyles&) = delete;
    TElementStyles& operator=(const TElementStyles&) = delete;

    int Count() const { return int(items_.size()); }
    TElementStyle* Items(int i) const { return items_[std::size_t(i)].get(); }
    TElementStyle* Add();
    TElementStyle* Insert(int index);
    void Delete(int index);
    void Clear();
    void Assign(const TElementStyles& source);
    void Update();
    // A symbol of a symbol element or a bracket character of a bracket element.
    bool IsWordBoundary(char ch) const;

    TExCustomMemo* Memo() const { return memo_; }
    void SetMemo(TExCustomMemo* m) { memo_ = m; }
    bool Modified() const { return modified_; }
    void SetModified(bool v) { modified_ = v; }

private:
    std::vector<std::unique_ptr<TElementStyle>> items_;
    TExCustomMemo* memo_ = nullptr;
    bool modified_ = false;
};

// The parameter lists the editor's hint shows, and how calls are written.
class THintParameter {
public:
    platform::TColor TextColor = platform::clBlack;
    platform::TColor BkColor = platform::clInfoBk;
    char HintCharStart = '(', HintCharEnd = ')', HintCharDelimiter = ';', HintCharWriteDelimiter = ',';
    base::TStringList Parameters;  // signatures such as "alert(message)"
};

class TExCustomMemoStyler : public platform::TComponent {
public:
    explicit TExCustomMemoStyler(platform::TComponent* owner = nullptr);
    ~TExCustomMemoStyler() override;

    TElementStyles& AllStyles() { return allStyles_; }
    const TElementStyles& AllStyles() const { return allStyles_; }
    void SetStyles(const TElementStyles& styles);
    TCharStyle* CommentStyle() const { return commentStyle_.get(); }
    TCharStyle* NumberStyle() const { return numberStyle_.get(); }
    // Index 1 the comment style, 2 the number style; the styler keeps the given object.
    virtual void SetStyle(int index, TCharStyle* style);
    // Draws a keyword when CustomDraw is set; the base draws nothing.
    virtual void DrawKeyword(platform::TCanvas* canvas, const std::string& keyword, platform::TRect& rect);

    void Loaded() override;
    void Notification(platform::TComponent* c, TOperation op) override;
    void Update();

    std::string LineComment, MultiCommentLeft, MultiCommentRight;
    TExStringList listAuto;  // completion entries, the kind (0 to 6) as each one's tag
    void SetlistAuto(const base::TStrings& list) { listAuto.Assign(list); }
    THintParameter HintParameter;
    std::string NumericChars = "+-.0123456789";
    std::string HexPrefix;
    std::string BlockEnd, BlockStart;
    std::string EscapeChar;
    bool CustomDraw = false;
    // A bracket run (a quote) ends with its line instead of running on into the next.
    bool BracketEndsAtLineEnd = false;
    std::string Filter, DefaultExtension, Extensions, Description, StylerName;
    const std::string& Version() const { return version_; }

protected:
    std::string version_;

private:
    TElementStyles allStyles_;
    std::unique_ptr<TCharStyle> commentStyle_, numberStyle_;
};

class TExHTMLMemoStyler : public TExCustomMemoStyler {
public:
    explicit TExHTMLMemoStyler(platform::TComponent* owner = nullptr);
};

class TExWebMemoStyler : public TExCustomMemoStyler {
public:
    explicit TExWebMemoStyler(platform::TComponent* owner = nullptr);
};

class TExJSMemoStyler : public TExCustomMemoStyler {
public:
    explicit TExJSMemoStyler(platform::TComponent* owner = nullptr);
};

// The program's log window styler: ERROR and NOTE words, quoted text and punctuation;
// a quote ends with its line.
void SetupLogStyler(TExCustomMemoStyler& styler);

}  // namespace memo
