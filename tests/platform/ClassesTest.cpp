#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Classes.h"

using namespace platform;

namespace {
std::vector<std::string>* gLog = nullptr;

class TWatcher : public TComponent {
public:
    TWatcher(TComponent* owner, std::string name) : TComponent(owner) { SetName(name); }
    TComponent* watched = nullptr;
    void Notification(TComponent* c, TOperation op) override
    {
        if (op == opRemove && c == watched) {
            watched = nullptr;
            gLog->push_back(Name() + " lost " + c->Name());
        }
        TComponent::Notification(c, op);
    }
};

class TNoisy : public TComponent {
public:
    TNoisy(TComponent* owner, std::string name) : TComponent(owner) { SetName(name); }
    ~TNoisy() override { gLog->push_back("free " + Name()); }
};
}  // namespace

TEST(Component, OwnerFreesItsComponentsLastFirst)
{
    std::vector<std::string> log;
    gLog = &log;
    auto* owner = new TComponent(nullptr);
    new TNoisy(owner, "a");
    new TNoisy(owner, "b");
    EXPECT_EQ(owner->ComponentCount(), 2);
    EXPECT_EQ(owner->FindComponent("B")->Name(), "b");
    delete owner;
    EXPECT_EQ(log, (std::vector<std::string>{"free b", "free a"}));
}

TEST(Component, RemovalReachesSiblingsAndFreeNotificationWatchers)
{
    std::vector<std::string> log;
    gLog = &log;
    TComponent form(nullptr);
    auto* sibling = new TWatcher(&form, "label");
    auto* images = new TNoisy(&form, "images");
    sibling->watched = images;
    TComponent elsewhere(nullptr);
    auto* outsider = new TWatcher(&elsewhere, "outsider");
    outsider->watched = images;
    images->FreeNotification(outsider);
    delete images;
    EXPECT_EQ(sibling->watched, nullptr);
    EXPECT_EQ(outsider->watched, nullptr);
    EXPECT_EQ(log, (std::vector<std::string>{"free images", "outsider lost images", "label lost images"}));
}
