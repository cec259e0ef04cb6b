// The scene window and the card's main block.
#pragma once

#include <windows.h>

// Runs the card: creates the forms, runs the message loop, returns the exit code.
int FrostvaleMain();
