// The program's one window as the X server and a window manager see it.
#include "session.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <regex>
#include <sstream>

namespace qex::x11test {
namespace {

using ::testing::HasSubstr;

const std::string caption = "QEX Zorbuliners&PintaksIn3Lifts  SpaceBar +-*/,.  ESC";

// Motif window-manager hint bits.
constexpr unsigned long hintsFunctions = 1;
constexpr unsigned long hintsDecorations = 2;
constexpr unsigned long functionAll = 1;
constexpr unsigned long functionMinimize = 8;
constexpr unsigned long functionMaximize = 16;
constexpr unsigned long functionClose = 32;
constexpr unsigned long decorationAll = 1;
constexpr unsigned long decorationTitle = 8;
constexpr unsigned long decorationMinimize = 32;
constexpr unsigned long decorationMaximize = 64;

// What xprop prints after "NAME(TYPE) = " on the property's line; empty when it is not set.
std::string propertyValue(const std::string& xprop, const std::string& name)
{
    std::istringstream lines(xprop);
    for (std::string line; std::getline(lines, line);) {
        const auto equals = line.find(" = ");
        if (line.rfind(name + "(", 0) == 0 && equals != std::string::npos) {
            return line.substr(equals + 3);
        }
    }
    return {};
}

std::vector<unsigned long> numbers(const std::string& list)
{
    std::vector<unsigned long> values;
    std::istringstream items(list);
    for (std::string item; std::getline(items, item, ',');) {
        values.push_back(std::stoul(item, nullptr, 0));
    }
    return values;
}

int xwininfoField(const std::string& xwininfo, const std::string& field)
{
    std::smatch found;
    const std::regex pattern("\\n\\s*" + field + ":\\s*(-?\\d+)");
    return std::regex_search(xwininfo, found, pattern) ? std::stoi(found[1]) : -1;
}

TEST(Window, CaptionIsExact)
{
    Session session;
    const auto xprop = session.tool({"xprop", "-id", session.window(), "WM_NAME", "_NET_WM_NAME"});
    EXPECT_EQ(propertyValue(xprop, "WM_NAME"), '"' + caption + '"') << xprop;
    EXPECT_EQ(propertyValue(xprop, "_NET_WM_NAME"), '"' + caption + '"') << xprop;
}

TEST(Window, ClientAreaIsFixedAt349By407)
{
    Session session;
    const auto info = session.tool({"xwininfo", "-id", session.window()});
    EXPECT_EQ(xwininfoField(info, "Width"), 349) << info;
    EXPECT_EQ(xwininfoField(info, "Height"), 407) << info;

    // Equal minimum and maximum sizes are how a window manager learns it must not resize.
    const auto hints = session.tool({"xprop", "-id", session.window(), "WM_NORMAL_HINTS"});
    EXPECT_THAT(hints, HasSubstr("minimum size: 349 by 407"));
    EXPECT_THAT(hints, HasSubstr("maximum size: 349 by 407"));
}

TEST(Window, OffersCloseButNeitherMinimizeNorMaximizeAndStaysOutOfTheTaskBar)
{
    Session session;
    const auto xprop = session.tool({"xprop", "-id", session.window(), "_MOTIF_WM_HINTS"});
    const auto hints = numbers(propertyValue(xprop, "_MOTIF_WM_HINTS"));
    ASSERT_GE(hints.size(), 3u) << xprop;
    const unsigned long flags = hints[0];
    const unsigned long functions = hints[1];
    const unsigned long decorations = hints[2];

    // Without the functions flag the window manager would offer everything.
    ASSERT_TRUE(flags & hintsFunctions) << xprop;
    EXPECT_EQ(functions & functionAll, 0u) << "the ALL bit inverts the list; " << xprop;
    EXPECT_EQ(functions & functionMinimize, 0u) << xprop;
    EXPECT_EQ(functions & functionMaximize, 0u) << xprop;
    EXPECT_TRUE(functions & functionClose) << xprop;
    // Decorations left unset mean the window manager's default title and border.
    if (flags & hintsDecorations) {
        EXPECT_EQ(decorations & decorationAll, 0u) << xprop;
        EXPECT_TRUE(decorations & decorationTitle) << xprop;
        EXPECT_EQ(decorations & (decorationMinimize | decorationMaximize), 0u) << xprop;
    }
    // Set before the window is mapped, which is when window managers read it.
    const auto state = session.tool({"xprop", "-id", session.window(), "_NET_WM_STATE"});
    EXPECT_THAT(state, HasSubstr("_NET_WM_STATE_SKIP_TASKBAR")) << state;
}

}  // namespace
}  // namespace qex::x11test
