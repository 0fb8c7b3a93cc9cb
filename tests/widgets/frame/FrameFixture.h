#pragma once
// A shown form for the frame components, pixel helpers, and pictures for looking at:
// with KORVELO_LOOK_DIR set to a folder, LookAt writes name.bmp there.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/forms/Forms.h"
#include "platform/graphics/Graphics.h"

inline void LookAt(const platform::TBitmap& bmp, const std::string& name)
{
    if (const char* dir = std::getenv("KORVELO_LOOK_DIR")) bmp.SaveToFile(std::string(dir) + "/" + name + ".bmp");
}

struct FrameFixture : ::testing::Test {
    platform::TForm* form = nullptr;
    void SetUp() override
    {
        form = platform::Construct<platform::TForm>(platform::Application);
        form->SetBounds(0, 0, 400, 300);
        form->Show();
    }
    void TearDown() override { form->Free(); }
    template <class T>
    T* Add(int left, int top, int width, int height, platform::TWinControl* parent = nullptr)
    {
        auto* c = new T(form);
        c->SetParent(parent ? parent : form);
        c->SetBounds(left, top, width, height);
        return c;
    }
    static platform::TColor Sys(platform::TColor c) { return platform::TColor(platform::ColorToRGB(c)); }
    static platform::TColor At(platform::TBitmap& b, int x, int y) { return b.Canvas()->Pixel(x, y); }
    // Pixels of colour c inside r.
    static int Count(platform::TBitmap& b, const platform::TRect& r, platform::TColor c)
    {
        int n = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x) n += b.Canvas()->Pixel(x, y) == c;
        return n;
    }
    // Pixels dark enough to be text inside r.
    static int Dark(platform::TBitmap& b, const platform::TRect& r)
    {
        int n = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x) {
                const platform::TColor c = b.Canvas()->Pixel(x, y);
                n += (c & 0xFF) < 0x60 && ((c >> 8) & 0xFF) < 0x60 && ((c >> 16) & 0xFF) < 0x60;
            }
        return n;
    }
};
