// Which platform Pendrio asks Qt for, from the environment and the command
// line, and which platforms can keep a window on top.
#include "window/SessionPlatform.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace pendrio;

namespace {

struct Row {
    const char* name;
    SessionEnvironment environment;
    std::vector<const char*> args; // after the program's name
    std::string expected;
};

const std::string kXFirst = "xcb;wayland";

const Row kRows[] = {
    {"nothing set", {}, {}, ""},
    {"x11 session", {{}, "x11", {}, ":0"}, {}, ""},
    {"wayland session with an X display", {{}, "wayland", "wayland-0", ":0"}, {}, kXFirst},
    {"wayland session without an X display", {{}, "wayland", "wayland-0", {}}, {}, ""},
    {"WAYLAND_DISPLAY without a session type", {{}, {}, "wayland-0", ":0"}, {}, kXFirst},
    {"user chose wayland", {"wayland", "wayland", "wayland-0", ":0"}, {}, ""},
    {"user chose xcb", {"xcb", "wayland", "wayland-0", ":0"}, {}, ""},
    {"empty QT_QPA_PLATFORM is no choice", {"", "wayland", "wayland-0", ":0"}, {}, kXFirst},
    {"-platform on the command line",
     {{}, "wayland", "wayland-0", ":0"},
     {"-platform", "wayland"},
     ""},
    {"--platform on the command line",
     {{}, "wayland", "wayland-0", ":0"},
     {"--platform", "xcb"},
     ""},
    {"-platform last names nothing", {{}, "wayland", "wayland-0", ":0"}, {"-platform"}, kXFirst},
};

TEST(SessionPlatform, PlatformToRequestFollowsTheSessionUnlessTheUserChose) {
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.name);
        std::vector<const char*> args = {"pendrio"};
        args.insert(args.end(), row.args.begin(), row.args.end());
        EXPECT_EQ(PlatformToRequest(row.environment, args), row.expected);
    }
}

TEST(SessionPlatform, OnlyWaylandCannotKeepAWindowOnTop) {
    EXPECT_TRUE(PlatformKeepsWindowOnTop("xcb"));
    EXPECT_TRUE(PlatformKeepsWindowOnTop("offscreen"));
    EXPECT_TRUE(PlatformKeepsWindowOnTop("minimal"));
    EXPECT_FALSE(PlatformKeepsWindowOnTop("wayland"));
    EXPECT_FALSE(PlatformKeepsWindowOnTop("wayland-egl"));
}

} // namespace
