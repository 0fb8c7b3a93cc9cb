// The editor's options in an INI file: look, editing switches, completion, printing and markers.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

#include "base/Exception.h"
#include "base/FileUtils.h"
#include "base/IniFile.h"
#include "base/StrUtils.h"
#include "platform/graphics/ColorNames.h"
#include "widgets/memo/AutoCompletion.h"
#include "widgets/memo/ExMemo.h"
#include "widgets/memo/Gutter.h"
#include "widgets/memo/MemoMarkers.h"
#include "widgets/memo/MemoPrint.h"
#include "widgets/memo/MemoStyler.h"

namespace memo {

using namespace platform;

namespace {

const char* const kSection = "Memo Settings";
const char* const kPrefixSection = "Memo Setings";  // the page prefix's section, as the files have it
constexpr std::size_t kMaxValue = 2047;

struct Key {
    std::string name;
    std::function<std::string()> save;
    std::function<void(const std::string&)> load;  // given the value read, or the current text
    const char* section = kSection;
};

std::string BoolText(bool v) { return v ? "1" : "0"; }

// Decimal, "$" hexadecimal or "0x" hexadecimal; fallback for anything else.
long long ReadNumber(const std::string& s, long long fallback)
{
    std::string digits = s;
    int radix = 10;
    if (!s.empty() && s[0] == '$') {
        digits = s.substr(1);
        radix = 16;
    } else if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        digits = s.substr(2);
        radix = 16;
    }
    if (radix == 10) return base::StrToIntDef(s, fallback);
    if (digits.empty() || digits.size() > 8 || digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
        return fallback;
    return std::int32_t(std::stoul(digits, nullptr, 16));
}

std::string StyleText(TFontStyles s)
{
    std::string out;
    if (s & fsBold) out += "fsBold";
    if (s & fsItalic) out += "fsItalic";
    if (s & fsUnderline) out += "fsUnderline";
    if (s & fsStrikeOut) out += "fsStrikeOut";
    return out;
}

// Styles named in the text are added; none is taken away.
TFontStyles AddStyles(TFontStyles s, const std::string& text)
{
    if (text.find("fsBold") != std::string::npos) s |= fsBold;
    if (text.find("fsItalic") != std::string::npos) s |= fsItalic;
    if (text.find("fsUnderline") != std::string::npos) s |= fsUnderline;
    if (text.find("fsStrikeOut") != std::string::npos) s |= fsStrikeOut;
    return s;
}

// A colour that does not read keeps the current one.
Key ColorKey(std::string name, std::function<TColor()> get, std::function<void(TColor)> set)
{
    return {std::move(name), [get] { return ColorToString(get()); },
            [set](const std::string& v) {
                try {
                    set(StringToColor(v));
                } catch (const base::Exception&) {
                }
            }};
}

Key BoolKey(std::string name, std::function<bool()> get, std::function<void(bool)> set)
{
    return {std::move(name), [get] { return BoolText(get()); },
            [get, set](const std::string& v) { set(ReadNumber(v, get() ? 1 : 0) != 0); }};
}

// Ranges the editor can draw and work with: a value beyond one is taken to its nearer end.
struct Range {
    int min, max;
};
constexpr Range kPixels{0, 2000};          // gutter and margin widths
constexpr Range kColumns{0, 10000};        // right margin
constexpr Range kTabSize{1, 64};
constexpr Range kDigits{1, 18};
constexpr Range kLineStart{0, 1000000000};  // leaves room for the line count
constexpr Range kFontSize{-400, 400};       // negative: a height in pixels
constexpr Range kDelay{0, 60000};           // milliseconds
constexpr Range kCount{0, 1000000};
constexpr Range kIndex{-1, 1000000};

Key IntKey(std::string name, std::function<int()> get, std::function<void(int)> set, Range range)
{
    return {std::move(name), [get] { return std::to_string(get()); },
            [get, set, range](const std::string& v) {
                const long long n = ReadNumber(v, get());
                set(int(std::clamp<long long>(n, range.min, range.max)));
            }};
}

Key StringKey(std::string name, std::function<std::string()> get, std::function<void(const std::string&)> set,
              const char* section = kSection)
{
    return {std::move(name), get, set, section};
}

// Name, colour, size and style of a font under four keys.
void FontKeys(std::vector<Key>& keys, const std::string& prefix, TFont& f)
{
    keys.push_back(StringKey(prefix + "Name", [&f] { return f.Name(); }, [&f](const std::string& v) { f.SetName(v); }));
    keys.push_back(ColorKey(prefix + "Color", [&f] { return f.Color(); }, [&f](TColor c) { f.SetColor(c); }));
    keys.push_back(IntKey(prefix + "Size", [&f] { return f.Size(); }, [&f](int v) { f.SetSize(v); }, kFontSize));
    keys.push_back({prefix + "Style", [&f] { return StyleText(f.Style()); },
                    [&f](const std::string& v) { f.SetStyle(AddStyles(f.Style(), v)); }});
}

// The keys in the order both operations handle them.
std::vector<Key> SettingsKeys(TExCustomMemo& m, TExGutter& g, TExActiveLineSettings& a, TAutoCompletion& ac,
                                     TPrintOptions& po, TExMarkerList& ml, TCharStyle& url,
                                     std::function<void(TWordWrap)> setWrap, std::function<void(bool)> setCase,
                                     std::function<void(int)> setUndoLimit, std::function<void(bool)> setUseStyler)
{
    std::vector<Key> k;
    k.push_back(ColorKey("ActiveLineColor", [&a] { return a.ActiveLineColor(); }, [&a](TColor c) { a.SetActiveLineColor(c); }));
    k.push_back(ColorKey("ActiveLineTextColor", [&a] { return a.ActiveLineTextColor(); },
                         [&a](TColor c) { a.SetActiveLineTextColor(c); }));
    k.push_back(BoolKey("ShowActiveLine", [&a] { return a.ShowActiveLine(); }, [&a](bool v) { a.SetShowActiveLine(v); }));
    k.push_back(BoolKey("ShowActiveLineIndicator", [&a] { return a.ShowActiveLineIndicator(); },
                        [&a](bool v) { a.SetShowActiveLineIndicator(v); }));
    k.push_back(BoolKey("ShowGutter", [&g] { return g.Visible(); }, [&g](bool v) { g.SetVisible(v); }));
    k.push_back(IntKey("GutterDigitCount", [&g] { return g.DigitCount(); }, [&g](int v) { g.SetDigitCount(v); }, kDigits));
    k.push_back(ColorKey("GutterColor", [&g] { return g.GutterColor(); }, [&g](TColor c) { g.SetGutterColor(c); }));
    k.push_back(ColorKey("GutterColorTo", [&g] { return g.GutterColorTo(); }, [&g](TColor c) { g.SetGutterColorTo(c); }));
    k.push_back(IntKey("GutterMargin", [&g] { return g.GutterMargin(); }, [&g](int v) { g.SetGutterMargin(v); }, kPixels));
    k.push_back(IntKey("GutterWidth", [&g] { return g.GutterWidth(); }, [&g](int v) { g.SetGutterWidth(v); }, kPixels));
    k.push_back(BoolKey("ShowLineNumbers", [&g] { return g.ShowLineNumbers(); }, [&g](bool v) { g.SetShowLineNumbers(v); }));
    k.push_back(IntKey("LineNumberStart", [&g] { return g.LineNumberStart(); }, [&g](int v) { g.SetLineNumberStart(v); }, kLineStart));
    k.push_back(ColorKey("LineNumberTextColor", [&g] { return g.LineNumberTextColor(); },
                         [&g](TColor c) { g.SetLineNumberTextColor(c); }));
    k.push_back(BoolKey("ShowLeadingZeros", [&g] { return g.ShowLeadingZeros(); }, [&g](bool v) { g.SetShowLeadingZeros(v); }));
    TFont& gf = g.Font();
    k.push_back(StringKey("GutterFontName", [&gf] { return gf.Name(); }, [&gf](const std::string& v) { gf.SetName(v); }));
    k.push_back(ColorKey("GutterFontColor", [&gf] { return gf.Color(); }, [&gf](TColor c) { gf.SetColor(c); }));
    k.push_back(IntKey("GutterFontSize", [&gf] { return gf.Size(); }, [&gf](int v) { gf.SetSize(v); }, kFontSize));
    k.push_back(StringKey("GutterNumberSuffix", [&g] { return g.NumberSuffix(); },
                          [&g](const std::string& v) { g.SetNumberSuffix(v); }));
    k.push_back({"GutterFontStyle", [&gf] { return StyleText(gf.Style()); },
                 [&gf](const std::string& v) { gf.SetStyle(AddStyles(gf.Style(), v)); }});
    k.push_back(BoolKey("AutoCompletionActive", [&ac] { return ac.Active; }, [&ac](bool v) { ac.Active = v; }));
    const std::pair<const char*, TColor TAutoCompletion::*> colours[] = {
        {"AutoCompletionColor", &TAutoCompletion::Color},           {"AutoCompletionColorEvent", &TAutoCompletion::ColorEvent},
        {"AutoCompletionColorFunc", &TAutoCompletion::ColorFunc},   {"AutoCompletionColorIdentifier", &TAutoCompletion::ColorIdentifier},
        {"AutoCompletionColorMethod", &TAutoCompletion::ColorMethod}, {"AutoCompletionColorProc", &TAutoCompletion::ColorProc},
        {"AutoCompletionColorVar", &TAutoCompletion::ColorVar}};
    for (const auto& colour : colours) {
        TColor TAutoCompletion::*field = colour.second;
        k.push_back(ColorKey(colour.first, [&ac, field] { return ac.*field; }, [&ac, field](TColor c) { ac.*field = c; }));
    }
    k.push_back(IntKey("AutoCompletionDelay", [&ac] { return ac.Delay(); }, [&ac](int v) { ac.SetDelay(v); }, kDelay));
    k.push_back(BoolKey("AutoCompletionShowImages", [&ac] { return ac.ShowImages(); }, [&ac](bool v) { ac.SetShowImages(v); }));
    k.push_back(BoolKey("AutoCompletionSizeDropDown", [&ac] { return ac.SizeDropDown; }, [&ac](bool v) { ac.SizeDropDown = v; }));
    k.push_back(IntKey("AutoCompletionWidth", [&ac] { return ac.Width; }, [&ac](int v) { ac.Width = v; }, kPixels));
    FontKeys(k, "AutoCompletionFont", ac.Font());
    k.push_back(IntKey("AutoHintParameterDelay", [&m] { return m.AutoHintParameterDelay(); },
                       [&m](int v) { m.SetAutoHintParameterDelay(v); }, kDelay));
    k.push_back({"AutoHintParameters",
                 [&m] {
                     const TAutoHintParameters v = m.AutoHintParameters();
                     return std::string(v == hpAuto ? "hpAuto" : v == hpManual ? "hpManual" : "hpNone");
                 },
                 [&m](const std::string& v) {
                     if (v == "hpAuto") m.SetAutoHintParameters(hpAuto);
                     if (v == "hpNone") m.SetAutoHintParameters(hpNone);
                     if (v == "hpManual") m.SetAutoHintParameters(hpManual);
                 }});
    k.push_back({"AutoHintParameterPosition",
                 [&m] { return std::string(m.AutoHintParameterPosition == hpBelowCode ? "hpBelowCode" : "hpAboveCode"); },
                 [&m](const std::string& v) { m.AutoHintParameterPosition = v == "hpBelowCode" ? hpBelowCode : hpAboveCode; }});
    k.push_back(BoolKey("AutoIndent", [&m] { return m.AutoIndent; }, [&m](bool v) { m.AutoIndent = v; }));
    k.push_back(ColorKey("BkColor", [&m] { return m.BkColor(); }, [&m](TColor c) { m.SetBkColor(c); }));
    k.push_back(ColorKey("BlockColor", [&m] { return m.BlockColor; }, [&m](TColor c) { m.BlockColor = c; }));
    k.push_back(ColorKey("BlockLineColor", [&m] { return m.BlockLineColor; }, [&m](TColor c) { m.BlockLineColor = c; }));
    k.push_back(ColorKey("BreakpointColor", [&m] { return m.BreakpointColor(); }, [&m](TColor c) { m.SetBreakpointColor(c); }));
    k.push_back(ColorKey("BreakpointTextColor", [&m] { return m.BreakpointTextColor(); },
                         [&m](TColor c) { m.SetBreakpointTextColor(c); }));
    k.push_back(BoolKey("BlockShow", [&m] { return m.BlockShow; }, [&m](bool v) { m.BlockShow = v; }));
    k.push_back(BoolKey("CaseSensitive", [&m] { return m.CaseSensitive(); }, setCase));
    k.push_back(BoolKey("DelErase", [&m] { return m.DelErase; }, [&m](bool v) { m.DelErase = v; }));
    k.push_back(BoolKey("EnhancedHomeKey", [&m] { return m.EnhancedHomeKey; }, [&m](bool v) { m.EnhancedHomeKey = v; }));
    FontKeys(k, "Font", *m.MemoFont());
    k.push_back(BoolKey("HiddenCaret", [&m] { return m.HiddenCaret(); }, [&m](bool v) { m.SetHiddenCaret(v); }));
    k.push_back(BoolKey("HideSelection", [&m] { return m.HideSelection(); }, [&m](bool v) { m.SetHideSelection(v); }));
    k.push_back(BoolKey("ReadOnly", [&m] { return m.ReadOnly; }, [&m](bool v) { m.ReadOnly = v; }));
    k.push_back(IntKey("RightMargin", [&m] { return m.RightMargin(); }, [&m](int v) { m.SetRightMargin(v); }, kColumns));
    k.push_back(ColorKey("RightMarginColor", [&m] { return m.RightMarginColor(); }, [&m](TColor c) { m.SetRightMarginColor(c); }));
    k.push_back(BoolKey("ShowRightMargin", [&m] { return m.ShowRightMargin; }, [&m](bool v) { m.ShowRightMargin = v; }));
    k.push_back(BoolKey("SmartTabs", [&m] { return m.SmartTabs; }, [&m](bool v) { m.SmartTabs = v; }));
    k.push_back(IntKey("TabSize", [&m] { return m.TabSize(); }, [&m](int v) { m.SetTabSize(v); }, kTabSize));
    k.push_back(BoolKey("TrimTralingSpaces", [&m] { return m.TrimTrailingSpaces; }, [&m](bool v) { m.TrimTrailingSpaces = v; }));
    k.push_back(IntKey("UndoLimit", [&m] { return m.UndoLimit(); }, setUndoLimit, kCount));
    k.push_back(BoolKey("URLAware", [&m] { return m.UrlAware(); }, [&m](bool v) { m.SetUrlAware(v); }));
    k.push_back(ColorKey("URLBKColor", [&url] { return url.BkColor; }, [&url](TColor c) { url.BkColor = c; }));
    k.push_back(ColorKey("URLTextColor", [&url] { return url.TextColor; }, [&url](TColor c) { url.TextColor = c; }));
    k.push_back({"URLStyleStyle", [&url] { return StyleText(url.Style); },
                 [&url](const std::string& v) { url.Style = AddStyles(url.Style, v); }});
    k.push_back(BoolKey("UseStyler", [&m] { return m.UseStyler(); }, setUseStyler));
    k.push_back(BoolKey("WantTab", [&m] { return m.WantTab; }, [&m](bool v) { m.WantTab = v; }));
    k.push_back({"WordWrap",
                 [&m] {
                     const TWordWrap w = m.WordWrap();
                     return std::string(w == wwNone ? "wwNone" : w == wwClientWidth ? "wwClientWidth" : "wwRightMargin");
                 },
                 [setWrap](const std::string& v) {
                     if (v == "wwNone") setWrap(wwNone);
                     if (v == "wwClientWidth") setWrap(wwClientWidth);
                     if (v == "wwRightMargin") setWrap(wwRightMargin);
                 }});
    k.push_back(IntKey("PrintMarginLeft", [&po] { return po.MarginLeft; }, [&po](int v) { po.MarginLeft = v; }, kColumns));
    k.push_back(IntKey("PrintMarginRight", [&po] { return po.MarginRight; }, [&po](int v) { po.MarginRight = v; }, kColumns));
    k.push_back(IntKey("PrintMarginTop", [&po] { return po.MarginTop; }, [&po](int v) { po.MarginTop = v; }, kColumns));
    k.push_back(IntKey("PrintMarginBottom", [&po] { return po.MarginBottom; }, [&po](int v) { po.MarginBottom = v; }, kColumns));
    k.push_back(StringKey("PrintJobName", [&po] { return po.JobName; }, [&po](const std::string& v) { po.JobName = v; }));
    k.push_back(BoolKey("PrintPageNr", [&po] { return po.PageNr; }, [&po](bool v) { po.PageNr = v; }));
    k.push_back(StringKey("PrintPagePrefix", [&po] { return po.PagePrefix; },
                          [&po](const std::string& v) { po.PagePrefix = v; }, kPrefixSection));
    k.push_back(BoolKey("PrintLineNumbers", [&po] { return po.PrintLineNumbers; }, [&po](bool v) { po.PrintLineNumbers = v; }));
    k.push_back(StringKey("PrintTitle", [&po] { return po.Title; }, [&po](const std::string& v) { po.Title = v; }));
    k.push_back(IntKey("DefaultMarkerImageIndex", [&ml] { return ml.DefaultMarkerImageIndex(); },
                       [&ml](int v) { ml.SetDefaultMarkerImageIndex(v); }, kIndex));
    k.push_back(BoolKey("UseDefaultMarkerImageIndex", [&ml] { return ml.UseDefaultMarkerImageIndex(); },
                        [&ml](bool v) { ml.SetUseDefaultMarkerImageIndex(v); }));
    return k;
}

}  // namespace

void TExCustomMemo::MemoSettings(const std::string& fileName, bool save)
{
    // Loading stores these straight into their fields, without rewrapping, re-preparing
    // keyword lists or clearing the undo list.
    const std::vector<Key> keys = SettingsKeys(
        *this, *gutter_, *activeLineSettings_, *autoCompletion_, *printOptions_, *markerList_, *urlStyle_,
        [this](TWordWrap w) { wordWrap_ = w; }, [this](bool v) { caseSensitive_ = v; },
        [this](int v) { undoLimit_ = v; }, [this](bool v) { useStyler_ = v; });
    if (save) {
        base::TIniFile ini(fileName);
        ini.BeginUpdate();
        for (const Key& k : keys) ini.WriteString(k.section, k.name, k.save());
        if (!ini.EndUpdate()) throw base::EInOutError("Unable to write to " + fileName + ". " + ini.LastError());
        return;
    }
    if (!base::FileExists(fileName)) return;
    const base::TIniFile ini(fileName);
    for (const Key& k : keys) {
        std::string v = ini.ReadString(k.section, k.name, k.save());
        if (v.size() > kMaxValue) v.resize(kMaxValue);
        k.load(v);
    }
    Invalidate();
}

void TExCustomMemo::SaveMemoSettingsToFile(const std::string& fileName) { MemoSettings(fileName, true); }

void TExCustomMemo::LoadMemoSettingsFromFile(const std::string& fileName) { MemoSettings(fileName, false); }

}  // namespace memo
