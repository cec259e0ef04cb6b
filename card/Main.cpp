// Entry point of Frostvale-Karte.exe; the card takes no arguments.
#include "card/uTinselscreen.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return FrostvaleMain();
}
