#pragma once
// A small set over an enumeration, for the framework's flag sets (font styles,
// anchors, component and control states, border icons).
#include <cstdint>
#include <initializer_list>

template <class E>
class TSet {
public:
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> items) {
    for (E e : items) Bits_ |= Bit(e);
  }

  constexpr bool Contains(E e) const { return (Bits_ & Bit(e)) != 0; }
  constexpr bool Empty() const { return Bits_ == 0; }
  constexpr void Include(E e) { Bits_ |= Bit(e); }
  constexpr void Exclude(E e) { Bits_ &= ~Bit(e); }
  constexpr void Set(E e, bool on) { on ? Include(e) : Exclude(e); }
  constexpr std::uint64_t Bits() const { return Bits_; }

  constexpr TSet operator+(TSet o) const { return FromBits(Bits_ | o.Bits_); }
  constexpr TSet operator-(TSet o) const { return FromBits(Bits_ & ~o.Bits_); }
  constexpr TSet operator*(TSet o) const { return FromBits(Bits_ & o.Bits_); }
  constexpr TSet operator+(E e) const { return FromBits(Bits_ | Bit(e)); }
  constexpr TSet operator-(E e) const { return FromBits(Bits_ & ~Bit(e)); }
  friend constexpr bool operator==(TSet a, TSet b) { return a.Bits_ == b.Bits_; }

private:
  static constexpr std::uint64_t Bit(E e) { return std::uint64_t{1} << static_cast<unsigned>(e); }
  static constexpr TSet FromBits(std::uint64_t b) {
    TSet s;
    s.Bits_ = b;
    return s;
  }
  std::uint64_t Bits_ = 0;
};
