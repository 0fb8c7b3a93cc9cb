// The settings file: every key written and read back through the INI store.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>

#include "MemoFixture.h"
#include "base/Exception.h"
#include "base/IniFile.h"
#include "base/StringList.h"
#include "support/TestSupport.h"
#include "widgets/memo/AutoCompletion.h"
#include "widgets/memo/Gutter.h"
#include "widgets/memo/MemoMarkers.h"
#include "widgets/memo/MemoPrint.h"

using namespace memo;
using namespace platform;
using memotest::MemoTest;

namespace {

// Every setting away from its default.
void ChangeEverything(TExCustomMemo& m)
{
    TExActiveLineSettings& a = *m.ActiveLineSettings();
    a.SetActiveLineColor(clTeal);
    a.SetActiveLineTextColor(TColor(0x123456));
    a.SetShowActiveLine(true);
    a.SetShowActiveLineIndicator(true);
    TExGutter& g = *m.Gutter();
    g.SetVisible(false);
    g.SetDigitCount(6);
    g.SetGutterColor(clInfoBk);
    g.SetGutterColorTo(clNone);
    g.SetGutterMargin(50);
    g.SetGutterWidth(33);
    g.SetShowLineNumbers(false);
    g.SetLineNumberStart(7);
    g.SetLineNumberTextColor(clMaroon);
    g.SetShowLeadingZeros(true);
    g.Font().SetName("Arial");
    g.Font().SetColor(clPurple);
    g.Font().SetSize(14);
    g.SetNumberSuffix(":");
    g.Font().SetStyle(fsBold | fsUnderline);
    TAutoCompletion& ac = *m.AutoCompletion();
    ac.Active = false;
    ac.Color = clYellow;
    ac.ColorEvent = TColor(0x010203);
    ac.ColorFunc = TColor(0x040506);
    ac.ColorIdentifier = TColor(0x070809);
    ac.ColorMethod = TColor(0x0A0B0C);
    ac.ColorProc = TColor(0x0D0E0F);
    ac.ColorVar = TColor(0x101112);
    ac.SetDelay(750);
    ac.SetShowImages(true);
    ac.SizeDropDown = false;
    ac.Width = 321;
    ac.Font().SetName("Times New Roman");
    ac.Font().SetColor(clGreen);
    ac.Font().SetSize(11);
    ac.Font().SetStyle(fsItalic | fsStrikeOut);
    m.SetAutoHintParameterDelay(999);
    m.SetAutoHintParameters(hpManual);
    m.AutoHintParameterPosition = hpAboveCode;
    m.AutoIndent = false;
    m.SetBkColor(clSilver);
    m.BlockColor = clLime;
    m.BlockLineColor = clFuchsia;
    m.SetBreakpointColor(clOlive);
    m.SetBreakpointTextColor(clNavy);
    m.BlockShow = false;
    m.SetCaseSensitive(true);
    m.DelErase = false;
    m.EnhancedHomeKey = true;
    m.Font()->SetName("DejaVu Sans Mono");
    m.Font()->SetColor(clGray);
    m.Font()->SetSize(12);
    m.Font()->SetStyle(fsBold);
    m.SetHiddenCaret(true);
    m.SetHideSelection(false);
    m.ReadOnly = true;
    m.SetRightMargin(72);
    m.SetRightMarginColor(clAqua);
    m.ShowRightMargin = false;
    m.SmartTabs = true;
    m.SetTabSize(8);
    m.TrimTrailingSpaces = true;
    m.SetUndoLimit(55);
    m.SetUrlAware(false);
    m.UrlStyle()->BkColor = clBtnFace;
    m.UrlStyle()->TextColor = clHighlight;
    m.UrlStyle()->Style = fsItalic | fsBold | fsUnderline;
    m.SetUseStyler(false);
    m.WantTab = false;
    m.SetWordWrap(wwRightMargin);
    TPrintOptions o;
    o.MarginLeft = 11;
    o.MarginRight = 12;
    o.MarginTop = 13;
    o.MarginBottom = 14;
    o.JobName = "job";
    o.PageNr = true;
    o.PagePrefix = "Page";
    o.PrintLineNumbers = true;
    o.Title = "Title with = sign";
    m.SetPrintOptions(o);
    m.MarkerList()->SetDefaultMarkerImageIndex(3);
    m.MarkerList()->SetUseDefaultMarkerImageIndex(true);
}

std::string ReadAll(const std::string& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class SettingsTest : public MemoTest {
protected:
    TExMemo* Fresh()
    {
        auto* m = new TExMemo(owner.get());
        m->SetBounds(0, 0, 300, 100);
        return m;
    }
    testsupport::TempDir dir{"memo-settings"};
};

}  // namespace

TEST_F(SettingsTest, EveryKeyRoundTripsIntoAFreshControl)
{
    ChangeEverything(*memo);
    const std::string a = dir.file("a.ini"), b = dir.file("b.ini"), fresh = dir.file("fresh.ini");
    memo->SaveMemoSettingsToFile(a);
    base::TIniFile ini(a);
    base::TStringList keys;
    ini.ReadSection("Memo Settings", keys);
    EXPECT_EQ(keys.Count(), 79);
    EXPECT_EQ(ini.ReadString("Memo Setings", "PrintPagePrefix", "?"), "Page");
    EXPECT_EQ(ini.ReadString("Memo Settings", "GutterColorTo", "?"), "$1FFFFFFF");
    EXPECT_EQ(ini.ReadString("Memo Settings", "GutterFontStyle", "?"), "fsBoldfsUnderline");
    EXPECT_EQ(ini.ReadString("Memo Settings", "TrimTralingSpaces", "?"), "1");
    EXPECT_EQ(ini.ReadString("Memo Settings", "WordWrap", "?"), "wwRightMargin");
    EXPECT_EQ(ini.ReadString("Memo Settings", "AutoHintParameters", "?"), "hpManual");
    TExMemo* other = Fresh();
    other->SaveMemoSettingsToFile(fresh);
    EXPECT_NE(ReadAll(fresh), ReadAll(a));  // a fresh control differs in every key
    other->LoadMemoSettingsFromFile(a);
    other->SaveMemoSettingsToFile(b);
    EXPECT_EQ(ReadAll(b), ReadAll(a));
    EXPECT_EQ(other->WordWrap(), wwRightMargin);
    EXPECT_EQ(other->Font()->Style(), TFontStyles(fsBold));
    EXPECT_EQ(other->PrintOptions()->Title, "Title with = sign");
    EXPECT_TRUE(other->ReadOnly);
    // Each key on its own changes what a fresh control writes.
    base::TStringList freshValues;
    base::TIniFile(fresh).ReadSectionValues("Memo Settings", freshValues);
    base::TStringList values;
    ini.ReadSectionValues("Memo Settings", values);
    for (int i = 0; i < values.Count(); ++i) EXPECT_NE(values.Get(i), freshValues.Get(i)) << values.Get(i);
}

TEST_F(SettingsTest, LoadingFollowsTheFilesRules)
{
    const std::string f = dir.file("odd.ini");
    std::ofstream(f) << "[Other]\nKeep=1\n[Memo Settings]\nFontStyle=\nGutterWidth=0x20\nTabSize=$10\n"
                        "AutoHintParameterPosition=below\nWordWrap=sideways\nPrintPagePrefix=wrong section\n"
                        "URLStyleStyle=fsItalic\n";
    memo->Font()->SetStyle(fsBold);
    memo->SetWordWrap(wwClientWidth);
    memo->UrlStyle()->Style = fsUnderline;
    memo->LoadMemoSettingsFromFile(f);
    EXPECT_EQ(memo->Font()->Style(), TFontStyles(fsBold));  // styles are only ever added
    EXPECT_EQ(memo->UrlStyle()->Style, TFontStyles(fsUnderline | fsItalic));
    EXPECT_EQ(memo->Gutter()->GutterWidth(), 32);
    EXPECT_EQ(memo->TabSize(), 16);
    EXPECT_EQ(memo->AutoHintParameterPosition, hpAboveCode);
    EXPECT_EQ(memo->WordWrap(), wwClientWidth);
    EXPECT_EQ(memo->PrintOptions()->PagePrefix, "");
    // Saving keeps the other sections.
    memo->SaveMemoSettingsToFile(f);
    EXPECT_EQ(base::TIniFile(f).ReadString("Other", "Keep", ""), "1");
}

TEST_F(SettingsTest, MissingFileChangesNothingAndBadValuesKeepTheirDefault)
{
    memo->SetBkColor(clYellow);
    memo->LoadMemoSettingsFromFile(dir.file("none.ini"));
    EXPECT_EQ(memo->BkColor(), clYellow);
    const std::string f = dir.file("bad.ini");
    std::ofstream(f) << "[Memo Settings]\nShowGutter=0\nBkColor=bluish\nRightMarginColor=0xZZ\nTabSize=9\n";
    memo->LoadMemoSettingsFromFile(f);
    EXPECT_FALSE(memo->Gutter()->Visible());  // before the bad key
    EXPECT_EQ(memo->BkColor(), clYellow);      // kept
    EXPECT_EQ(memo->TabSize(), 9);            // after it: still read
    try {
        memo->SaveMemoSettingsToFile("/nonexistent-folder/x.ini");
        ADD_FAILURE() << "saved";
    } catch (const base::Exception& e) {
        // The system's reason after the platform's text.
        EXPECT_EQ(std::string(e.what()).rfind("Unable to write to /nonexistent-folder/x.ini. ", 0), 0u) << e.what();
        EXPECT_NE(std::string(e.what()).find("No such file or directory"), std::string::npos) << e.what();
    }
}

TEST_F(SettingsTest, NumbersBeyondWhatTheEditorCanDrawAreTakenToTheNearerEnd)
{
    struct Case {
        const char* key;
        const char* value;
        std::function<int(TExMemo&)> read;
        int expected;
    };
    const Case cases[] = {
        {"TabSize", "2147483647", [](TExMemo& m) { return m.TabSize(); }, 64},
        {"TabSize", "5000000", [](TExMemo& m) { return m.TabSize(); }, 64},
        {"TabSize", "-3", [](TExMemo& m) { return m.TabSize(); }, 1},
        {"TabSize", "0x7FFFFFFF", [](TExMemo& m) { return m.TabSize(); }, 64},
        {"RightMargin", "2147483647", [](TExMemo& m) { return m.RightMargin(); }, 10000},
        {"RightMargin", "-2147483648", [](TExMemo& m) { return m.RightMargin(); }, 0},
        {"LineNumberStart", "2147483647", [](TExMemo& m) { return m.Gutter()->LineNumberStart(); }, 1000000000},
        {"GutterWidth", "2147483647", [](TExMemo& m) { return m.Gutter()->GutterWidth(); }, 2000},
        {"GutterWidth", "-5", [](TExMemo& m) { return m.Gutter()->GutterWidth(); }, 0},
        {"GutterDigitCount", "1000", [](TExMemo& m) { return m.Gutter()->DigitCount(); }, 18},
        {"FontSize", "100000", [](TExMemo& m) { return m.Font()->Size(); }, 400},
        {"TabSize", "99999999999999999999", [](TExMemo& m) { return m.TabSize(); }, 4},  // does not read: kept
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.key) + "=" + c.value);
        TExMemo* m = new TExMemo(owner.get());
        m->SetBounds(0, 0, 400, 200);
        m->HandleNeeded();
        const std::string f = dir.file("big.ini");
        std::ofstream(f) << "[Memo Settings]\n" << c.key << "=" << c.value << "\n";
        m->LoadMemoSettingsFromFile(f);
        EXPECT_EQ(c.read(*m), c.expected);
        m->Lines()->Add("a\tb");
        m->Lines()->Add("\tc");
        PaintToBitmap(m);  // draws without overflow
    }
}
