#pragma once
// A shown form to put controls on, pixel counts on what they paint, and pictures of it
// for looking at: with KORVELO_SNAPSHOTS set to a folder, SaveSnapshot writes name.bmp there.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/forms/Forms.h"
#include "platform/graphics/Graphics.h"

inline void SaveSnapshot(platform::TBitmap& b, const std::string& name)
{
    if (const char* dir = std::getenv("KORVELO_SNAPSHOTS"); dir && *dir) b.SaveToFile(std::string(dir) + "/" + name + ".bmp");
}

struct ControlFixture : ::testing::Test {
    platform::TForm* form = nullptr;
    void SetUp() override
    {
        form = platform::Construct<platform::TForm>(platform::Application);
        form->SetBounds(0, 0, 320, 240);
        form->Show();
    }
    void TearDown() override { form->Free(); }
    // A control owned by the form, on parent (the form when null), at the bounds given.
    template <class T>
    T* Add(int left, int top, int width, int height, platform::TWinControl* parent = nullptr)
    {
        auto* c = new T(form);
        c->SetParent(parent ? parent : form);
        c->SetBounds(left, top, width, height);
        return c;
    }
    static platform::TColor Sys(platform::TColor c) { return platform::TColor(platform::ColorToRGB(c)); }
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
            for (int x = r.Left; x < r.Right; ++x) n += (b.Canvas()->Pixel(x, y) & 0xFF) < 0x60;
        return n;
    }
};
