#include "app/CommandGuard.h"
#include "doc/dMat.h"
#include "support/ScriptedPort.h"

#include <gtest/gtest.h>

using namespace frusta;

TEST(CommandGuard, MatrixErrorBecomesAMessage) {
    test::ScriptedPort port;
    int state = 1;
    const bool ok = runGuarded(port, [&] {
        WaitCursor wait(port);
        dMat counts(1, 20001); // a worksheet with too many taxa
        state = 2;
        return true;
    });
    EXPECT_FALSE(ok);
    EXPECT_EQ(state, 1);
    EXPECT_EQ(port.waitDepth, 0);
    ASSERT_EQ(port.shown.size(), 1u);
    EXPECT_EQ(port.shown[0].text, commandFailureMessage("nCols too high in dMat::dMat(r, c)"));
}

TEST(CommandGuard, AllocationFailureBecomesAMessage) {
    test::ScriptedPort port;
    EXPECT_FALSE(runGuarded(port, []() -> bool { throw std::bad_alloc(); }));
    ASSERT_EQ(port.shown.size(), 1u);
    EXPECT_NE(port.shown[0].text.find("memory"), std::string::npos);
    EXPECT_TRUE(runGuarded(port, [] { return true; }));
}
