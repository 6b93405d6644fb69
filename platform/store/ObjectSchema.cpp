#include "store/ObjectSchema.h"

#include <cctype>
#include <set>

#include "store/StoreError.h"

namespace store {

namespace {

bool isIdentifier(std::string_view name) {
    if (name.empty() || std::isdigit(static_cast<unsigned char>(name[0])))
        return false;
    for (char c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_')
            return false;
    return true;
}

// Names the store itself uses for helper columns in its queries, and SQLite's own row id.
bool isReservedName(std::string_view name) {
    return name.starts_with("_store") || name == "rowid" || name == "oid" || name == "_rowid_";
}

}  // namespace

ObjectSchema::ObjectSchema(std::string className, std::string primaryKeyName)
    : className_(std::move(className)), primaryKeyName_(std::move(primaryKeyName)) {}

const Property* ObjectSchema::property(std::string_view name) const {
    for (const auto& property : properties_)
        if (property.name == name)
            return &property;
    return nullptr;
}

const Property& ObjectSchema::primaryKey() const {
    if (auto key = property(primaryKeyName_))
        return *key;
    throw StoreError("class " + className_ + " has no primary key property \"" + primaryKeyName_ +
                     "\"");
}

void ObjectSchema::validate() const {
    if (!isIdentifier(className_) || isReservedName(className_))
        throw StoreError("invalid class name \"" + className_ + "\"");
    std::set<std::string> seen;
    for (const auto& property : properties_) {
        if (!isIdentifier(property.name) || isReservedName(property.name))
            throw StoreError("invalid property name \"" + property.name + "\" in " + className_);
        if (!seen.insert(property.name).second)
            throw StoreError("property \"" + property.name + "\" appears twice in " + className_);
    }
    const auto& key = primaryKey();
    if (key.optional || (key.type != PropertyType::String && key.type != PropertyType::Integer))
        throw StoreError("the primary key of " + className_ +
                         " must be a non-optional string or integer");
    for (const auto& index : indexes_)
        validate(index);
}

void ObjectSchema::validate(const Index& index) const {
    if (index.properties.empty())
        throw StoreError("an index of " + className_ + " names no property");
    for (const auto& name : index.properties) {
        const auto* indexed = property(name);
        if (!indexed || indexed->type == PropertyType::ObjectList ||
            indexed->type == PropertyType::StringList)
            throw StoreError("the index on \"" + name + "\" of " + className_ +
                             " names no scalar property");
        if (index.sparse && (index.properties.size() > 1 ||
                             (indexed->type != PropertyType::Boolean && !indexed->optional)))
            throw StoreError("the sparse index on \"" + name + "\" of " + className_ +
                             " needs one boolean or optional property");
    }
}

bool ObjectSchema::equal(const void* a, const void* b) const {
    for (const auto& property : properties_)
        if (!property.equal(a, b))
            return false;
    return true;
}

foundation::Value::Dictionary ObjectSchema::dictionary(const void* record) const {
    foundation::Value::Dictionary values;
    for (const auto& property : properties_)
        values[property.name] = property.get(record);
    return values;
}

void ObjectSchema::setDictionary(void* record, const foundation::Value::Dictionary& values) const {
    for (const auto& [name, value] : values) {
        auto target = property(name);
        if (!target)
            throw StoreError("class " + className_ + " has no property \"" + name + "\"");
        target->set(record, value);
    }
}

void ObjectSchema::addProperty(Property property) {
    properties_.push_back(std::move(property));
}

}  // namespace store
