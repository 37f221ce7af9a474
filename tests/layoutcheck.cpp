#include "tests/layoutcheck.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <set>

const std::vector<std::string> layoutRooms = {
    "core", "platform", "assets", "objects", "world", "render", "game", "demo", "app", "web",
};

// Calls that tie the game to one system's window, events, input and signals.
static const std::regex platformCall(
    "\\b(SDL_Init|SDL_InitSubSystem|SDL_Quit|SDL_SetVideoMode|SDL_GetVideoInfo|SDL_ListModes"
    "|SDL_VideoModeOK|SDL_GetVideoSurface|SDL_WM_\\w+|SDL_Flip|SDL_UpdateRects?|SDL_ShowCursor"
    "|SDL_PollEvent|SDL_PumpEvents|SDL_WaitEvent|SDL_PeepEvents|SDL_PushEvent|SDL_EventState"
    "|SDL_GetKeyState|SDL_GetKeyboardState|SDL_GetModState|SDL_Joystick\\w+|SDL_NumJoysticks"
    "|SDL_GameController\\w+|SDL_CreateWindow|SDL_CreateRenderer|SDL_RenderPresent"
    "|SDL_DisplayFormat\\w*|SDL_SetColorKey|sigaction|signal)\\s*\\(");
static const std::regex includeLine("^\\s*#\\s*include\\s*\"([^\"]+)\"");
// The browser's own interface belongs to the page's rooms alone.
static const std::regex browserInclude("^\\s*#\\s*include\\s*<(emscripten[^>]*)>");


static int rank(const std::string &room)
{
    auto at = std::find(layoutRooms.begin(), layoutRooms.end(), room);
    return at == layoutRooms.end() ? -1 : (int)(at - layoutRooms.begin());
}

static std::string roomOf(const std::string &path)
{
    return path.substr(0, path.find('/'));
}

// Whether a file lies where the browser's interface may be used: web/, or
// the platform's implementation for a page.
static bool browserRoom(const std::string &path)
{
    return roomOf(path) == "web" || path.compare(0, 13, "platform/web/") == 0;
}

// The implementation folder of one SDL a path lies in ("platform/sdl2/"),
// or "" for a path outside any.
static std::string implementationOf(const std::string &path)
{
    if (roomOf(path) != "platform")
        return "";
    size_t slash = path.find('/', 9);
    return slash == std::string::npos ? "" : path.substr(0, slash + 1);
}

// Every .cpp and .h file under root/dir, as paths relative to root.
static void listSources(const std::string &root, const std::string &dir, std::vector<std::string> *out)
{
    namespace fs = std::filesystem;
    std::error_code err;
    for (fs::recursive_directory_iterator it(root + "/" + dir, err), end; it != end; it.increment(err))
        if (it->is_regular_file(err) && (it->path().extension() == ".cpp" || it->path().extension() == ".h"))
            out->push_back(fs::relative(it->path(), root).generic_string());
}

// The line without its // comment and string contents, so that a call
// named in a comment or a message does not count.
static std::string codeOf(const std::string &line, bool *inBlock)
{
    std::string code;
    bool inString = false;
    for (size_t i = 0; i < line.size(); i++) {
        if (*inBlock) {
            if (line.compare(i, 2, "*/") == 0) {
                *inBlock = false;
                i++;
            }
            continue;
        }
        if (inString) {
            if (line[i] == '\\')
                i++;
            else if (line[i] == '"')
                inString = false;
            continue;
        }
        if (line.compare(i, 2, "//") == 0)
            break;
        if (line.compare(i, 2, "/*") == 0) {
            *inBlock = true;
            i++;
            continue;
        }
        if (line[i] == '"')
            inString = true;
        code += line[i];
    }
    return code;
}

std::vector<std::string> checkLayout(const std::string &root)
{
    std::vector<std::string> problems, files;
    for (const auto &room : layoutRooms)
        listSources(root, room, &files);
    std::set<std::string> known(files.begin(), files.end());
    std::map<std::string, std::vector<std::string>> includes;

    for (const auto &file : files) {
        std::ifstream in(root + "/" + file);
        std::string line;
        bool inBlock = false;
        int number = 0;
        // One problem at the current line of this file.
        auto problem = [&](const std::string &what) {
            problems.push_back(file + ":" + std::to_string(number) + ": " + what);
        };
        while (std::getline(in, line)) {
            number++;
            std::smatch m;
            if (std::regex_search(line, m, includeLine)) {
                std::string target = m[1];
                if (!known.count(target)) {
                    // A file of the tree beside the rooms (tools, tests) is
                    // never the game's to include.
                    if (rank(roomOf(target)) < 0 && std::ifstream(root + "/" + target))
                        problem("includes " + target + ", which is not part of the game");
                    continue;
                }
                includes[file].push_back(target);
                // One SDL's implementation is reached only through the
                // platform's headers, so the other builds the same.
                std::string impl = implementationOf(target);
                if (!impl.empty() && impl != implementationOf(file))
                    problem("includes " + target + ", inside " + impl + " only");
                if (rank(roomOf(target)) > rank(roomOf(file)))
                    problem("includes " + target + ", which lies above " + roomOf(file) + "/");
                continue;
            }
            if (std::regex_search(line, m, browserInclude) && !browserRoom(file))
                problem("includes <" + m[1].str() + ">, which belongs in web/");
            std::string code = codeOf(line, &inBlock);
            if (roomOf(file) != "platform" && std::regex_search(code, m, platformCall))
                problem("calls " + m[1].str() + " outside platform/");
        }
    }

    // Circles between files: a depth-first walk that meets a file still on
    // its path.
    std::map<std::string, int> state;   // 0 new, 1 on the path, 2 done
    std::vector<std::string> path;
    std::function<void(const std::string &)> visit = [&](const std::string &f) {
        state[f] = 1;
        path.push_back(f);
        for (const auto &t : includes[f]) {
            if (state[t] == 1) {
                std::string circle;
                for (size_t i = 0; i < path.size(); i++)
                    if (!circle.empty() || path[i] == t)
                        circle += path[i] + " -> ";
                problems.push_back("include circle: " + circle + t);
            } else if (state[t] == 0) {
                visit(t);
            }
        }
        path.pop_back();
        state[f] = 2;
    };
    for (const auto &f : files)
        if (state[f] == 0)
            visit(f);
    return problems;
}
