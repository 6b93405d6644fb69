#include "store/PredicateTranslator.h"

#include <algorithm>
#include <cctype>

#include "store/ColumnCodec.h"
#include "store/ComparisonTranslator.h"
#include "store/PredicateError.h"
#include "store/PredicateLexer.h"
#include "store/TextFolding.h"

namespace store {

namespace {

using Kind = PredicateToken::Kind;

bool sameWord(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) ==
                      std::toupper(static_cast<unsigned char>(y));
           });
}

bool isReserved(std::string_view word) {
    static constexpr std::string_view reserved[] = {
        "AND", "OR", "NOT", "ANY", "SOME", "BEGINSWITH", "ENDSWITH", "CONTAINS", "LIKE", "IN"};
    return std::any_of(std::begin(reserved), std::end(reserved),
                       [&](std::string_view keyword) { return sameWord(word, keyword); });
}

std::optional<foundation::Value> literalWord(std::string_view word) {
    if (sameWord(word, "YES") || sameWord(word, "TRUE"))
        return foundation::Value(true);
    if (sameWord(word, "NO") || sameWord(word, "FALSE"))
        return foundation::Value(false);
    if (sameWord(word, "NIL") || sameWord(word, "NULL"))
        return foundation::Value();
    return std::nullopt;
}

ComparisonOperator mirrored(ComparisonOperator op) {
    switch (op) {
        case ComparisonOperator::Less:
            return ComparisonOperator::Greater;
        case ComparisonOperator::LessOrEqual:
            return ComparisonOperator::GreaterOrEqual;
        case ComparisonOperator::Greater:
            return ComparisonOperator::Less;
        case ComparisonOperator::GreaterOrEqual:
            return ComparisonOperator::LessOrEqual;
        default:
            return op;
    }
}

bool canMirror(ComparisonOperator op) {
    return op == ComparisonOperator::Equal || op == ComparisonOperator::NotEqual ||
           op == ComparisonOperator::Less || op == ComparisonOperator::LessOrEqual ||
           op == ComparisonOperator::Greater || op == ComparisonOperator::GreaterOrEqual;
}

}  // namespace

class PredicateTranslator::Nesting {
  public:
    explicit Nesting(PredicateTranslator& translator) : translator_(translator) {
        if (++translator_.nesting_ > kMaximumNesting)
            translator_.fail("nested deeper than " + std::to_string(kMaximumNesting) + " levels",
                             translator_.peek());
    }
    ~Nesting() { --translator_.nesting_; }
    Nesting(const Nesting&) = delete;
    Nesting& operator=(const Nesting&) = delete;

  private:
    PredicateTranslator& translator_;
};

SqlFragment PredicateTranslator::translate(const ObjectSchema& schema, std::string_view format,
                                           std::vector<foundation::Value> arguments) {
    if (format.size() > kMaximumLength)
        throw PredicateError("a predicate of " + std::to_string(format.size()) +
                             " characters is longer than " + std::to_string(kMaximumLength));
    return PredicateTranslator(schema, format, std::move(arguments)).run();
}

PredicateTranslator::PredicateTranslator(const ObjectSchema& schema, std::string_view format,
                                         std::vector<foundation::Value> arguments)
    : schema_(schema),
      format_(format),
      tokens_(PredicateLexer(format).tokens()),
      arguments_(std::move(arguments)) {}

SqlFragment PredicateTranslator::run() {
    auto sql = orExpression();
    if (peek().kind != Kind::End)
        fail("unexpected text", peek());
    if (argumentsUsed_ != arguments_.size())
        fail(std::to_string(arguments_.size()) + " arguments given for " +
                 std::to_string(argumentsUsed_) + " placeholders",
             peek());
    return {std::move(sql), std::move(bindings_)};
}

std::string PredicateTranslator::orExpression() {
    auto sql = andExpression();
    while (takeKeyword("OR") || takeSymbol("||"))
        sql += " OR " + andExpression();
    return sql;
}

std::string PredicateTranslator::andExpression() {
    auto sql = notExpression();
    while (takeKeyword("AND") || takeSymbol("&&"))
        sql += " AND " + notExpression();
    return sql;
}

std::string PredicateTranslator::notExpression() {
    const Nesting level(*this);
    if (takeKeyword("NOT") || takeSymbol("!"))
        return "NOT " + notExpression();
    if (takeKind(Kind::LeftParen)) {
        auto sql = orExpression();
        if (!takeKind(Kind::RightParen))
            fail("expected ')'", peek());
        return "(" + sql + ")";
    }
    return "(" + comparison() + ")";
}

std::string PredicateTranslator::comparison() {
    bool any = takeKeyword("ANY") || takeKeyword("SOME");
    auto left = operand();
    const auto& operatorToken = peek();
    auto op = comparisonOperator();
    if (!op)
        fail("expected a comparison operator", operatorToken);
    int options = foldOptions();
    auto right = operand();
    if (left.property && right.property)
        fail("cannot compare two key paths", operatorToken);
    if (!left.property && !right.property)
        fail("a comparison needs a key path", operatorToken);
    if (!left.property) {
        // "%@ IN list" asks whether the list holds the value.
        if (*op == ComparisonOperator::In && isListType(right.property->type))
            op = ComparisonOperator::Equal;
        else if (canMirror(*op))
            op = mirrored(*op);
        else
            fail("the key path must stand left of this operator", operatorToken);
        std::swap(left, right);
    }
    if (any && !isListType(left.property->type))
        fail("ANY needs a list property, not \"" + left.property->name + "\"", operatorToken);
    return ComparisonTranslator(*left.property, *op, options, format_)
        .translate(column(*left.property), right.value, bindings_);
}

PredicateTranslator::Operand PredicateTranslator::operand() {
    const auto token = peek();
    switch (token.kind) {
        case Kind::Number:
        case Kind::String:
            ++position_;
            return {nullptr, token.value};
        case Kind::LeftBrace:
            return {nullptr, list()};
        case Kind::Argument: {
            ++position_;
            const auto& argument = nextArgument(token);
            if (token.text != "K")
                return {nullptr, argument};
            if (!argument.isString())
                fail("%K needs a string argument", token);
            return {&propertyNamed(*argument.string(), token), {}};
        }
        case Kind::Word: {
            ++position_;
            if (auto literal = literalWord(token.text))
                return {nullptr, *literal};
            if (isReserved(token.text))
                fail("unexpected keyword " + token.text, token);
            return {&propertyNamed(token.text, token), {}};
        }
        default:
            fail("expected a key path or a value", token);
    }
}

foundation::Value PredicateTranslator::list() {
    const Nesting level(*this);
    const auto open = peek();
    ++position_;
    foundation::Value::Array elements;
    if (takeKind(Kind::RightBrace))
        return elements;
    do {
        auto element = operand();
        if (element.property)
            fail("a {...} list holds values, not key paths", open);
        elements.push_back(std::move(element.value));
    } while (takeKind(Kind::Comma));
    if (!takeKind(Kind::RightBrace))
        fail("expected '}'", peek());
    return elements;
}

std::optional<ComparisonOperator> PredicateTranslator::comparisonOperator() {
    static const std::pair<std::string_view, ComparisonOperator> symbols[] = {
        {"=", ComparisonOperator::Equal},
        {"==", ComparisonOperator::Equal},
        {"!=", ComparisonOperator::NotEqual},
        {"<>", ComparisonOperator::NotEqual},
        {"<", ComparisonOperator::Less},
        {"<=", ComparisonOperator::LessOrEqual},
        {"=<", ComparisonOperator::LessOrEqual},
        {">", ComparisonOperator::Greater},
        {">=", ComparisonOperator::GreaterOrEqual},
        {"=>", ComparisonOperator::GreaterOrEqual},
    };
    static const std::pair<std::string_view, ComparisonOperator> keywords[] = {
        {"BEGINSWITH", ComparisonOperator::BeginsWith},
        {"ENDSWITH", ComparisonOperator::EndsWith},
        {"CONTAINS", ComparisonOperator::Contains},
        {"LIKE", ComparisonOperator::Like},
        {"IN", ComparisonOperator::In},
    };
    for (const auto& [symbol, op] : symbols)
        if (takeSymbol(symbol))
            return op;
    for (const auto& [keyword, op] : keywords)
        if (takeKeyword(keyword))
            return op;
    return std::nullopt;
}

int PredicateTranslator::foldOptions() {
    if (peek().kind != Kind::Modifier)
        return 0;
    const auto& letters = tokens_[position_++].text;
    int options = 0;
    if (letters.find('c') != std::string::npos)
        options |= TextFolding::kCase;
    if (letters.find('d') != std::string::npos)
        options |= TextFolding::kDiacritics;
    return options;
}

const Property& PredicateTranslator::propertyNamed(const std::string& name,
                                                   const PredicateToken& at) const {
    if (auto property = schema_.property(name))
        return *property;
    fail("class " + schema_.className() + " has no property \"" + name + "\"", at);
}

const foundation::Value& PredicateTranslator::nextArgument(const PredicateToken& at) {
    if (argumentsUsed_ >= arguments_.size())
        fail("too few arguments", at);
    const auto& argument = arguments_[argumentsUsed_++];
    bool numeric = argument.isNumber();
    if ((at.text == "d" || at.text == "i" || at.text == "f") && !numeric)
        fail("%" + at.text + " needs a number argument", at);
    return argument;
}

std::string PredicateTranslator::column(const Property& property) const {
    return ColumnCodec::quoted(schema_.className()) + "." + ColumnCodec::quoted(property.name);
}

bool PredicateTranslator::takeKeyword(std::string_view keyword) {
    if (peek().kind != Kind::Word || !sameWord(peek().text, keyword))
        return false;
    ++position_;
    return true;
}

bool PredicateTranslator::takeSymbol(std::string_view symbol) {
    if (peek().kind != Kind::Operator || peek().text != symbol)
        return false;
    ++position_;
    return true;
}

bool PredicateTranslator::takeKind(PredicateToken::Kind kind) {
    if (peek().kind != kind)
        return false;
    ++position_;
    return true;
}

void PredicateTranslator::fail(const std::string& what, const PredicateToken& at) const {
    throw PredicateError(what + " at position " + std::to_string(at.position) + " of predicate \"" +
                         format_ + "\"");
}

}  // namespace store
