// pocketscreen's commands besides serve (serve.h), each a main of its own.
#pragma once

namespace screen {

int renderMain(int argc, char** argv);
int benchMain(int argc, char** argv);

// Loads the fonts once, so that a process's first picture costs what the others do.
void warmUp();

}  // namespace screen
