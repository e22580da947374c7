#pragma once
// The program's entry: builds the application, the controller and the dialogs, and runs the
// event loop until the controller closes.
int runCorkvane(int argc, char *argv[]);
