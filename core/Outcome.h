// SPDX-License-Identifier: MIT
// What came of a load, a write, a conversion or a value read from text: done, with what it
// gives; refused, when the input is not one it takes (nothing was touched); or failed, when a
// file could not be read or written. The core decides which; callers only report it.
#pragma once

#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>

namespace quillon {

enum class Outcome {
    Done,
    Refused,
    Changed, // refused because the file is no longer as it was read: a window says so apart
    Failed,
};

// Why something was not done, and to which file.
struct Problem {
    Outcome outcome = Outcome::Failed;
    std::string path; // empty for a value that is no file's
    std::string reason;

    // "path: reason", or the reason alone.
    std::string text() const { return path.empty() ? reason : path + ": " + reason; }
};

inline Problem Refusal(std::string path, std::string reason) {
    return {Outcome::Refused, std::move(path), std::move(reason)};
}
inline Problem Failure(std::string path, std::string reason) {
    return {Outcome::Failed, std::move(path), std::move(reason)};
}
// A value typed that stands for no bytes: refused, and no file's.
inline Problem BadValue(std::string reason) { return Refusal({}, std::move(reason)); }

// A value, or the problem that left it undone. Result<> is done with nothing to give.
template <typename T = std::monostate> class [[nodiscard]] Result {
public:
    // Done with nothing to give.
    Result() requires std::is_same_v<T, std::monostate> : m_value(std::in_place) {}
    Result(T value) : m_value(std::move(value)) {}             // NOLINT: a value converts as it is
    Result(Problem problem) : m_problem(std::move(problem)) {} // NOLINT: and so does a problem

    bool done() const { return m_value.has_value(); }
    explicit operator bool() const { return done(); }
    Outcome outcome() const { return done() ? Outcome::Done : m_problem.outcome; }

    // Only when done.
    T& value() { return *m_value; }
    const T& value() const { return *m_value; }
    T& operator*() { return *m_value; }
    const T& operator*() const { return *m_value; }
    T* operator->() { return &*m_value; }
    const T* operator->() const { return &*m_value; }

    // Only when not done.
    const Problem& problem() const { return m_problem; }

private:
    std::optional<T> m_value;
    Problem m_problem;
};

} // namespace quillon
