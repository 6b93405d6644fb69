#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/Value.h"
#include "store/ComparisonOperator.h"
#include "store/ObjectSchema.h"
#include "store/PredicateToken.h"
#include "store/SqlFragment.h"

namespace store {

// Translates a predicate format with its arguments into a parameterised SQL condition on the
// class's table. Key paths are checked against the schema and quoted; every value is bound.
//
//   predicate  := or
//   or         := and (("OR" | "||") and)*
//   and        := not (("AND" | "&&") not)*
//   not        := ("NOT" | "!") not | "(" predicate ")" | comparison
//   comparison := ["ANY" | "SOME"] operand operator ["[c]" | "[d]" | "[cd]"] operand
//   operand    := keyPath | "%K" | "%@" | "%d" | "%i" | "%f" | number | 'text' | "text"
//               | YES | NO | TRUE | FALSE | nil | NULL | "{" operand ("," operand)* "}"
//   operator   := = == != <> < <= =< > >= => BEGINSWITH ENDSWITH CONTAINS LIKE IN
//
// Keywords are case-insensitive. Exactly one side of a comparison is a key path. A malformed
// format throws PredicateError; formats come from the program's own code, never from outside.
class PredicateTranslator {
  public:
    // Parentheses, NOTs and {...} lists nest no deeper than this: each level is a call here, and
    // SQLite's parser refuses a condition nested much deeper.
    static constexpr std::size_t kMaximumNesting = 32;
    // A longer format could hold more comparisons than SQLite takes in one condition.
    static constexpr std::size_t kMaximumLength = 4096;

    static SqlFragment translate(const ObjectSchema& schema, std::string_view format,
                                 std::vector<foundation::Value> arguments);

  private:
    struct Operand {
        const Property* property = nullptr;
        foundation::Value value;
    };

    PredicateTranslator(const ObjectSchema& schema, std::string_view format,
                        std::vector<foundation::Value> arguments);
    SqlFragment run();

    std::string orExpression();
    std::string andExpression();
    std::string notExpression();
    std::string comparison();
    Operand operand();
    foundation::Value list();
    std::optional<ComparisonOperator> comparisonOperator();
    int foldOptions();

    const Property& propertyNamed(const std::string& name, const PredicateToken& at) const;
    const foundation::Value& nextArgument(const PredicateToken& at);
    std::string column(const Property& property) const;
    bool takeKeyword(std::string_view keyword);
    bool takeSymbol(std::string_view symbol);
    bool takeKind(PredicateToken::Kind kind);
    // One level deeper for as long as it lives.
    class Nesting;
    const PredicateToken& peek() const { return tokens_[position_]; }
    [[noreturn]] void fail(const std::string& what, const PredicateToken& at) const;

    const ObjectSchema& schema_;
    std::string format_;
    std::vector<PredicateToken> tokens_;
    std::size_t position_ = 0;
    std::vector<foundation::Value> arguments_;
    std::size_t argumentsUsed_ = 0;
    std::vector<foundation::Value> bindings_;
    std::size_t nesting_ = 0;
};

}  // namespace store
