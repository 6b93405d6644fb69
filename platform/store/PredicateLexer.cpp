#include "store/PredicateLexer.h"

#include <cctype>
#include <cstdlib>

#include "store/PredicateError.h"

namespace store {

namespace {

bool isWordStart(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
}
bool isWordPart(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}
bool isDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c));
}

}  // namespace

std::vector<PredicateToken> PredicateLexer::tokens() {
    std::vector<PredicateToken> tokens;
    do {
        tokens.push_back(next());
    } while (tokens.back().kind != PredicateToken::Kind::End);
    return tokens;
}

PredicateToken PredicateLexer::next() {
    while (position_ < format_.size() &&
           std::isspace(static_cast<unsigned char>(format_[position_])))
        ++position_;
    PredicateToken token;
    token.position = position_;
    if (position_ >= format_.size())
        return token;
    char c = format_[position_];
    if (c == '\'' || c == '"')
        return quoted();
    if (isDigit(c) || ((c == '-' || c == '.') && position_ + 1 < format_.size() &&
                       isDigit(format_[position_ + 1])))
        return number();
    if (c == '%')
        return argument();
    if (c == '[')
        return modifier();
    if (isWordStart(c)) {
        std::size_t start = position_;
        while (position_ < format_.size() && isWordPart(format_[position_]))
            ++position_;
        token.kind = PredicateToken::Kind::Word;
        token.text = std::string(format_.substr(start, position_ - start));
        return token;
    }
    return symbol();
}

PredicateToken PredicateLexer::quoted() {
    PredicateToken token{PredicateToken::Kind::String, {}, {}, position_};
    char quote = format_[position_++];
    std::string text;
    while (position_ < format_.size() && format_[position_] != quote) {
        char c = format_[position_++];
        if (c == '\\' && position_ < format_.size()) {
            char escaped = format_[position_++];
            text += escaped == 'n' ? '\n' : escaped == 't' ? '\t' : escaped;
        } else {
            text += c;
        }
    }
    if (position_ >= format_.size())
        fail("unterminated quoted text");
    ++position_;
    token.value = foundation::Value(std::move(text));
    return token;
}

PredicateToken PredicateLexer::number() {
    PredicateToken token{PredicateToken::Kind::Number, {}, {}, position_};
    std::size_t start = position_;
    if (format_[position_] == '-')
        ++position_;
    bool real = false;
    while (position_ < format_.size() &&
           (isDigit(format_[position_]) || format_[position_] == '.')) {
        real = real || format_[position_] == '.';
        ++position_;
    }
    std::string text(format_.substr(start, position_ - start));
    token.value =
        real ? foundation::Value(std::strtod(text.c_str(), nullptr))
             : foundation::Value(static_cast<long long>(std::strtoll(text.c_str(), nullptr, 10)));
    return token;
}

PredicateToken PredicateLexer::argument() {
    PredicateToken token{PredicateToken::Kind::Argument, {}, {}, position_};
    ++position_;
    // Length letters are accepted so that "%ld" and "%lu" read as integers.
    while (position_ < format_.size() && format_[position_] == 'l')
        ++position_;
    if (position_ >= format_.size())
        fail("a '%' without a format letter");
    char letter = format_[position_++];
    if (letter == 'u')
        letter = 'd';
    if (std::string_view("@Kdif").find(letter) == std::string_view::npos)
        fail(std::string("unknown argument format '%") + letter + "'");
    token.text = std::string(1, letter);
    return token;
}

PredicateToken PredicateLexer::modifier() {
    PredicateToken token{PredicateToken::Kind::Modifier, {}, {}, position_};
    std::size_t close = format_.find(']', position_);
    if (close == std::string_view::npos)
        fail("unterminated '[' modifier");
    token.text = std::string(format_.substr(position_ + 1, close - position_ - 1));
    for (char c : token.text)
        if (c != 'c' && c != 'd')
            fail("unknown comparison modifier [" + token.text + "]");
    position_ = close + 1;
    return token;
}

PredicateToken PredicateLexer::symbol() {
    using Kind = PredicateToken::Kind;
    PredicateToken token{Kind::Operator, {}, {}, position_};
    static constexpr std::string_view twoCharacter[] = {"==", "!=", "<>", "<=", "=<",
                                                        ">=", "=>", "&&", "||"};
    for (auto op : twoCharacter) {
        if (format_.substr(position_, 2) == op) {
            token.text = std::string(op);
            position_ += 2;
            return token;
        }
    }
    char c = format_[position_++];
    switch (c) {
        case '(':
            token.kind = Kind::LeftParen;
            break;
        case ')':
            token.kind = Kind::RightParen;
            break;
        case '{':
            token.kind = Kind::LeftBrace;
            break;
        case '}':
            token.kind = Kind::RightBrace;
            break;
        case ',':
            token.kind = Kind::Comma;
            break;
        case '=':
        case '<':
        case '>':
        case '!':
            token.text = std::string(1, c);
            break;
        default:
            --position_;
            fail(std::string("unexpected character '") + c + "'");
    }
    return token;
}

void PredicateLexer::fail(const std::string& what) const {
    throw PredicateError(what + " at position " + std::to_string(position_) + " of predicate \"" +
                         std::string(format_) + "\"");
}

}  // namespace store
