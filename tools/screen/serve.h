// `pocketscreen serve`: the live device in a browser.
#pragma once

int serveMain(int argc, char** argv);
