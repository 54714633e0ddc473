#include "base/Result.h"

#include <memory>
#include <type_traits>

#include <gtest/gtest.h>

using namespace plumeo;

namespace {

struct Failure
{
    int code;
};

Result<void, Failure> check(int input)
{
    if (input < 0)
        return Failure{input};
    return {};
}

} // namespace

TEST(Result, SuccessErrorAndAValueThatMovesOut)
{
    EXPECT_TRUE((Result<void, Failure>().hasValue()));
    EXPECT_TRUE(check(0));
    const auto failed = check(-3);
    ASSERT_FALSE(failed);
    EXPECT_EQ(failed.error().code, -3);

    Result<std::unique_ptr<int>, Failure> owned = std::make_unique<int>(7);
    ASSERT_TRUE(owned);
    std::unique_ptr<int> taken = std::move(owned).value();
    ASSERT_TRUE(taken);
    EXPECT_EQ(*taken, 7);

    // Tested conditions only: a Result never converts to bool implicitly, so it cannot slip into
    // arithmetic or be compared with a bool by mistake.
    static_assert(!std::is_convertible_v<Result<void, Failure>, bool>);
    static_assert(!std::is_convertible_v<Result<int, Failure>, bool>);
}
