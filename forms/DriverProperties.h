#pragma once
// What the driver can read of a component: every class registers its own
// properties (name -> getter) here, and the driver asks the registry instead
// of knowing the classes. The registry is open: the data-aware controls, the
// skinned controls and any later layer register theirs the same way, when the
// layer's engine part starts (forms/EngineScope.h); the framework's part empties
// the registry when it stops.
//
// A property registered for a class applies to every class derived from it;
// when two registered classes give the same name (or dump key), the later
// registration wins for reading and dumping alike (derived layers start after
// the framework).
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "forms/Component.h"
#include "forms/Forward.h"
#include "platform/gfx/Types.h"

// How a property appears in the driver's JSON dump (besides being readable).
enum class TDumpAs { None, Raw, Text };

class TDriverProperties {
public:
  using TGetter = std::function<std::optional<std::string>(TComponent&)>;
  // Client point of row/column of a list-like control, after scrolling it into
  // view; nullopt when there is no such row.
  using TRowPoint = std::function<std::optional<TPoint>(TComponent&, int row, int col)>;

  template <class T>
  static void Register(const std::string& name, std::function<std::string(T&)> getter, TDumpAs dump = TDumpAs::None,
                       const std::string& dumpKey = "") {
    Add(name, dump, dumpKey, [getter](TComponent& c) -> std::optional<std::string> {
      auto* t = dynamic_cast<T*>(&c);
      if (!t) return std::nullopt;
      return getter(*t);
    });
  }
  // A property that exists only in some states (for example a scroll bar of a window that has one).
  template <class T>
  static void RegisterOptional(const std::string& name, std::function<std::optional<std::string>(T&)> getter) {
    Add(name, TDumpAs::None, "", [getter](TComponent& c) -> std::optional<std::string> {
      auto* t = dynamic_cast<T*>(&c);
      if (!t) return std::nullopt;
      return getter(*t);
    });
  }
  // A property a script may set ("set Form1.sSkinManager1.Active false"). The setter
  // returns an empty text when it took the value, else why it refused it.
  template <class T>
  static void RegisterSetter(const std::string& name, std::function<std::string(T&, const std::string&)> setter) {
    AddSetter(name, [setter](TComponent& c, const std::string& value) -> std::optional<std::string> {
      auto* t = dynamic_cast<T*>(&c);
      if (!t) return std::nullopt;
      return setter(*t, value);
    });
  }
  // How the driver reaches row `row` (column `col`) of a list-like control.
  template <class T>
  static void RegisterRows(std::function<std::optional<TPoint>(T&, int row, int col)> point) {
    AddRows([point](TComponent& c, int row, int col) -> std::optional<TPoint> {
      auto* t = dynamic_cast<T*>(&c);
      if (!t) return std::nullopt;
      return point(*t, row, col);
    }, [](TComponent& c) { return dynamic_cast<T*>(&c) != nullptr; });
  }

  // The value of a property, nullopt when the component's classes have none of that name.
  static std::optional<std::string> Read(TComponent& component, const std::string& name);
  // The dump members of the component (",\"key\":value" each).
  static std::string DumpMembers(TComponent& component);
  // Sets a property: nullopt when no class of the component lets scripts set it,
  // else the setter's answer (empty when the value was taken).
  static std::optional<std::string> Write(TComponent& component, const std::string& name, const std::string& value);
  // True when some class registered rows for the component.
  static bool HasRows(TComponent& component);
  static std::optional<TPoint> RowPoint(TComponent& component, int row, int col);

  static std::string JsonString(const std::string& text);
  // Forgets every registration (the framework's engine part stopping).
  static void Clear();

  struct TEntry {
    std::string Name;
    TDumpAs Dump = TDumpAs::None;
    std::string DumpKey;
    TGetter Get;
  };

private:
  using TSetter = std::function<std::optional<std::string>(TComponent&, const std::string&)>;
  struct TSetterEntry {
    std::string Name;
    TSetter Set;
  };
  struct TRows {
    TRowPoint Point;
    std::function<bool(TComponent&)> Applies;
  };
  static void Add(const std::string& name, TDumpAs dump, const std::string& dumpKey, TGetter getter);
  static void AddRows(TRowPoint point, std::function<bool(TComponent&)> applies);
  static void AddSetter(const std::string& name, TSetter setter);
  static std::vector<TSetterEntry>& Setters();
  static std::vector<TEntry>& Entries();
  static std::vector<TRows>& Rows();
};

// Registers the framework's own classes (the framework's engine part, first).
void RegisterFormsDriverProperties();
