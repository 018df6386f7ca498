#include "platform/DisableCoreDumps.h"

#include <gtest/gtest.h>

#include <sys/prctl.h>
#include <sys/resource.h>

#include <cstdlib>

using namespace korvex;

// Runs in a child process, so the test binary itself keeps its limits.
TEST(DisableCoreDumps, NoCoreCanBeWrittenAfterwards)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            const bool done = DisableCoreDumps();
            rlimit limit{};
            getrlimit(RLIMIT_CORE, &limit);
            const bool off = done && limit.rlim_cur == 0 && limit.rlim_max == 0 && prctl(PR_GET_DUMPABLE) == 0;
            std::_Exit(off ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}
