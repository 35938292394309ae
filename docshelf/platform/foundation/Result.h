#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace docshelf::foundation {

// Where something lies in a file; a part that is not known stays 0 (empty for
// the key path, noOffset for the byte offset).
struct Position {
    static constexpr std::size_t noOffset = static_cast<std::size_t>(-1);

    std::string file;
    std::size_t line = 0;   // counted from 1
    std::size_t column = 0; // counted from 1
    std::size_t offset = noOffset;
    std::vector<std::string> keyPath; // the keys of a value inside a property list
};

// Why a reading gave no value, and where.
struct Problem {
    std::string message;
    Position position;
};

// What a reader gives: a value, or a problem with its message and position.
template <class T>
class Result {
public:
    Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Result(Problem problem) : state_(std::in_place_index<1>, std::move(problem)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    // Only when ok().
    const T& value() const { return std::get<0>(state_); }
    T& value() { return std::get<0>(state_); }
    // Only when not ok().
    const Problem& problem() const { return std::get<1>(state_); }

    T valueOr(T otherwise) const { return ok() ? value() : std::move(otherwise); }

private:
    std::variant<T, Problem> state_;
};

}
