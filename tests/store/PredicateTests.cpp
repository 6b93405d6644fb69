#include <gtest/gtest.h>

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include "StoreFixture.h"

#include "store/PredicateError.h"
#include "store/PredicateTranslator.h"

using namespace store_test;

class Predicates : public StoreFixture {};

TEST_F(Predicates, ArgumentsWithQuotesPercentSignsAndSqlAreMatchedLiterally) {
    add({package("a", "x' OR 1=1 --"), package("b", "100% free_tweak"), package("c", "plain"),
         package("d", "100 free tweak"), package("e", "x\" OR \"1\"=\"1")});

    EXPECT_EQ(identifiers(realm.objectsWhere<Package>("name == %@", "x' OR 1=1 --")), Strings{"a"});
    EXPECT_EQ(identifiers(realm.objectsWhere<Package>("name = %@", "x\" OR \"1\"=\"1")),
              Strings{"e"});
    EXPECT_EQ(realm.objectsWhere<Package>("name == %@", "' OR ''='").count(), 0u);
    EXPECT_EQ(identifiers(realm.objectsWhere<Package>("name BEGINSWITH %@", "100%")), Strings{"b"});
    EXPECT_EQ(identifiers(realm.objectsWhere<Package>("name CONTAINS %@", "_")), Strings{"b"});
    EXPECT_EQ(identifiers(realm.objectsWhere<Package>("name ENDSWITH[c] %@", "_TWEAK")),
              Strings{"b"});
    EXPECT_EQ(identifiers(realm.objectsWhere<Package>("name == 'x\\' OR 1=1 --'")), Strings{"a"});
    EXPECT_EQ(realm.allObjects<Package>().count(), 5u) << "no query may have changed the table";
}

TEST_F(Predicates, CaseAndDiacriticModifiersFoldOnlyWhenAsked) {
    add({package("a", "Café Tweaks"), package("b", "cafe tweaks"), package("c", "CAFÉ TWEAKS"),
         package("d", "Straße")});

    EXPECT_EQ(identifiers(realm.objectsWhere<Package>("name == %@", "cafe tweaks")), Strings{"b"});
    EXPECT_EQ(identifiers(realm.objectsWhere<Package>("name ==[c] %@", "café tweaks")),
              (Strings{"a", "c"}));
    EXPECT_EQ(identifiers(realm.objectsWhere<Package>("name ==[d] %@", "Cafe Tweaks")),
              Strings{"a"});
    EXPECT_EQ(identifiers(realm.objectsWhere<Package>("name ==[cd] %@", "CAFE TWEAKS")),
              (Strings{"a", "b", "c"}));
    EXPECT_EQ(identifiers(realm.objectsWhere<Package>("name CONTAINS[cd] %@", "É TW")),
              (Strings{"a", "b", "c"}));
    EXPECT_EQ(identifiers(realm.objectsWhere<Package>("name BEGINSWITH[cd] 'cafe'")),
              (Strings{"a", "b", "c"}));
    EXPECT_EQ(identifiers(realm.objectsWhere<Package>("name CONTAINS 'é'")), Strings{"a"});
    EXPECT_EQ(identifiers(realm.objectsWhere<Package>("name ==[c] 'STRASSE'")), Strings{"d"});
}

TEST_F(Predicates, NotEqualAndNotMatchUnsetValues) {
    auto withMaintainer = package("a");
    withMaintainer.maintainer = "Jay";
    auto other = package("b");
    other.maintainer = "Kay";
    add({withMaintainer, other, package("unset")});

    EXPECT_EQ(identifiers(realm.objectsWhere<Package>("maintainer != %@", "Jay")),
              (Strings{"b", "unset"}));
    EXPECT_EQ(identifiers(realm.objectsWhere<Package>("NOT (maintainer == 'Jay')")),
              (Strings{"b", "unset"}));
    EXPECT_EQ(identifiers(realm.objectsWhere<Package>("NOT maintainer BEGINSWITH 'K'")),
              (Strings{"a", "unset"}));
    EXPECT_EQ(identifiers(realm.objectsWhere<Package>("maintainer == nil")), Strings{"unset"});
    EXPECT_EQ(identifiers(realm.objectsWhere<Package>("maintainer != NULL")), (Strings{"a", "b"}));
    EXPECT_EQ(identifiers(realm.objectsWhere<Package>("maintainer == %@", foundation::Value())),
              Strings{"unset"});
    EXPECT_EQ(identifiers(realm.objectsWhere<Package>("!(maintainer IN {'Jay', 'Kay'})")),
              Strings{"unset"});
}

TEST_F(Predicates, InTakesArraysAndLiteralListsOfAnyLength) {
    add({package("a"), package("b"), package("c"), package("it's")});

    std::vector<std::string> wanted{"c", "it's", "missing"};
    EXPECT_EQ(identifiers(realm.objectsWhere<Package>("identifier IN %@", wanted)),
              (Strings{"c", "it's"}));
    EXPECT_EQ(identifiers(realm.objectsWhere<Package>("identifier IN {'a', \"b\"}")),
              (Strings{"a", "b"}));
    EXPECT_EQ(realm.objectsWhere<Package>("identifier IN %@", std::vector<std::string>{}).count(),
              0u);
    EXPECT_EQ(identifiers(realm.objectsWhere<Package>("identifier IN[c] {'A', 'B'}")),
              (Strings{"a", "b"}));

    std::vector<std::string> many;
    for (int i = 0; i < 40000; ++i)
        many.push_back("pkg" + std::to_string(i));
    many.push_back("b");
    EXPECT_EQ(identifiers(realm.objectsWhere<Package>("identifier IN %@", many)), Strings{"b"})
        << "a long list must not hit SQLite's limit on parameters";

    // Looking up a batch of keys must not read the whole table each time.
    const auto condition = store::PredicateTranslator::translate(
        Package::schema(), "identifier IN %@", {foundation::Value(foundation::Value::Array{"b"})});
    SQLite::Database database(databasePath());
    SQLite::Statement plan(database,
                           "EXPLAIN QUERY PLAN SELECT rowid FROM Package WHERE " + condition.sql);
    plan.bind(1, *condition.bindings.at(0).string());
    std::string steps;
    while (plan.executeStep())
        steps += plan.getColumn(3).getString() + "\n";
    EXPECT_NE(steps.find("SEARCH Package USING"), std::string::npos) << steps;
}

TEST_F(Predicates, BooleansNumbersAndDatesCompareWhateverTheSpelling) {
    auto installed = package("installed");
    installed.isInstalled = true;
    installed.queueOperation = 3;
    installed.rating = 4.5;
    installed.installDate = 1000;
    installed.isHeld = true;
    add({installed, package("other")});

    for (const char* format : {"isInstalled == YES", "isInstalled = 1", "isInstalled == TRUE",
                               "isInstalled"
                               " != NO"})
        EXPECT_EQ(identifiers(realm.objectsWhere<Package>(format)), Strings{"installed"}) << format;
    EXPECT_EQ(identifiers(realm.objectsWhere<Package>("isInstalled == %@", true)),
              Strings{"installed"});
    EXPECT_EQ(identifiers(realm.objectsWhere<Package>("isInstalled == %@", false)),
              Strings{"other"});
    EXPECT_EQ(identifiers(realm.objectsWhere<Package>("isHeld != YES")), Strings{"other"})
        << "an unset optional boolean is not YES";
    EXPECT_EQ(identifiers(realm.objectsWhere<Package>("queueOperation == %d", 3)),
              Strings{"installed"});
    EXPECT_EQ(identifiers(realm.objectsWhere<Package>("queueOperation > 0 AND rating >= 4.5")),
              Strings{"installed"});
    EXPECT_EQ(identifiers(realm.objectsWhere<Package>("2 < queueOperation")), Strings{"installed"});
    EXPECT_EQ(
        identifiers(realm.objectsWhere<Package>("installDate < %@", foundation::Value::date(2000))),
        Strings{"installed"});
    EXPECT_EQ(identifiers(realm.objectsWhere<Package>("rating < 1 OR queueOperation == 9")),
              Strings{"other"});
    EXPECT_EQ(identifiers(realm.objectsWhere<Package>("%K == %@", "queueOperation", 3)),
              Strings{"installed"});
}

TEST_F(Predicates, AnyMatchesAnElementOfAListOfStrings) {
    auto installed = package("a");
    installed.installedFiles = {"/Library/MobileSubstrate/DynamicLibraries/A.dylib", "/usr/bin/a"};
    auto other = package("b");
    other.installedFiles = {"/usr/bin/b"};
    add({installed, other, package("c")});

    EXPECT_EQ(identifiers(realm.objectsWhere<Package>("ANY installedFiles CONTAINS %@", ".dylib")),
              Strings{"a"});
    EXPECT_EQ(identifiers(realm.objectsWhere<Package>("ANY installedFiles == %@", "/usr/bin/b")),
              Strings{"b"});
    EXPECT_EQ(identifiers(realm.objectsWhere<Package>("%@ IN installedFiles", "/usr/bin/a")),
              Strings{"a"});
    EXPECT_EQ(identifiers(realm.objectsWhere<Package>("NOT ANY installedFiles BEGINSWITH '/usr'")),
              Strings{"c"});
}

TEST_F(Predicates, LikeUsesStarAndQuestionMarkOnly) {
    add({package("a", "com.ex.tweak"), package("b", "com%ex_tweak"), package("c", "other")});
    EXPECT_EQ(identifiers(realm.objectsWhere<Package>("name LIKE 'com?ex?tweak'")),
              (Strings{"a", "b"}));
    EXPECT_EQ(identifiers(realm.objectsWhere<Package>("name LIKE %@", "com%ex_*")), Strings{"b"});
    EXPECT_EQ(identifiers(realm.objectsWhere<Package>("name LIKE[c] '*TWEAK'")),
              (Strings{"a", "b"}));
}

TEST_F(Predicates, MalformedPredicatesThrowAPredicateErrorNamingTheFault) {
    auto fails = [&](const std::string& format, auto... arguments) {
        try {
            realm.objectsWhere<Package>(format, arguments...).count();
        } catch (const store::PredicateError& error) {
            return std::string(error.what());
        }
        return std::string("no error");
    };
    EXPECT_NE(fails("nmae == 'x'").find("no property \"nmae\""), std::string::npos);
    EXPECT_NE(fails("%K == 'x'", "name; DROP TABLE Package").find("no property"),
              std::string::npos);
    EXPECT_NE(fails("name == %@").find("too few arguments"), std::string::npos);
    EXPECT_NE(fails("name == 'x'", "extra").find("arguments given"), std::string::npos);
    EXPECT_NE(fails("name == 'x").find("unterminated"), std::string::npos);
    EXPECT_NE(fails("(name == 'x'").find("expected ')'"), std::string::npos);
    EXPECT_NE(fails("name 'x'").find("comparison operator"), std::string::npos);
    EXPECT_NE(fails("isInstalled CONTAINS 'x'").find("string property"), std::string::npos);
    EXPECT_NE(fails("queueOperation == %@", "three").find("type"), std::string::npos);
    EXPECT_NE(fails("name IN %@", "x").find("IN needs an array"), std::string::npos);
    EXPECT_NE(fails("name ==[x] 'a'").find("modifier"), std::string::npos);
    EXPECT_NE(fails("availableVersions == 'x'").find("list of records"), std::string::npos);

    // Each level of nesting is a call of the translator: a deep format is refused, not run
    // until the stack gives out.
    const auto nested = [](std::size_t levels, const char* open, const char* close) {
        std::string format;
        for (std::size_t i = 0; i < levels; ++i)
            format += open;
        format += "name == nil";
        for (std::size_t i = 0; i < levels && *close; ++i)
            format += close;
        return format;
    };
    const auto limit = store::PredicateTranslator::kMaximumNesting;
    EXPECT_EQ(fails(nested(limit - 1, "(", ")")), "no error");
    for (const auto& deep : {nested(limit, "(", ")"), nested(1000, "(", ")"),
                             nested(1000, "NOT ", ""), nested(1000, "!(", ")")})
        EXPECT_NE(fails(deep).find("nested deeper than"), std::string::npos);
    std::string chain = "name == nil";
    while (chain.size() <= store::PredicateTranslator::kMaximumLength)
        chain += " OR name == nil";
    EXPECT_NE(fails(chain).find("is longer than"), std::string::npos);
    std::string list = "name IN ";
    for (int i = 0; i < 1000; ++i)
        list += "{";
    EXPECT_NE(fails(list).find("nested deeper than"), std::string::npos);
    EXPECT_EQ(realm.allObjects<Package>().count(), 0u);
}
