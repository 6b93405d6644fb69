#pragma once

#include <cstddef>
#include <string>

#include "foundation/Value.h"

namespace store {

struct PredicateToken {
    enum class Kind {
        Word,      // a key path or a keyword (AND, BEGINSWITH, YES, nil, ...)
        Number,    // value holds it
        String,    // a quoted literal; value holds its text
        Argument,  // text holds the format letter: "@", "K", "d", "i", "f"
        Operator,  // = == != <> < <= =< > >= => && || !
        Modifier,  // text holds the letters between the brackets: "c", "d", "cd"
        LeftParen,
        RightParen,
        LeftBrace,
        RightBrace,
        Comma,
        End,
    };
    Kind kind = Kind::End;
    std::string text;
    foundation::Value value;
    std::size_t position = 0;
};

}  // namespace store
