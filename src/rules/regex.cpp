#include "rules/regex.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include "rules/text_tokens.h"

namespace webrill::rules {

namespace {

pcre2_code* Code(void* code) {
    return static_cast<pcre2_code*>(code);
}

std::string EngineMessage(int code) {
    PCRE2_UCHAR buffer[256];
    if (pcre2_get_error_message(code, buffer, sizeof buffer) < 0)
        return "unknown error " + std::to_string(code);
    return reinterpret_cast<const char*>(buffer);
}

// Match data of a search, released with it.
struct MatchData {
    explicit MatchData(const pcre2_code* code) : data(pcre2_match_data_create_from_pattern(code, nullptr)) {}
    ~MatchData() { pcre2_match_data_free(data); }
    MatchData(const MatchData&) = delete;
    MatchData& operator=(const MatchData&) = delete;
    pcre2_match_data* data;
};

}  // namespace

CompiledPattern::CompiledPattern(std::string_view pattern) {
    pcre2_compile_context* context = pcre2_compile_context_create(nullptr);
    pcre2_set_newline(context, PCRE2_NEWLINE_CRLF);
    int errorCode = 0;
    PCRE2_SIZE errorOffset = 0;
    code_ = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(),
                          PCRE2_CASELESS | PCRE2_DOTALL, &errorCode, &errorOffset, context);
    pcre2_compile_context_free(context);
    if (code_ == nullptr) {
        error_ = "Compile error (offset " + std::to_string(errorOffset) + "): " + EngineMessage(errorCode);
        return;
    }
    pcre2_jit_compile(Code(code_), PCRE2_JIT_COMPLETE);  // the interpreter serves where JIT is missing
    auto* matchContext = pcre2_match_context_create(nullptr);
    pcre2_set_match_limit(matchContext, kRegexMatchLimit);
    pcre2_set_depth_limit(matchContext, kRegexDepthLimit);
    matchContext_ = matchContext;
}

CompiledPattern::~CompiledPattern() {
    pcre2_match_context_free(static_cast<pcre2_match_context*>(matchContext_));
    pcre2_code_free(Code(code_));
}

CompiledPattern::Outcome CompiledPattern::Search(std::string_view subject, size_t from, Match& match,
                                                 std::string& error) const {
    if (code_ == nullptr) {
        error = error_;
        return Outcome::Failed;
    }
    if (from > subject.size()) return Outcome::NotFound;
    MatchData data(Code(code_));
    if (data.data == nullptr) {
        error = "Match error (offset 0): no memory for match data";
        return Outcome::Failed;
    }
    const int result = pcre2_match(Code(code_), reinterpret_cast<PCRE2_SPTR>(subject.data()), subject.size(),
                                   from, 0, data.data, static_cast<pcre2_match_context*>(matchContext_));
    if (result == PCRE2_ERROR_NOMATCH || result == PCRE2_ERROR_MATCHLIMIT ||
        result == PCRE2_ERROR_DEPTHLIMIT) {
        return Outcome::NotFound;
    }
    if (result < 0) {
        error = "Match error (offset " + std::to_string(from) + "): " + EngineMessage(result);
        return Outcome::Failed;
    }
    const PCRE2_SIZE* offsets = pcre2_get_ovector_pointer(data.data);
    match.Start = offsets[0];
    match.End = offsets[1];
    match.Group1.reset();
    if (result >= 2 && offsets[2] != PCRE2_UNSET) {
        match.Group1 = subject.substr(offsets[2], offsets[3] - offsets[2]);
    } else if (result > 2) {
        match.Group1 = std::string_view();  // a later sub-expression took part
    }
    return Outcome::Found;
}

CompiledPattern::Outcome CompiledPattern::NthMatch(std::string_view subject, int32_t n, Match& match,
                                                   std::string& error) const {
    if (code_ == nullptr) {
        error = error_;
        return Outcome::Failed;
    }
    if (n <= 0) return Outcome::NotFound;
    size_t from = 0;
    for (int32_t i = 1;; ++i) {
        const Outcome outcome = Search(subject, from, match, error);
        if (outcome != Outcome::Found || i == n) return outcome;
        from = match.End == match.Start ? match.End + 1 : match.End;
    }
}

std::string RegexErrorDescription(const std::string& error) {
    if (error.find("): ") == std::string::npos) return {};
    return NthToken(error, "): ", 2, true);
}

}  // namespace webrill::rules
