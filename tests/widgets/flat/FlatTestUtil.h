#pragma once
// Helpers of the flat-control tests: a form to hold the controls, pixel checks and snapshots.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "platform/TestRig.h"
#include "platform/forms/Forms.h"
#include "platform/graphics/Graphics.h"

namespace flattest {

using namespace platform;

// Saves the picture when KORVELO_SNAPSHOTS names a folder, to look at by eye.
inline void Snapshot(TBitmap& b, const std::string& name)
{
    if (const char* dir = std::getenv("KORVELO_SNAPSHOTS")) b.SaveToFile(std::string(dir) + "/" + name + ".bmp");
}

inline COLORREF At(TBitmap& b, int x, int y) { return ColorToRGB(b.Canvas()->Pixel(x, y)) & 0xFFFFFF; }

// Pixels inside r of exactly colour c.
inline int Count(TBitmap& b, const TRect& r, TColor c)
{
    int n = 0;
    const COLORREF want = ColorToRGB(c);
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            if (At(b, x, y) == want) ++n;
    return n;
}

// Pixels inside r that differ from colour c.
inline int CountOther(TBitmap& b, const TRect& r, TColor c)
{
    return r.Width() * r.Height() - Count(b, r, c);
}

// Moves the pointer onto item i of a selector panel and clicks it there.
template <class Panel>
void PickItem(Panel* p, int i)
{
    const TRect r = p->Items().Items(i)->ItemRect;
    SendMouse(p, WM_MOUSEMOVE, r.Left + 5, r.Top + 5);
    ClickAt(p, r.Left + 5, r.Top + 5);
}

class FlatTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsurePlatform();
        form = new TForm(nullptr);
        form->SetBounds(0, 0, 400, 400);
        form->SetColor(0xE1EAEB);
        form->Show();
    }
    void TearDown() override { delete form; }
    template <class T>
    T* Make()
    {
        T* c = new T(form);
        c->SetParent(form);
        return c;
    }
    TForm* form = nullptr;
};

}  // namespace flattest
