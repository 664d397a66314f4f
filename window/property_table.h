// A unit type's own properties in one table: each row names a property,
// gives its type code, and says how the unit reads it out and how it takes
// a written value, side by side, so that reading and writing cannot drift
// apart. The row's place is the property's own index.
#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "window/unit.h"

namespace qy {

template <class U>
struct PropertyRow {
    const char* name;
    uint32_t kind;
    void (*read)(U& unit, PropertyValue* out);
    // Answers 0 (kPropertyApplied), or kRecreateUnit to have the unit made anew.
    int (*write)(U& unit, const PropertyValue& value);
};

template <class U, size_t N>
struct PropertyTable {
    PropertyRow<U> rows[N];
    // The names and type codes alone, as the window system reads them.
    PropertyInfo infos[N];

    static bool Has(int own) { return own >= 0 && static_cast<size_t>(own) < N; }
    bool Read(U& unit, int own, PropertyValue* out) const {
        if (!Has(own)) return false;
        rows[own].read(unit, out);
        return true;
    }
    int Write(U& unit, int own, const PropertyValue& value) const {
        return Has(own) ? rows[own].write(unit, value) : kPropertyApplied;
    }
};

template <class U, size_t N>
constexpr PropertyTable<U, N> MakePropertyTable(const PropertyRow<U> (&rows)[N]) {
    PropertyTable<U, N> table{};
    for (size_t i = 0; i < N; ++i) {
        table.rows[i] = rows[i];
        table.infos[i] = {rows[i].name, rows[i].kind};
    }
    return table;
}

// A property that is only a number of the unit's record (the unit member
// Record), kept within [Low, High] when written.
template <class U, auto Record, auto Field, int32_t Low = INT32_MIN, int32_t High = INT32_MAX>
constexpr PropertyRow<U> NumberField(const char* name, uint32_t kind) {
    return {name, kind, [](U& u, PropertyValue* out) { u.GiveInt(out, static_cast<int32_t>((u.*Record).*Field)); },
            [](U& u, const PropertyValue& v) {
                auto& field = (u.*Record).*Field;
                field = static_cast<std::remove_reference_t<decltype(field)>>(std::clamp<int32_t>(v.i, Low, High));
                return 0;
            }};
}

// A property that is only a text of the unit's record.
template <class U, auto Record, auto Field>
constexpr PropertyRow<U> TextField(const char* name, uint32_t kind) {
    return {name, kind, [](U& u, PropertyValue* out) { u.GiveText(out, (u.*Record).*Field); },
            [](U& u, const PropertyValue& v) { return (u.*Record).*Field = TextOf(v), 0; }};
}

template <class U, size_t N>
UnitTypeInfo MakeUnitType(const char* name, const char* englishName, uint32_t flags,
                          const PropertyTable<U, N>& table, Unit* (*create)(const UnitCreation&)) {
    return {name, englishName, flags, table.infos, static_cast<int>(N), create};
}

}  // namespace qy
