#pragma once
// TSet<E>: a set of enumeration values kept as a bit mask (TShiftState,
// TBorderIcons, TFontStyles...). The enumeration's values must lie in 0..63.
// Only what the program uses: Contains, Include/Exclude, union, empty test, equality.

#include <cstdint>
#include <initializer_list>

template <class E>
class TSet {
public:
    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> items) {
        for (E e : items) Include(e);
    }

    constexpr bool Contains(E e) const { return (FBits & Bit(e)) != 0; }
    constexpr TSet& Include(E e) { FBits |= Bit(e); return *this; }
    constexpr TSet& Exclude(E e) { FBits &= ~Bit(e); return *this; }
    constexpr bool Empty() const { return FBits == 0; }
    constexpr uint64_t Bits() const { return FBits; }

    constexpr TSet operator+(TSet other) const { TSet r; r.FBits = FBits | other.FBits; return r; }
    constexpr TSet operator-(TSet other) const { TSet r; r.FBits = FBits & ~other.FBits; return r; }
    constexpr TSet operator*(TSet other) const { TSet r; r.FBits = FBits & other.FBits; return r; }
    constexpr bool operator==(const TSet&) const = default;

private:
    static constexpr uint64_t Bit(E e) { return uint64_t{1} << static_cast<unsigned>(e); }
    uint64_t FBits = 0;
};
