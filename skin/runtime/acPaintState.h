#pragma once
// The paint state of a face. Its number is also the column of the state's image in a
// mask (normal, hot, pressed from left to right) and what the driver reports.
enum class TacPaintState : int { Normal = 0, Hot = 1, Pressed = 2 };

constexpr TacPaintState HotIf(bool hot) { return hot ? TacPaintState::Hot : TacPaintState::Normal; }
// Hot and pressed faces both use a section's hot values.
constexpr bool UsesHotValues(TacPaintState state) { return state != TacPaintState::Normal; }
constexpr int StateNumber(TacPaintState state) { return static_cast<int>(state); }
