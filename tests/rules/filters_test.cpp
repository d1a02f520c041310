#include "rules/filters.h"

#include <gtest/gtest.h>

#include <vector>

namespace webrill::rules {
namespace {

const std::string kGet = "GET /a HTTP/1.1\r\nHost: h\r\n\r\n";
const std::string kPost = "POST /form HTTP/1.1\r\nContent-Length: 3\r\n\r\nx=1";

struct Evaluation {
    int logged = 0;
    std::string lastDescription;
    bool Ignored(const std::string& filterText, const std::string& request) {
        TProxyCodeObject config;
        config.Filters_Hint = filterText;
        TFilterList filters(true);
        BuildFilterList(config, filters);
        return IsRequestIgnored(filters, request, [this](const std::string&, const std::string& description) {
            ++logged;
            lastDescription = description;
        });
    }
};

TEST(FiltersTest, TheFirstRowThatFiresDecides) {
    const struct {
        const char* rows;
        const std::string& request;
        bool ignored;
    } cases[] = {
        {"", kGet, false},
        {"1||0||GET ||0", kGet, true},
        {"1||0||GET ||0", kPost, false},
        {"2||0||Host:||1", kGet, false},  // no row fires: parsed
        {"2||0||Host:||1", kPost, false},
        {"1||0||HTTP||1\r\n1||0||GET||0", kGet, false},
        {"1||0||get||0", kGet, false},  // text rows are case-sensitive
        {"1||1||get||0", kGet, true},
        {"1||1||^POST||0", kPost, true},
        {"1||1||^POST||0", kGet, false},
        {"1||1||^Host:||0", kGet, false},
        {"1||1||GET.*Host||0", kGet, true},
        {"1||0||GET||2", kGet, true},   // action 2 is Ignore
        {"3||0||GET||0", kGet, false},  // situation 3 never fires
        {"2||2||GET||0", kGet, true},   // type 2 never matches, so Not contains fires
    };
    for (const auto& c : cases) {
        Evaluation evaluation;
        EXPECT_EQ(evaluation.Ignored(c.rows, c.request), c.ignored)
            << c.rows << " on " << c.request.substr(0, 4);
        EXPECT_EQ(evaluation.logged, 0);
    }
}

TEST(FiltersTest, AnInvalidPatternIsLoggedAtEveryEvaluation) {
    Evaluation evaluation;
    EXPECT_FALSE(evaluation.Ignored("1||1||(||0", kGet));  // Contains never fires
    EXPECT_TRUE(evaluation.Ignored("2||1||(||0", kGet));   // Not contains always fires
    EXPECT_EQ(evaluation.logged, 2);
    EXPECT_FALSE(evaluation.lastDescription.empty());
}

}  // namespace
}  // namespace webrill::rules
