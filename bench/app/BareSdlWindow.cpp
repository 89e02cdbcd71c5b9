// The baseline of the real-display figures: a bare SDL program that opens one
// window and fills it with a colour, and opens a second, filled with another,
// when the first is clicked. It runs until it is told to quit or is killed.
//   bare-sdl-window X Y WIDTH HEIGHT  X2 Y2 WIDTH2 HEIGHT2
#include <SDL.h>

#include <cstdlib>

namespace {

void Fill(SDL_Window* window, Uint8 r, Uint8 g, Uint8 b) {
  SDL_Surface* surface = SDL_GetWindowSurface(window);
  if (!surface) return;
  SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, r, g, b));
  SDL_UpdateWindowSurface(window);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 9) return 2;
  int v[8];
  for (int i = 0; i < 8; ++i) v[i] = std::atoi(argv[i + 1]);
  // As the program does: a GL framebuffer would recreate the window.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  if (SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
  SDL_Window* first = SDL_CreateWindow("bare", v[0], v[1], v[2], v[3], SDL_WINDOW_BORDERLESS);
  if (!first) return 1;
  Fill(first, 0x33, 0x66, 0xCC);
  SDL_Window* second = nullptr;
  SDL_Event e;
  while (SDL_WaitEvent(&e) && e.type != SDL_QUIT) {
    if (e.type == SDL_MOUSEBUTTONDOWN && !second) {
      second = SDL_CreateWindow("bare 2", v[4], v[5], v[6], v[7], SDL_WINDOW_BORDERLESS);
      if (second) Fill(second, 0xCC, 0x66, 0x33);
    } else if (e.type == SDL_WINDOWEVENT && e.window.event == SDL_WINDOWEVENT_EXPOSED) {
      if (SDL_GetWindowID(first) == e.window.windowID) Fill(first, 0x33, 0x66, 0xCC);
      else if (second && SDL_GetWindowID(second) == e.window.windowID) Fill(second, 0xCC, 0x66, 0x33);
    }
  }
  SDL_Quit();
  return 0;
}
