// The source tree keeps its layout: arrows only downward between the rooms,
// no circle between files, system calls only in platform/, and each SDL's
// implementation reached only through the platform's headers.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <fstream>
#include <string>
#include "tests/layoutcheck.h"
#include "tests/support.h"

static std::string joined(const std::vector<std::string> &lines)
{
    std::string all;
    for (const auto &l : lines)
        all += l + "\n";
    return all;
}

TEST(Layout, TheGameKeepsItsRooms)
{
    std::vector<std::string> problems = checkLayout(SOURCE_DIR);
    EXPECT_TRUE(problems.empty()) << joined(problems);
}

static void put(const std::string &root, const std::string &path, const std::string &text)
{
    std::string dir = root + "/" + path.substr(0, path.rfind('/'));
    mkdir(dir.c_str(), 0755);
    std::ofstream(root + "/" + path) << text;
}

static bool mentions(const std::vector<std::string> &problems, const std::string &what)
{
    for (const auto &p : problems)
        if (p.find(what) != std::string::npos)
            return true;
    return false;
}

// The checker on a made-up tree with one of each fault, and with the
// things it must let pass: downward arrows, calls named in comments or
// strings, and the calls platform/ exists for.
TEST(Layout, TheCheckerFindsEachKindOfFault)
{
    std::string root = makeTempDir();
    put(root, "core/a.h", "#include \"core/b.h\"\n");
    put(root, "core/b.h", "#include \"core/a.h\"\n");
    put(root, "world/w.h", "#include \"render/r.h\"\n#include \"core/ticks.h\"\n");
    put(root, "render/r.h", "#include \"world/w.h\"\n");
    put(root, "game/g.cpp", "#include \"world/w.h\"\n// SDL_PollEvent(&e) in a comment\n"
                            "const char *s = \"SDL_Flip(x)\";\nvoid f() { SDL_GetKeyState(0); }\n");
    put(root, "game/t.cpp", "#include \"tools/x.h\"\n");
    put(root, "tools/x.h", "\n");
    put(root, "platform/p.cpp", "void g() { SDL_PollEvent(0); signal(1, 0); }\n");
    put(root, "platform/one/frame.h", "#include \"platform/p.h\"\n");
    put(root, "platform/one/show.cpp", "#include \"platform/one/frame.h\"\n");
    put(root, "platform/two/show.cpp", "#include \"platform/one/frame.h\"\n");
    put(root, "platform/p.h", "\n");
    put(root, "render/s.cpp", "#include \"platform/p.h\"\n#include \"platform/one/frame.h\"\n");
    put(root, "game/w.cpp", "#include <emscripten.h>\n");
    put(root, "web/page.cpp", "#include <emscripten/html5.h>\n#include \"game/g.h\"\n");
    put(root, "game/g.h", "#include \"web/page.h\"\n");
    put(root, "web/page.h", "\n");

    std::vector<std::string> problems = checkLayout(root);
    EXPECT_TRUE(mentions(problems, "include circle: core/a.h -> core/b.h -> core/a.h")
                || mentions(problems, "include circle: core/b.h -> core/a.h -> core/b.h")) << joined(problems);
    EXPECT_TRUE(mentions(problems, "world/w.h:1: includes render/r.h")) << joined(problems);
    EXPECT_FALSE(mentions(problems, "render/r.h:1")) << joined(problems);
    EXPECT_TRUE(mentions(problems, "game/g.cpp:4: calls SDL_GetKeyState")) << joined(problems);
    EXPECT_FALSE(mentions(problems, "game/g.cpp:2")) << joined(problems);
    EXPECT_FALSE(mentions(problems, "game/g.cpp:3")) << joined(problems);
    EXPECT_TRUE(mentions(problems, "game/t.cpp:1: includes tools/x.h")) << joined(problems);
    EXPECT_FALSE(mentions(problems, "platform/p.cpp")) << joined(problems);
    EXPECT_FALSE(mentions(problems, "platform/one/show.cpp")) << joined(problems);
    EXPECT_TRUE(mentions(problems, "platform/two/show.cpp:1: includes platform/one/frame.h")) << joined(problems);
    EXPECT_TRUE(mentions(problems, "render/s.cpp:2: includes platform/one/frame.h")) << joined(problems);
    EXPECT_FALSE(mentions(problems, "render/s.cpp:1")) << joined(problems);
    EXPECT_TRUE(mentions(problems, "game/w.cpp:1: includes <emscripten.h>")) << joined(problems);
    EXPECT_TRUE(mentions(problems, "game/g.h:1: includes web/page.h")) << joined(problems);
    EXPECT_FALSE(mentions(problems, "web/page.cpp")) << joined(problems);
    EXPECT_EQ(problems.size(), 9u) << joined(problems);
    removeTree(root);
}
