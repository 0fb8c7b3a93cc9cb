#pragma once
// The program with a blue box barge in its views, the body plan 400 by 300 pixels.
#include "AppFixture.h"
#include "Hulls.h"

class HullViewsTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        hulls::MakeBoxBarge(main->Hull);
        main->Hull.appendages[0].colour = 0x00FF0000;  // blue
        main->SetBounds(0, 0, 900, 700);
        main->Panel3->SetWidth(400);
        main->Panel5->SetWidth(400);
        main->Panel1->SetHeight(300);
        platform::Application->ProcessMessages();
    }
};
