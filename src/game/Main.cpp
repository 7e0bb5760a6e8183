// Program entry: build the game, run its three phases, return 0.
#include "Game.h"

namespace {

int RunGame() {
    Game game;
    game.Initialize();
    game.Run();
    game.Shutdown();
    return 0;
}

}  // namespace

#ifdef _WIN32
#include <windows.h>
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return RunGame();
}
#else
// Platforms without WinMain enter here and do exactly what WinMain does.
int main() {
    return RunGame();
}
#endif
