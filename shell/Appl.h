#pragma once

// Runs the program: builds the application and its main window, then the event loop.
int RunTembrolo(int argc, char** argv);
