#include "component/component.h"

#include <gtest/gtest.h>

namespace webrill::component {
namespace {

struct Counted : TComponent {
    Counted(TComponent* owner, std::string name, int& released)
        : TComponent(owner, std::move(name)), released_(released) {}
    ~Counted() override { ++released_; }
    int& released_;
};

TEST(ComponentTest, OwnersFreeWhatTheyOwnAndFindItByName) {
    int released = 0;
    {
        TComponent root(nullptr, "root");
        auto* a = new Counted(&root, "Alpha", released);
        new Counted(a, "Inner", released);
        new Counted(&root, "beta", released);
        EXPECT_EQ(root.FindComponent("ALPHA"), a);
        EXPECT_EQ(root.FindComponent("Inner"), nullptr);  // owned by Alpha, not by the root
        EXPECT_EQ(root.Components().size(), 2u);
        delete root.FindComponent("beta");
        EXPECT_EQ(root.Components().size(), 1u);
        EXPECT_EQ(released, 1);
    }
    EXPECT_EQ(released, 3);
}

TEST(ComponentTest, PropertiesAreReadAndWrittenByName) {
    TComponent c(nullptr, "x", 9999);
    EXPECT_EQ(std::get<int32_t>(*c.GetProperty("tag")), 9999);
    EXPECT_TRUE(c.SetProperty("NAME", std::string("y")));
    EXPECT_EQ(c.Name, "y");
    EXPECT_FALSE(c.GetProperty("Missing"));
    EXPECT_FALSE(c.SetProperty("Missing", 1));
}

}  // namespace
}  // namespace webrill::component
