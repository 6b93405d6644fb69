#pragma once

#include <algorithm>
#include <concepts>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "store/ObjectSchema.h"
#include "store/PropertyTraits.h"
#include "store/StoreError.h"

namespace store {

template <typename T>
class Schema;

// A stored record: a plain struct that can be made empty and names its schema.
//
//   struct KSRSource {
//       std::string location;
//       std::optional<std::string> name;
//       static const store::Schema<KSRSource>& schema() {
//           static const auto schema = store::Schema<KSRSource>("KSRSource", "location")
//                                          .property("location", &KSRSource::location)
//                                          .property("name", &KSRSource::name);
//           return schema;
//       }
//   };
template <typename T>
concept Record = std::default_initializable<T> && requires {
    { T::schema() } -> std::same_as<const Schema<T>&>;
};

template <typename M>
struct IsRecordList : std::false_type {};
template <typename E>
struct IsRecordList<std::vector<E>> : std::bool_constant<!std::same_as<E, std::string>> {};

// The schema of record type T, built by naming each property with its member in order. The
// member's type gives the property's type: std::string, bool, any integer, double, and
// std::optional of those; std::vector<std::string>; std::vector<R> of another record type R.
template <typename T>
class Schema : public ObjectSchema {
  public:
    Schema(std::string className, std::string primaryKeyName)
        : ObjectSchema(std::move(className), std::move(primaryKeyName)) {}

    using ObjectSchema::property;

    template <typename M>
    Schema& property(std::string name, M T::*member) {
        if constexpr (IsRecordList<M>::value)
            addObjectList(std::move(name), member);
        else
            addScalar<PropertyTraits<M>>(std::move(name), member);
        return *this;
    }
    // Queries look records up by these properties, already named, in this order: they get an
    // index.
    Schema& indexed(std::vector<std::string> names) {
        addIndex({std::move(names)});
        return *this;
    }
    // Queries look up the few records where this boolean or optional property is set.
    Schema& sparselyIndexed(std::string name) {
        addIndex({{std::move(name)}, true});
        return *this;
    }
    // A date kept as seconds since 1970.
    Schema& date(std::string name, double T::*member) {
        addScalar<DateTraits>(std::move(name), member);
        return *this;
    }
    Schema& date(std::string name, std::optional<double> T::*member) {
        addScalar<OptionalTraits<DateTraits>>(std::move(name), member);
        return *this;
    }

    // Nil for an unset optional, and for a name the class does not have.
    foundation::Value get(const T& record, std::string_view name) const {
        auto target = property(name);
        return target ? target->get(&record) : foundation::Value();
    }
    using ObjectSchema::equal;
    bool equal(const T& a, const T& b) const { return ObjectSchema::equal(&a, &b); }

    // Throws StoreError for a name the class does not have.
    void set(T& record, std::string_view name, const foundation::Value& value) const {
        auto target = property(name);
        if (!target)
            throw StoreError("class " + className() + " has no property \"" + std::string(name) +
                             "\"");
        target->set(&record, value);
    }

  private:
    static const T& self(const void* record) { return *static_cast<const T*>(record); }
    static T& self(void* record) { return *static_cast<T*>(record); }

    template <typename Traits, typename M>
    void addScalar(std::string name, M T::*member) {
        Property property;
        property.name = std::move(name);
        property.type = Traits::type;
        property.optional = Traits::optional;
        property.get = [member](const void* record) {
            return Traits::toValue(self(record).*member);
        };
        property.set = [member](void* record, const foundation::Value& value) {
            self(record).*member = Traits::fromValue(value);
        };
        property.equal = [member](const void* a, const void* b) {
            return self(a).*member == self(b).*member;
        };
        property.bind = [member](const void* record, SQLite::Statement& statement, int index) {
            Traits::bind(statement, index, self(record).*member);
        };
        property.read = [member](void* record, const SQLite::Column& column) {
            self(record).*member = Traits::read(column);
        };
        const T prototype{};
        property.defaultValue = property.get(&prototype);
        addProperty(std::move(property));
    }

    template <typename E>
    void addObjectList(std::string name, std::vector<E> T::*member) {
        static_assert(Record<E>, "a list of records needs a record type with a schema");
        Property property;
        property.name = std::move(name);
        property.type = PropertyType::ObjectList;
        property.elementSchema = &E::schema();
        property.defaultValue = foundation::Value::Array();
        property.get = [member](const void* record) {
            foundation::Value::Array array;
            for (const auto& element : self(record).*member)
                array.emplace_back(E::schema().dictionary(&element));
            return foundation::Value(std::move(array));
        };
        property.set = [member](void* record, const foundation::Value& value) {
            auto& list = self(record).*member;
            list.clear();
            for (const auto& entry : value.array()) {
                E element{};
                E::schema().setDictionary(&element, entry.dictionary());
                list.push_back(std::move(element));
            }
        };
        property.equal = [member](const void* a, const void* b) {
            return std::ranges::equal(self(a).*member, self(b).*member, [](const E& x, const E& y) {
                return E::schema().equal(x, y);
            });
        };
        property.forEachElement = [member](const void* record,
                                           const Property::ElementVisitor& visit) {
            for (const auto& element : self(record).*member)
                visit(&element);
        };
        property.fillElements = [member](void* record, const Property::ElementSource& next) {
            auto& list = self(record).*member;
            list.clear();
            for (E element{}; next(&element); element = E{})
                list.push_back(std::move(element));
        };
        addProperty(std::move(property));
    }
};

}  // namespace store
