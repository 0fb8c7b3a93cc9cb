#pragma once
// An editor control on the off-screen platform, with helpers to set and read its text.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/TestRig.h"
#include "widgets/memo/ExMemo.h"
#include "widgets/memo/MemoStrings.h"
#include "widgets/memo/MemoStyler.h"
#include "widgets/memo/UndoList.h"

namespace memotest {

class MemoTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::EnsurePlatform();
        owner = std::make_unique<platform::TComponent>(nullptr);
        memo = new memo::TExMemo(owner.get());
        memo->SetBounds(0, 0, 400, 200);
        memo->HandleNeeded();
    }
    void TearDown() override { owner.reset(); }

    void SetText(const std::vector<std::string>& lines)
    {
        memo->Lines()->Clear();
        for (const std::string& l : lines) memo->Lines()->Add(l);
        memo->ClearUndoList();
        memo->SetCursor(0, 0);
    }
    // The lines joined by "|".
    std::string Text() const
    {
        std::string out;
        for (int i = 0; i < memo->Lines()->Count(); ++i) out += (i ? "|" : "") + memo->Lines()->Get(i);
        return out;
    }
    void Type(const std::string& s)
    {
        for (char c : s) platform::SendChar(memo, c);
    }
    void Key(platform::Word vk, platform::TShiftState shift = 0) { platform::SendKey(memo, vk, shift); }
    void Focus() { memo->SetFocus(); }

    std::unique_ptr<platform::TComponent> owner;
    memo::TExMemo* memo = nullptr;
};

}  // namespace memotest
