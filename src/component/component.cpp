#include "component/component.h"

#include <algorithm>

#include "abi/cp1252.h"

namespace webrill::component {

PropertyTable::PropertyTable(std::initializer_list<const PropertyTable*> bases,
                             std::vector<PropertyInfo> own) {
    for (const PropertyTable* base : bases)
        properties_.insert(properties_.end(), base->All().begin(), base->All().end());
    for (auto& property : own)
        properties_.push_back(std::move(property));
}

const PropertyInfo* PropertyTable::Find(std::string_view name) const {
    const std::string key = abi::AsciiLowerCase(name);
    for (const auto& property : properties_) {
        if (abi::AsciiLowerCase(property.Name) == key) return &property;
    }
    return nullptr;
}

TComponent::TComponent(TComponent* owner, std::string name, int32_t tag)
    : Name(std::move(name)), Tag(tag), owner_(owner) {
    if (owner_ != nullptr) owner_->components_.push_back(this);
}

TComponent::~TComponent() {
    // Owned components go first, last made first; each leaves this list as it goes.
    while (!components_.empty())
        delete components_.back();
    if (owner_ != nullptr) std::erase(owner_->components_, this);
}

TComponent* TComponent::FindComponent(std::string_view name) const {
    if (name.empty()) return nullptr;
    const std::string key = abi::AsciiLowerCase(name);
    for (TComponent* component : components_) {
        if (abi::AsciiLowerCase(component->Name) == key) return component;
    }
    return nullptr;
}

const PropertyTable& TComponent::Properties() const {
    static const PropertyTable table(
        {}, {TextProperty("Name", &TComponent::Name), IntegerProperty("Tag", &TComponent::Tag)});
    return table;
}

std::optional<PropertyValue> TComponent::GetProperty(std::string_view name) const {
    const PropertyInfo* property = Properties().Find(name);
    if (property == nullptr) return std::nullopt;
    return property->Get(*this);
}

bool TComponent::SetProperty(std::string_view name, const PropertyValue& value) {
    const PropertyInfo* property = Properties().Find(name);
    if (property == nullptr || !property->Set) return false;
    property->Set(*this, value);
    return true;
}

}  // namespace webrill::component
