#pragma once

// pocketscreen serve: the live device in a browser (see README.md).
int serveMain(int argc, char** argv);
