// Delphi's small sets over an enumeration, as a bit mask.
#pragma once

#include <cstdint>
#include <initializer_list>

namespace rtl {

template <class E> class TSet {
public:
    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> items) {
        for (E e : items)
            FBits |= Bit(e);
    }
    constexpr explicit TSet(uint64_t bits) : FBits(bits) {}
    constexpr explicit operator uint64_t() const { return FBits; }
    constexpr uint64_t Bits() const { return FBits; }

    constexpr bool Contains(E e) const { return (FBits & Bit(e)) != 0; }
    constexpr bool Empty() const { return FBits == 0; }
    constexpr TSet& Include(E e) {
        FBits |= Bit(e);
        return *this;
    }
    constexpr TSet& Exclude(E e) {
        FBits &= ~Bit(e);
        return *this;
    }
    constexpr TSet operator+(TSet o) const { return TSet(FBits | o.FBits); }
    constexpr TSet operator-(TSet o) const { return TSet(FBits & ~o.FBits); }
    constexpr TSet operator*(TSet o) const { return TSet(FBits & o.FBits); }
    constexpr bool operator==(TSet o) const { return FBits == o.FBits; }
    constexpr bool operator!=(TSet o) const { return FBits != o.FBits; }

private:
    static constexpr uint64_t Bit(E e) { return uint64_t(1) << static_cast<unsigned>(e); }
    uint64_t FBits = 0;
};

} // namespace rtl
