// Reads the #include lines of the game's source folders and reports what
// breaks the layout: an arrow that runs up the order of the rooms (which is
// also what any circle between folders needs), a circle between files, and a
// call into the system's window, events, input or signals outside platform/.
#ifndef TESTS_LAYOUTCHECK_H
#define TESTS_LAYOUTCHECK_H

#include <string>
#include <vector>

// The rooms from the bottom up; a file may include its own room and rooms
// below it.
extern const std::vector<std::string> layoutRooms;

// One line per problem found under root; empty when the layout holds.
std::vector<std::string> checkLayout(const std::string &root);

#endif
