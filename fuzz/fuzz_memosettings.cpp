// The editor's settings file: whatever it holds loads without an exception, and what the
// editor then saves loads into another editor that saves the same file.
#include <cstdlib>
#include <memory>

#include "FuzzDriver.h"
#include "platform/TestRig.h"
#include "platform/forms/Forms.h"
#include "widgets/memo/ExMemo.h"
#include "widgets/memo/MemoStrings.h"
#include "Offscreen.h"

int main(int argc, char** argv)
{
    const fuzz::Options opts = fuzz::StartOffscreen(argc, argv);
    fuzz::Scratch dir;
    std::vector<std::string> seeds;
    {
        platform::TComponent owner(nullptr);
        auto* m = new memo::TExMemo(&owner);
        m->SaveMemoSettingsToFile(dir.File("seed.ini"));
        seeds.push_back(fuzz::ReadBytes(dir.File("seed.ini")));
    }
    seeds.push_back("[Settings]\r\nTabSize=2147483647\r\nBkColor=bluish\r\nRightMargin=-5\r\nGutterWidth=99999999\r\n");
    std::vector<std::string> tokens = {"[", "]", "=", "clRed", "$00FF00", "0x7FFFFFFF", "-2147483648", "True",
                                       "False", "wwNone", "wwClientWidth", "fsBold", "[fsBold,fsItalic]"};
    // Every key of the editor's file as a token.
    for (std::size_t p = 0; p < seeds[0].size();) {
        const std::size_t e = seeds[0].find('\n', p);
        const std::string line = seeds[0].substr(p, e - p);
        if (const std::size_t eq = line.find('='); eq != std::string::npos) tokens.push_back(line.substr(0, eq + 1));
        p = e == std::string::npos ? seeds[0].size() : e + 1;
    }
    const std::string in = dir.File("in.ini"), a = dir.File("a.ini"), b = dir.File("b.ini");
    return fuzz::Run("memosettings", opts, seeds, tokens, [&](const std::string& input) {
        fuzz::Result r;
        r.outcome = fuzz::Outcome::Accepted;
        fuzz::WriteBytes(in, input);
        platform::TComponent owner(nullptr);
        auto* m = new memo::TExMemo(&owner);
        m->SetBounds(0, 0, 300, 200);
        m->LoadMemoSettingsFromFile(in);
        m->HandleNeeded();
        m->Lines()->Add("some text\tto draw");
        platform::PaintToBitmap(m);
        m->SaveMemoSettingsToFile(a);
        auto* again = new memo::TExMemo(&owner);
        again->LoadMemoSettingsFromFile(a);
        again->SaveMemoSettingsToFile(b);
        if (fuzz::ReadBytes(a) != fuzz::ReadBytes(b)) r.fault = "saved settings read back different";
        return r;
    });
}
