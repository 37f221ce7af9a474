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

TEST(Layout, TheGameKeepsItsRooms)
{
    std::vector<std::string> problems = checkLayout(SOURCE_DIR);
    EXPECT_TRUE(problems.empty()) << testing::PrintToString(problems);
}

static void put(const std::string &root, const std::string &path, const std::string &text)
{
    std::string dir = root + "/" + path.substr(0, path.rfind('/'));
    mkdir(dir.c_str(), 0755);
    std::ofstream(root + "/" + path) << text;
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

    // Each line is reported, or not, by file and line number; only one of
    // the circle's two starting points is.
    const struct { const char *at; bool reported; } lines[] = {
        { "world/w.h:1: includes render/r.h", true },        { "render/r.h:1", false },
        { "game/g.cpp:4: calls SDL_GetKeyState", true },     { "game/g.cpp:2", false },
        { "game/g.cpp:3", false },                           { "game/t.cpp:1: includes tools/x.h", true },
        { "platform/p.cpp", false },                         { "platform/one/show.cpp", false },
        { "platform/two/show.cpp:1: includes platform/one/frame.h", true },
        { "render/s.cpp:2: includes platform/one/frame.h", true }, { "render/s.cpp:1", false },
        { "game/w.cpp:1: includes <emscripten.h>", true },  { "game/g.h:1: includes web/page.h", true },
        { "web/page.cpp", false },
    };
    std::vector<std::string> problems = checkLayout(root);
    std::string all = testing::PrintToString(problems);
    for (const auto &l : lines)
        EXPECT_EQ(all.find(l.at) != std::string::npos, l.reported) << l.at << " in " << all;
    EXPECT_TRUE(all.find("include circle: core/a.h -> core/b.h -> core/a.h") != std::string::npos
                || all.find("include circle: core/b.h -> core/a.h -> core/b.h") != std::string::npos) << all;
    EXPECT_EQ(problems.size(), 9u) << all;
    removeTree(root);
}
