#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace webrill::rules {

inline constexpr uint32_t kRegexMatchLimit = 10000000;
inline constexpr uint32_t kRegexDepthLimit = 10000000;

// A pattern compiled once with the rules' engine settings: A-Z without regard to case, "." across
// line breaks, "^" and "$" for the whole text, CR LF as the line break, bytes (no UTF-8), match and
// depth limits of 10,000,000. JIT-compiled where the engine offers it. Shared read-only by threads;
// each search has match data of its own.
class CompiledPattern {
  public:
    explicit CompiledPattern(std::string_view pattern);
    ~CompiledPattern();
    CompiledPattern(const CompiledPattern&) = delete;
    CompiledPattern& operator=(const CompiledPattern&) = delete;

    bool Valid() const { return code_ != nullptr; }
    // "Compile error (offset N): description" for a pattern that does not compile.
    const std::string& Error() const { return error_; }

    struct Match {
        size_t Start = 0;
        size_t End = 0;
        // The first parenthesised sub-expression; empty text when it did not take part but a later
        // one did; none when no sub-expression took part or there is none.
        std::optional<std::string_view> Group1;
    };
    enum class Outcome { Found, NotFound, Failed };

    // The first match at or after from. Failed (with an error text) for an engine error; a limit
    // that is reached counts as NotFound.
    Outcome Search(std::string_view subject, size_t from, Match& match, std::string& error) const;
    // The n-th successive match (from 1); each search starts at the end of the previous match, one
    // character further after an empty one.
    Outcome NthMatch(std::string_view subject, int32_t n, Match& match, std::string& error) const;

  private:
    void* code_ = nullptr;
    void* matchContext_ = nullptr;
    std::string error_;
};

// The description part of an engine error text: what follows the first "): ", trimmed; empty when
// the text has no such prefix.
std::string RegexErrorDescription(const std::string& error);

}  // namespace webrill::rules
