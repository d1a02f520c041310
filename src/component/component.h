#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "abi/variant.h"

namespace webrill::component {

using StringList = std::vector<std::string>;

struct EnumValue {
    int32_t Index = 0;
    bool operator==(const EnumValue&) const = default;
};

// The run-time kinds of published properties; the alternatives of PropertyValue in this order.
enum class PropertyKind { Integer, Real, Enumeration, Text, Lines, Variant };
using PropertyValue = std::variant<int32_t, double, EnumValue, std::string, StringList, abi::Variant>;

class TComponent;

struct PropertyInfo {
    std::string Name;
    PropertyKind Kind;
    std::vector<std::string> EnumNames;  // Booleans: "False", "True"
    std::function<PropertyValue(const TComponent&)> Get;
    std::function<void(TComponent&, const PropertyValue&)> Set;  // empty for a read-only property
};

// The published properties of one class, found by name without regard to case.
class PropertyTable {
  public:
    PropertyTable(std::initializer_list<const PropertyTable*> bases, std::vector<PropertyInfo> own);
    const PropertyInfo* Find(std::string_view name) const;
    const std::vector<PropertyInfo>& All() const { return properties_; }

  private:
    std::vector<PropertyInfo> properties_;
};

// An owned tree of named components: an owner frees what it owns.
class TComponent {
  public:
    explicit TComponent(TComponent* owner = nullptr, std::string name = {}, int32_t tag = 0);
    virtual ~TComponent();
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    std::string Name;
    int32_t Tag = 0;

    TComponent* Owner() const { return owner_; }
    const std::vector<TComponent*>& Components() const { return components_; }
    // The owned component of that name (without regard to case), or null.
    TComponent* FindComponent(std::string_view name) const;

    virtual const char* ClassName() const { return "TComponent"; }
    // Configuration roots address their fields by the settings path with "." turned into "_".
    virtual bool IsConfigurationRoot() const { return false; }
    virtual const PropertyTable& Properties() const;

    std::optional<PropertyValue> GetProperty(std::string_view name) const;
    // False when there is no such property or it cannot be written.
    bool SetProperty(std::string_view name, const PropertyValue& value);

  private:
    TComponent* owner_;
    std::vector<TComponent*> components_;
};

// Table entries bound to fields of a class. A field whose type is one of PropertyValue's
// alternatives is read and written as it is.
template <class C, class T>
PropertyInfo FieldProperty(std::string name, PropertyKind kind, T C::*field) {
    return {std::move(name),
            kind,
            {},
            [field](const TComponent& c) -> PropertyValue { return static_cast<const C&>(c).*field; },
            [field](TComponent& c, const PropertyValue& v) { static_cast<C&>(c).*field = std::get<T>(v); }};
}

template <class C>
PropertyInfo IntegerProperty(std::string name, int32_t C::*field) {
    return FieldProperty(std::move(name), PropertyKind::Integer, field);
}

template <class C>
PropertyInfo RealProperty(std::string name, double C::*field) {
    return FieldProperty(std::move(name), PropertyKind::Real, field);
}

template <class C>
PropertyInfo TextProperty(std::string name, std::string C::*field) {
    return FieldProperty(std::move(name), PropertyKind::Text, field);
}

// A string list whose contents are replaced on assignment.
template <class C>
PropertyInfo LinesProperty(std::string name, StringList C::*field) {
    return FieldProperty(std::move(name), PropertyKind::Lines, field);
}

// A Boolean is the enumeration False, True.
template <class C>
PropertyInfo BooleanProperty(std::string name, bool C::*field) {
    return {std::move(name),
            PropertyKind::Enumeration,
            {"False", "True"},
            [field](const TComponent& c) -> PropertyValue {
                return EnumValue{(static_cast<const C&>(c).*field) ? 1 : 0};
            },
            [field](TComponent& c, const PropertyValue& v) {
                static_cast<C&>(c).*field = std::get<EnumValue>(v).Index != 0;
            }};
}

}  // namespace webrill::component
