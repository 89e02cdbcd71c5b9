#pragma once
// The kind of a skinned control: chooses its default section and how the common
// handling treats hover, glow, frame repaints and opacity. Codes are the ones stored
// skins and their sections were made for; every numeric code lives in this file pair
// (the enumeration and the tables in acControlKinds.cpp), code elsewhere names a kind
// or asks one of the questions below.
#include <cstdint>
#include <string_view>

enum class TacControlKind : int {
  Unknown = 0,
  Edit = 3,
  Memo = 7,
  CheckBox = 32,
  Panel = 51,
  ToolBar = 54,
  GroupBox = 74,
  DBEdit = 76,
  SpeedButton = 92,
  Button = 93,
  BitBtn = 94,
  EditWindow = 97,  // a plain edit under a window subclass
  Adapter = 227,
};

// Default section of a kind, "" for a kind that takes its class name.
std::string_view DefaultSectionOfKind(TacControlKind kind);
// Edit kinds repaint their frame at once when focus or hover changes.
bool IsEditKind(TacControlKind kind);
// Container kinds never become hot and never set MouseAbove.
bool IsContainerKind(TacControlKind kind);
// No-glow kinds get no glow from the common handling.
bool IsNoGlowKind(TacControlKind kind);
// The three buttons show their glow themselves, not through the common handling.
bool IsButtonKind(TacControlKind kind);
// Panels and their kin keep the plain-colour opacity bit.
bool KeepsOpacityKind(TacControlKind kind);

// Tag of a form or control the engine leaves unskinned (its own animation windows,
// a label that keeps its colour, any control a form excludes).
constexpr std::intptr_t kNoSkinTag = -98;
