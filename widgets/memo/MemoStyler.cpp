#include "widgets/memo/MemoStyler.h"

#include "base/StrUtils.h"
#include "widgets/memo/ExMemo.h"

namespace memo {

using namespace platform;

void TCharStyle::Assign(const TPersistent& source)
{
    if (auto* s = dynamic_cast<const TCharStyle*>(&source)) {
        TextColor = s->TextColor;
        BkColor = s->BkColor;
        Style = s->Style;
        return;
    }
    TPersistent::Assign(source);
}

// ---------------------------------------------------------------- elements

TElementStyle::TElementStyle(TElementStyles* collection) : collection_(collection)
{
    font_.SetName("Courier New");
    font_.SetSize(8);
    font_.SetColor(clBlack);
    bgColor_ = collection && collection->Memo() ? collection->Memo()->BkColor() : clWhite;
}

TElementStyle::~TElementStyle()
{
    if (collection_) collection_->SetModified(true);
}

void TElementStyle::Changed()
{
    if (collection_) collection_->Update();
}

void TElementStyle::SetKeyWords(const base::TStrings& words)
{
    const bool sorted = keyWords_.Sorted();
    keyWords_.SetSorted(false);
    keyWords_.Assign(words);
    keyWords_.SetSorted(sorted);
    Changed();
}

void TElementStyle::SetFont(const TFont& f)
{
    font_.Assign(f);
    Changed();
}

void TElementStyle::SetBGColor(TColor c)
{
    bgColor_ = c;
    Changed();
}

void TElementStyle::SetStyleType(TStyleType t)
{
    styleType_ = t;
    Changed();
}

void TElementStyle::SetBracketStart(char c)
{
    bracketStart_ = c;
    Changed();
}

void TElementStyle::SetBracketEnd(char c)
{
    bracketEnd_ = c;
    Changed();
}

void TElementStyle::SetSymbols(const std::string& s)
{
    symbols_ = s;
    Changed();
}

void TElementStyle::SetInfo(const std::string& s)
{
    info_ = s;
    Changed();
}

std::string TElementStyle::DisplayName() const { return info_.empty() ? "TElementStyle" : info_; }

void TElementStyle::Assign(const TElementStyle& source)
{
    if (&source == this) return;
    keyWords_.SetSorted(false);
    keyWords_.Assign(source.keyWords_);
    keyWords_.SetSorted(source.keyWords_.Sorted());
    font_.Assign(source.font_);
    bgColor_ = source.bgColor_;
    styleType_ = source.styleType_;
    bracketStart_ = source.bracketStart_;
    bracketEnd_ = source.bracketEnd_;
    symbols_ = source.symbols_;
    info_ = source.info_;
    Changed();
}

bool TElementStyle::HasKeyword(const std::string& key) const
{
    if (keyWords_.Sorted()) {
        int index = 0;
        return keyWords_.Find(key, index);
    }
    for (int i = 0; i < keyWords_.Count(); ++i)
        if (base::SameText(keyWords_.Get(i), key)) return true;
    return false;
}

TElementStyle* TElementStyles::Add() { return Insert(Count()); }

TElementStyle* TElementStyles::Insert(int index)
{
    if (index < 0) index = 0;
    if (index > Count()) index = Count();
    auto item = std::make_unique<TElementStyle>(this);
    TElementStyle* p = item.get();
    items_.insert(items_.begin() + index, std::move(item));
    Update();
    return p;
}

void TElementStyles::Delete(int index)
{
    if (index < 0 || index >= Count()) return;
    items_.erase(items_.begin() + index);
    Update();
}

void TElementStyles::Clear()
{
    items_.clear();
    Update();
}

void TElementStyles::Assign(const TElementStyles& source)
{
    if (&source == this) return;
    items_.clear();
    for (const auto& s : source.items_) {
        auto item = std::make_unique<TElementStyle>(this);
        item->Assign(*s);
        items_.push_back(std::move(item));
    }
    Update();
}

void TElementStyles::Update()
{
    if (memo_) memo_->LoadStyle();
}

bool TElementStyles::IsWordBoundary(char ch) const
{
    for (const auto& e : items_) {
        if (e->StyleType() == stSymbol && e->Symbols().find(ch) != std::string::npos) return true;
        if (e->StyleType() == stBracket && ch != 0 && (ch == e->BracketStart() || ch == e->BracketEnd())) return true;
    }
    return false;
}

// ---------------------------------------------------------------- stylers

TExCustomMemoStyler::TExCustomMemoStyler(TComponent* owner)
    : TComponent(owner),
      commentStyle_(std::make_unique<TCharStyle>(clSilver, clWhite, fsItalic)),
      numberStyle_(std::make_unique<TCharStyle>(clNavy, clWhite, fsBold))
{
}

TExCustomMemoStyler::~TExCustomMemoStyler()
{
    if (TExCustomMemo* m = allStyles_.Memo()) m->StylerGone(this);
}

void TExCustomMemoStyler::SetStyles(const TElementStyles& styles)
{
    allStyles_.Assign(styles);
    Update();
}

void TExCustomMemoStyler::SetStyle(int index, TCharStyle* style)
{
    if (!style) return;
    if (index == 1 && style != commentStyle_.get()) commentStyle_.reset(style);
    if (index == 2 && style != numberStyle_.get()) numberStyle_.reset(style);
}

void TExCustomMemoStyler::DrawKeyword(TCanvas*, const std::string&, TRect&) {}

void TExCustomMemoStyler::Loaded()
{
    TComponent::Loaded();
    if (!allStyles_.Modified()) allStyles_.Clear();
    Update();
}

void TExCustomMemoStyler::Notification(TComponent* c, TOperation op)
{
    TComponent::Notification(c, op);
    if (op == opRemove && allStyles_.Memo() && static_cast<TComponent*>(allStyles_.Memo()) == c)
        allStyles_.SetMemo(nullptr);
}

void TExCustomMemoStyler::Update() { allStyles_.Update(); }

namespace {

constexpr const char* kSymbols = " ,;:.()[]=-*/^%<>#\r\n";

TElementStyle* AddElement(TExCustomMemoStyler& s, TStyleType type, const std::string& info, TColor color,
                          TFontStyles style = 0)
{
    TElementStyle* e = s.AllStyles().Add();
    e->SetStyleType(type);
    e->SetInfo(info);
    e->Font().SetColor(color);
    e->Font().SetStyle(style);
    return e;
}

void AddKeywords(TElementStyle* e, std::initializer_list<const char*> words)
{
    for (const char* w : words) e->KeyWords().Add(w);
}

void SetBracket(TElementStyle* e, char c)
{
    e->SetBracketStart(c);
    e->SetBracketEnd(c);
}

void SetWebCommon(TExCustomMemoStyler& s)
{
    s.LineComment = "//";
    s.MultiCommentLeft = "<!--";
    s.MultiCommentRight = "-->";
    s.DefaultExtension = ".html";
    s.StylerName = "HTML document";
    s.Description = "Web pages";
    s.Filter = "HTML Document (*.htm,*.html)|*.htm;*.html";
}

void AddScriptDefaults(TElementStyle* e)
{
    AddKeywords(e, {"SCRIPT", "OBJECT", "FOR", "IF", "THEN", "THIS", "DO", "WHILE", "BREAK", "{", "}", "(", ")",
                    "SWITCH", "ELSE", "FUNCTION", "WINDOW", "DOCUMENT", ";", "RETURN", "STYLE", "VAR", "WINDOW",
                    "LOCATION"});
}

void AddScriptTail(TExCustomMemoStyler& s, const char* singleQuoteInfo, bool withHtml)
{
    AddScriptDefaults(AddElement(s, stKeyword, "Script Standard Default", clFuchsia, fsBold));
    if (withHtml)
        AddKeywords(AddElement(s, stKeyword, "HTML Standard Default", clFuchsia, fsBold),
                    {"A", "B", "I", "U", "P", "BASE", "BLINK", "LINK", "FONT", "STRONG", "IMG", "BASEFONT",
                     "BGSOUND", "DD", "DEL", "DFN", "DIR", "DIV", "DL", "DT", "COL", "BR", "HR", "COLGROUP", "TABLE",
                     "MULTICOL", "TBODY", "TD", "TEXTAREA", "TFOOT", "TH", "THEAD", "TR", "TT", "CAPTION", "CENTER",
                     "CITE", "CODE", "BLOCKQUOTE", "FORM", "FRAME", "IFRAME", "ILAYER", "FRAMESET", "BUTTON",
                     "LABEL", "LAYER", "OPTION"});
    SetBracket(AddElement(s, stBracket, singleQuoteInfo, clGreen), '\'');
    SetBracket(AddElement(s, stBracket, "Double Quote", clTeal), '"');
    AddElement(s, stSymbol, "Symbols Delimiters", clTeal)->SetSymbols(kSymbols);
    AddKeywords(AddElement(s, stKeyword, "JavaScript Functions", clGreen, fsBold),
                {"alert", "confirm", "prompt", "indexOf", "select", "write", "focus"});
    for (const char* w : {"alert", "confirm", "prompt"}) s.listAuto.Add(w);
    for (const char* h : {"alert(message)", "confirm(message)", "prompt(message,defaultvalue)"})
        s.HintParameter.Parameters.Add(h);
}

}  // namespace

TExHTMLMemoStyler::TExHTMLMemoStyler(TComponent* owner) : TExCustomMemoStyler(owner)
{
    version_ = "1.0";
    SetWebCommon(*this);
    Extensions = "htm;html";
    NumberStyle()->TextColor = clBlack;
    NumberStyle()->Style = 0;
    AddKeywords(AddElement(*this, stKeyword, "HTML Standard Default", clNavy),
                {"&lt",      "ABREV",    "ACRONYM",   "ADDRESS",   "APPLET",  "AREA",     "AU",      "AUTHOR",
                 "B",        "BANNER",   "BASE",      "BASEFONT",  "BGSOUND", "BIG",      "BLINK",   "BLOCQUOTE",
                 "BODY",     "BQ",       "BR",        "CAPTION",   "CENTER",  "CITE",     "CODE",    "COL",
                 "COLGROUP", "COMMENT",  "CREDIT",    "DEL",       "DFN",     "DIR",      "DIV",     "DL",
                 "DT",       "DD",       "EM",        "EMBED",     "FIG",     "FN",       "FONT",    "FORM",
                 "FRAME",    "FRAMESET", "HEAD",      "H1",        "H2",      "H3",       "H4",      "H5",
                 "H6",       "HR",       "HTML",      "I",         "IFRAME",  "IMG",      "INPUT",   "INS",
                 "ISINDEX",  "KBD",      "LANG",      "LH",        "LI",      "LINK",     "LISTING", "MAP",
                 "MARQUEE",  "MATH",     "MENU",      "META",      "MULTICOL", "NOBR",    "NOFRAMES", "NOTE",
                 "OL",       "OVERLAY",  "P",         "PARAM",     "PERSON",  "PLAINTEXT", "PRE",    "Q",
                 "RANGE",    "SAMP",     "SCRIPT",    "SELECT",    "SMALL",   "SPACER",   "SPOT",    "STRIKE",
                 "STRONG",   "SUB",      "SUP",       "TAB",       "TBODY",   "TEXTAREA", "TEXTFLOW", "TFOOT",
                 "TH",       "THEAD",    "TITLE",     "TT",        "U",       "UL",       "VAR",     "WBR",
                 "XMP",      "DOCTYPE",  "PUBLIC"});
    AddKeywords(AddElement(*this, stKeyword, "HTML Table Keywords", clTeal),
                {"TABLE", "BORDER", "TD", "TR", "STYLE", "BORDERCOLOR", "WIDTH", "ID", "BORDERCOLORLIGHT",
                 "BORDERCOLORDARK"});
    AddKeywords(AddElement(*this, stKeyword, "HTML Link Keywords", clRed), {"A", "HREF"});
    SetBracket(AddElement(*this, stBracket, "Simple Bracket", clBackground), '\'');
    SetBracket(AddElement(*this, stBracket, "Double Bracket", clBlue), '"');
    AddElement(*this, stSymbol, "Symbols Delimiters", clTeal)->SetSymbols(kSymbols);
    AllStyles().SetModified(false);
}

TExWebMemoStyler::TExWebMemoStyler(TComponent* owner) : TExCustomMemoStyler(owner)
{
    version_ = "1.0";
    SetWebCommon(*this);
    Extensions = "html;htm";
    BlockStart = "{";
    BlockEnd = "}";
    AddScriptTail(*this, "Single Quote", true);
    AllStyles().SetModified(false);
}

TExJSMemoStyler::TExJSMemoStyler(TComponent* owner) : TExCustomMemoStyler(owner)
{
    version_ = "1.0";
    SetWebCommon(*this);
    Description = "JavaScript";
    Filter = "Javascript Files (*.js)|*.js";
    DefaultExtension = ".js";
    StylerName = "JavaScript";
    Extensions = "js";
    BlockStart = "{";
    BlockEnd = "}";
    AddScriptTail(*this, "Simple Quote", false);
    AllStyles().SetModified(false);
}

void SetupLogStyler(TExCustomMemoStyler& s)
{
    s.LineComment = "//";
    s.MultiCommentLeft = "<!--";
    s.MultiCommentRight = "-->";
    s.CommentStyle()->TextColor = clSilver;
    s.CommentStyle()->BkColor = clWhite;
    s.CommentStyle()->Style = fsItalic;
    s.NumberStyle()->TextColor = clBlack;
    s.NumberStyle()->BkColor = clWhite;
    s.NumberStyle()->Style = 0;
    s.BracketEndsAtLineEnd = true;
    s.AllStyles().Clear();
    AddKeywords(AddElement(s, stKeyword, "ERROR marker", clRed, fsBold), {"ERROR"});
    SetBracket(AddElement(s, stBracket, "Simple Bracket", clBackground), '\'');
    SetBracket(AddElement(s, stBracket, "Double Bracket", clBlue), '"');
    AddElement(s, stSymbol, "Symbols Delimiters", clTeal)->SetSymbols(kSymbols);
    AddKeywords(AddElement(s, stKeyword, "NOTE marker", clBlue, fsBold), {"NOTE"});
    for (int i = 0; i < s.AllStyles().Count(); ++i) s.AllStyles().Items(i)->SetBGColor(clWhite);
    s.AllStyles().SetModified(true);
}

}  // namespace memo
