#pragma once
// The engine's wiring is started in one place and in one order by whoever runs it:
// the program, a test fixture, a benchmark. Each layer offers a part (what it hands
// to the layers below it: hooks, factories, the driver's properties); a scope starts
// its parts in the order given and stops them in reverse when it ends. Nothing hangs
// on the order of static initialisers or on the linker keeping a file, and a part's
// objects are gone only after every layer that could call them has let go.
//
// Scopes nest: a part already started by an outer scope is neither started again
// nor stopped by the inner one.
#include <string>
#include <vector>

struct TEnginePart {
  std::string Name;
  void (*Start)() = nullptr;
  void (*Stop)() = nullptr;
};

class TEngineScope {
public:
  explicit TEngineScope(std::vector<TEnginePart> parts);
  ~TEngineScope();
  TEngineScope(const TEngineScope&) = delete;
  TEngineScope& operator=(const TEngineScope&) = delete;

  // True while some scope holds the part of that name started.
  static bool Running(const std::string& name);

private:
  void LetGo();
  std::vector<TEnginePart> Held_;  // in start order
};

// The framework's own part: the driver's registry with the framework's classes.
// It comes first; stopping it empties the registry.
TEnginePart FormsEnginePart();
