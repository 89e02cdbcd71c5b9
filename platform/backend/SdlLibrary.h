#pragma once
// SDL2 is not linked but loaded when the SDL display starts (SdlLibrary.cpp).
#include <string>

// Loads SDL2 on the first call; empty when it is loaded, otherwise why not (Russian).
const std::string& SdlLibraryError();
