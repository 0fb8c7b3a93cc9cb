// The example hulls of examples/: made from their formulas and saved by the program's
// own Save command. KORVELO_WRITE_EXAMPLES=1 writes them into the source tree.
#include <cstdlib>

#include "AppFixture.h"
#include "Hulls.h"
#include "core/HydroData.h"
#include "platform/controls/Menus.h"

namespace {

struct Example {
    const char* file;
    void (*make)(core::Hullform&);
    double draught;
    double volume;  // at that draught, from the formula
};

const Example kExamples[] = {
    {"box-barge.hll", hulls::MakeBoxBarge, 2.0, 30.0 * 10.0 * 2.0},
    {"wigley.hll", hulls::MakeWigley, hulls::kWigleyT, 4.0 / 9.0 * hulls::kWigleyL * hulls::kWigleyB * hulls::kWigleyT},
};

}  // namespace

TEST_F(AppTest, ExampleHullsAreSavedByTheProgramAndOpenAsSaved)
{
    const bool write = std::getenv("KORVELO_WRITE_EXAMPLES") != nullptr;
    const std::string examples = std::string(KORVELO_SOURCE_DIR) + "/examples/";
    for (const Example& e : kExamples) {
        SCOPED_TRACE(e.file);
        e.make(main->Hull);
        core::HydroData h;
        ASSERT_TRUE(main->Hull.GetHydroStatics(e.draught, 0, h));
        EXPECT_NEAR(h.volume, e.volume, 0.02 * e.volume);

        const std::string saved = write ? examples + e.file : dir.file(e.file);
        AnswerDialog(saved);
        if (write) boxAnswers.push_back(platform::mrYes);  // replacing the checked-in file
        main->Save1->Click();
        if (write) boxes.clear();
        ASSERT_TRUE(boxes.empty());

        // The checked-in file opens through the Open command as the program saves it now.
        AnswerDialog(examples + e.file);
        main->N1Click(main->New1);
        main->Open1->Click();
        ASSERT_TRUE(boxes.empty());
        core::Hullform& opened = main->Hull;
        core::Hullform fresh(dir.file("fresh.log"));
        e.make(fresh);
        EXPECT_EQ(opened.name, fresh.name);
        ASSERT_EQ(opened.GetAppendageCount(), 1u);
        const auto& a = opened.appendages[0].frames;
        const auto& b = fresh.appendages[0].frames;
        ASSERT_EQ(a.size(), b.size());
        for (std::size_t j = 0; j < a.size(); ++j) {
            EXPECT_NEAR(a[j].GetY(), b[j].GetY(), 1e-4);
            ASSERT_EQ(a[j].GetOffsetCount(), b[j].GetOffsetCount());
            for (unsigned k = 0; k < a[j].GetOffsetCount(); ++k) {
                EXPECT_NEAR(a[j].GetX(k), b[j].GetX(k), 1e-4);
                EXPECT_NEAR(a[j].GetZ(k), b[j].GetZ(k), 1e-4);
            }
        }
    }
}
