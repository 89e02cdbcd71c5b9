// SDL2, loaded when the SDL display starts. Linked, it and the forty-odd
// libraries it needs (sound servers, Wayland, codecs of its audio) would be
// loaded at every start, though headless runs (the tests, the scripts, every
// benchmark) never show a window on a screen. The functions below stand in for
// SDL's own under its names (its headers check every signature) and call into
// the library once it is loaded; the backend and the sound output call them as
// they would call SDL.
#include "platform/backend/SdlLibrary.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include <string>

#include "platform/base/SharedLibrary.h"

// X(function): every SDL function the program calls.
#define TB_SDL_FUNCTIONS(X) \
  X(SDL_Init)                      \
  X(SDL_InitSubSystem)             \
  X(SDL_WasInit)                   \
  X(SDL_Quit)                      \
  X(SDL_GetError)                  \
  X(SDL_SetHint)                   \
  X(SDL_GetTicks64)                \
  X(SDL_GetCurrentVideoDriver)     \
  X(SDL_GetDisplayBounds)          \
  X(SDL_CreateWindow)              \
  X(SDL_DestroyWindow)             \
  X(SDL_ShowWindow)                \
  X(SDL_HideWindow)                \
  X(SDL_RaiseWindow)               \
  X(SDL_MinimizeWindow)            \
  X(SDL_RestoreWindow)             \
  X(SDL_SetWindowPosition)         \
  X(SDL_SetWindowSize)             \
  X(SDL_SetWindowTitle)            \
  X(SDL_GetWindowTitle)            \
  X(SDL_SetWindowOpacity)          \
  X(SDL_SetWindowAlwaysOnTop)      \
  X(SDL_SetWindowInputFocus)       \
  X(SDL_GetWindowFlags)            \
  X(SDL_GetWindowID)               \
  X(SDL_GetWindowWMInfo)           \
  X(SDL_GetWindowSurface)          \
  X(SDL_UpdateWindowSurfaceRects)  \
  X(SDL_LockSurface)               \
  X(SDL_UnlockSurface)             \
  X(SDL_CreateSystemCursor)        \
  X(SDL_SetCursor)                 \
  X(SDL_FreeCursor)                \
  X(SDL_GetGlobalMouseState)       \
  X(SDL_StartTextInput)            \
  X(SDL_EventState)                \
  X(SDL_PollEvent)                 \
  X(SDL_WaitEvent)                 \
  X(SDL_WaitEventTimeout)          \
  X(SDL_PumpEvents)                \
  X(SDL_PeepEvents)                \
  X(SDL_AddEventWatch)             \
  X(SDL_DelEventWatch)             \
  X(SDL_OpenAudioDevice)           \
  X(SDL_CloseAudioDevice)          \
  X(SDL_PauseAudioDevice)          \
  X(SDL_QueueAudio)                \
  X(SDL_GetQueuedAudioSize)        \
  X(SDL_ClearQueuedAudio)

namespace {

constexpr const char* kLibrary = "libSDL2-2.0.so.0";

struct TSdl {
#define TB_SDL_MEMBER(function) decltype(&::function) function = nullptr;
  TB_SDL_FUNCTIONS(TB_SDL_MEMBER)
#undef TB_SDL_MEMBER
  std::string Error;  // why the library is not there; empty once loaded
};

TSdl Load() {
  TSdl sdl;
  TSharedLibrary library(kLibrary);
#define TB_SDL_FIND(function) library.Find(sdl.function, #function);
  TB_SDL_FUNCTIONS(TB_SDL_FIND)
#undef TB_SDL_FIND
  sdl.Error = library.Error();
  return sdl;
}

const TSdl& Sdl() {
  static const TSdl sdl = Load();
  return sdl;
}

}  // namespace

const std::string& SdlLibraryError() { return Sdl().Error; }

extern "C" {

// Without the library nothing starts: the start-up calls fail with its reason,
// the rest answer as SDL answers for what does not exist.
#define TB_SDL_FORWARD(function, none, ...)   \
  {                                           \
    const TSdl& sdl = Sdl();                  \
    if (!sdl.function) return none;           \
    return sdl.function(__VA_ARGS__);         \
  }

int SDL_Init(Uint32 flags) TB_SDL_FORWARD(SDL_Init, -1, flags)
int SDL_InitSubSystem(Uint32 flags) TB_SDL_FORWARD(SDL_InitSubSystem, -1, flags)
Uint32 SDL_WasInit(Uint32 flags) TB_SDL_FORWARD(SDL_WasInit, 0, flags)
void SDL_Quit(void) TB_SDL_FORWARD(SDL_Quit, )
const char* SDL_GetError(void) {
  const TSdl& sdl = Sdl();
  return sdl.SDL_GetError ? sdl.SDL_GetError() : sdl.Error.c_str();
}
SDL_bool SDL_SetHint(const char* name, const char* value) TB_SDL_FORWARD(SDL_SetHint, SDL_FALSE, name, value)
Uint64 SDL_GetTicks64(void) TB_SDL_FORWARD(SDL_GetTicks64, 0)
const char* SDL_GetCurrentVideoDriver(void) TB_SDL_FORWARD(SDL_GetCurrentVideoDriver, nullptr)
int SDL_GetDisplayBounds(int displayIndex, SDL_Rect* rect) TB_SDL_FORWARD(SDL_GetDisplayBounds, -1, displayIndex, rect)
SDL_Window* SDL_CreateWindow(const char* title, int x, int y, int w, int h, Uint32 flags)
    TB_SDL_FORWARD(SDL_CreateWindow, nullptr, title, x, y, w, h, flags)
void SDL_DestroyWindow(SDL_Window* window) TB_SDL_FORWARD(SDL_DestroyWindow, , window)
void SDL_ShowWindow(SDL_Window* window) TB_SDL_FORWARD(SDL_ShowWindow, , window)
void SDL_HideWindow(SDL_Window* window) TB_SDL_FORWARD(SDL_HideWindow, , window)
void SDL_RaiseWindow(SDL_Window* window) TB_SDL_FORWARD(SDL_RaiseWindow, , window)
void SDL_MinimizeWindow(SDL_Window* window) TB_SDL_FORWARD(SDL_MinimizeWindow, , window)
void SDL_RestoreWindow(SDL_Window* window) TB_SDL_FORWARD(SDL_RestoreWindow, , window)
void SDL_SetWindowPosition(SDL_Window* window, int x, int y) TB_SDL_FORWARD(SDL_SetWindowPosition, , window, x, y)
void SDL_SetWindowSize(SDL_Window* window, int w, int h) TB_SDL_FORWARD(SDL_SetWindowSize, , window, w, h)
void SDL_SetWindowTitle(SDL_Window* window, const char* title) TB_SDL_FORWARD(SDL_SetWindowTitle, , window, title)
const char* SDL_GetWindowTitle(SDL_Window* window) TB_SDL_FORWARD(SDL_GetWindowTitle, "", window)
int SDL_SetWindowOpacity(SDL_Window* window, float opacity) TB_SDL_FORWARD(SDL_SetWindowOpacity, -1, window, opacity)
void SDL_SetWindowAlwaysOnTop(SDL_Window* window, SDL_bool on_top)
    TB_SDL_FORWARD(SDL_SetWindowAlwaysOnTop, , window, on_top)
int SDL_SetWindowInputFocus(SDL_Window* window) TB_SDL_FORWARD(SDL_SetWindowInputFocus, -1, window)
Uint32 SDL_GetWindowFlags(SDL_Window* window) TB_SDL_FORWARD(SDL_GetWindowFlags, 0, window)
Uint32 SDL_GetWindowID(SDL_Window* window) TB_SDL_FORWARD(SDL_GetWindowID, 0, window)
SDL_bool SDL_GetWindowWMInfo(SDL_Window* window, SDL_SysWMinfo* info)
    TB_SDL_FORWARD(SDL_GetWindowWMInfo, SDL_FALSE, window, info)
SDL_Surface* SDL_GetWindowSurface(SDL_Window* window) TB_SDL_FORWARD(SDL_GetWindowSurface, nullptr, window)
int SDL_UpdateWindowSurfaceRects(SDL_Window* window, const SDL_Rect* rects, int numrects)
    TB_SDL_FORWARD(SDL_UpdateWindowSurfaceRects, -1, window, rects, numrects)
int SDL_LockSurface(SDL_Surface* surface) TB_SDL_FORWARD(SDL_LockSurface, -1, surface)
void SDL_UnlockSurface(SDL_Surface* surface) TB_SDL_FORWARD(SDL_UnlockSurface, , surface)
SDL_Cursor* SDL_CreateSystemCursor(SDL_SystemCursor id) TB_SDL_FORWARD(SDL_CreateSystemCursor, nullptr, id)
void SDL_SetCursor(SDL_Cursor* cursor) TB_SDL_FORWARD(SDL_SetCursor, , cursor)
void SDL_FreeCursor(SDL_Cursor* cursor) TB_SDL_FORWARD(SDL_FreeCursor, , cursor)
Uint32 SDL_GetGlobalMouseState(int* x, int* y) TB_SDL_FORWARD(SDL_GetGlobalMouseState, 0, x, y)
void SDL_StartTextInput(void) TB_SDL_FORWARD(SDL_StartTextInput, )
Uint8 SDL_EventState(Uint32 type, int state) TB_SDL_FORWARD(SDL_EventState, 0, type, state)
int SDL_PollEvent(SDL_Event* event) TB_SDL_FORWARD(SDL_PollEvent, 0, event)
int SDL_WaitEvent(SDL_Event* event) TB_SDL_FORWARD(SDL_WaitEvent, 0, event)
int SDL_WaitEventTimeout(SDL_Event* event, int timeout) TB_SDL_FORWARD(SDL_WaitEventTimeout, 0, event, timeout)
void SDL_PumpEvents(void) TB_SDL_FORWARD(SDL_PumpEvents, )
int SDL_PeepEvents(SDL_Event* events, int numevents, SDL_eventaction action, Uint32 minType, Uint32 maxType)
    TB_SDL_FORWARD(SDL_PeepEvents, -1, events, numevents, action, minType, maxType)
void SDL_AddEventWatch(SDL_EventFilter filter, void* userdata) TB_SDL_FORWARD(SDL_AddEventWatch, , filter, userdata)
void SDL_DelEventWatch(SDL_EventFilter filter, void* userdata) TB_SDL_FORWARD(SDL_DelEventWatch, , filter, userdata)
SDL_AudioDeviceID SDL_OpenAudioDevice(const char* device, int iscapture, const SDL_AudioSpec* desired,
                                      SDL_AudioSpec* obtained, int allowed_changes)
    TB_SDL_FORWARD(SDL_OpenAudioDevice, 0, device, iscapture, desired, obtained, allowed_changes)
void SDL_CloseAudioDevice(SDL_AudioDeviceID dev) TB_SDL_FORWARD(SDL_CloseAudioDevice, , dev)
void SDL_PauseAudioDevice(SDL_AudioDeviceID dev, int pause_on) TB_SDL_FORWARD(SDL_PauseAudioDevice, , dev, pause_on)
int SDL_QueueAudio(SDL_AudioDeviceID dev, const void* data, Uint32 len) TB_SDL_FORWARD(SDL_QueueAudio, -1, dev, data, len)
Uint32 SDL_GetQueuedAudioSize(SDL_AudioDeviceID dev) TB_SDL_FORWARD(SDL_GetQueuedAudioSize, 0, dev)
void SDL_ClearQueuedAudio(SDL_AudioDeviceID dev) TB_SDL_FORWARD(SDL_ClearQueuedAudio, , dev)

#undef TB_SDL_FORWARD
}
