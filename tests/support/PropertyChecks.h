#pragma once
// One check for the store-and-act rule of framework/Property.h, for any list of properties:
// setting a property to the value it holds must not act, setting a new value must act once.
// What "act" means (a repaint request, a notification, settings re-applied to a device) is the
// probe's business: it answers whether the object acted since it was last asked, and forgets.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

struct TPropertyCase {
    std::string Name;
    std::function<void()> SetSame; // sets the value the property already holds
    std::function<void()> SetNew;  // sets a value it does not hold
};

inline void ExpectActsExactlyOnChange(const std::function<bool()>& Acted,
                                      const std::vector<TPropertyCase>& Cases)
{
    for (const TPropertyCase& c : Cases) {
        Acted();
        c.SetSame();
        EXPECT_FALSE(Acted()) << c.Name << " acted without a change";
        c.SetNew();
        EXPECT_TRUE(Acted()) << c.Name << " did not act on a change";
    }
}
