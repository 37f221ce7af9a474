// The source tree keeps its layout: arrows only downward between the rooms,
// no circle between files, system calls only in platform/, and each SDL's
// implementation reached only through the platform's headers.
#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>
#include <string>
#include "tests/layoutcheck.h"
#include "tests/support.h"

TEST(Layout, TheGameKeepsItsRooms)
{
    std::vector<std::string> problems = checkLayout(SOURCE_DIR);
    EXPECT_TRUE(problems.empty()) << testing::PrintToString(problems);
}

static void put(const std::string &root, const std::string &path, const std::string &text)
{
    std::filesystem::create_directories(root + "/" + path.substr(0, path.rfind('/')));
    std::ofstream(root + "/" + path) << text;
}

// The checker on a made-up tree with one of each fault, and with calls named
// in comments or strings, which it must let pass. What the real tree holds
// (downward arrows, each SDL's folder including its own headers, the calls
// platform/ exists for, web/ on the browser's interface) the check above
// already shows to pass.
TEST(Layout, TheCheckerFindsEachKindOfFault)
{
    std::string root = makeTempDir();
    put(root, "core/a.h", "#include \"core/b.h\"\n");
    put(root, "core/b.h", "#include \"core/a.h\"\n");
    put(root, "world/w.h", "#include \"render/r.h\"\n");
    put(root, "render/r.h", "\n");
    put(root, "game/g.cpp", "// SDL_PollEvent(&e) in a comment\n"
                            "const char *s = \"SDL_Flip(x)\";\nvoid f() { SDL_GetKeyState(0); }\n");
    put(root, "game/t.cpp", "#include \"tools/x.h\"\n");
    put(root, "tools/x.h", "\n");
    put(root, "platform/one/frame.h", "\n");
    put(root, "platform/two/show.cpp", "#include \"platform/one/frame.h\"\n");
    put(root, "render/s.cpp", "#include \"platform/one/frame.h\"\n");
    put(root, "game/w.cpp", "#include <emscripten.h>\n");
    put(root, "game/g.h", "#include \"web/page.h\"\n");
    put(root, "web/page.h", "\n");

    // Each fault is reported by file and line number; only one of the
    // circle's two starting points is.
    const char *reported[] = {
        "world/w.h:1: includes render/r.h", "game/g.cpp:3: calls SDL_GetKeyState", "game/t.cpp:1: includes tools/x.h",
        "platform/two/show.cpp:1: includes platform/one/frame.h", "render/s.cpp:1: includes platform/one/frame.h",
        "game/w.cpp:1: includes <emscripten.h>", "game/g.h:1: includes web/page.h",
    };
    std::vector<std::string> problems = checkLayout(root);
    std::string all = testing::PrintToString(problems);
    for (const char *r : reported)
        EXPECT_NE(all.find(r), std::string::npos) << r << " in " << all;
    EXPECT_TRUE(all.find("include circle: core/a.h -> core/b.h -> core/a.h") != std::string::npos
                || all.find("include circle: core/b.h -> core/a.h -> core/b.h") != std::string::npos) << all;
    EXPECT_EQ(problems.size(), 8u) << all;
    removeTree(root);
}
