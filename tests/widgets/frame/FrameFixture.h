#pragma once
// The platform tests' form fixture, larger, with a pixel reader and a count of pixels
// dark in every channel (text in any dark colour, not blue or red lines).
#include "platform/ControlFixture.h"
#include "platform/LookAt.h"

struct FrameFixture : ControlFixture {
    void SetUp() override
    {
        ControlFixture::SetUp();
        form->SetBounds(0, 0, 400, 300);
    }
    static platform::TColor At(platform::TBitmap& b, int x, int y) { return b.Canvas()->Pixel(x, y); }
    static int Black(platform::TBitmap& b, const platform::TRect& r)
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
