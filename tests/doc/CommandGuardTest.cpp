#include "doc/CommandGuard.h"
#include "app/ScriptedPort.h"
#include "doc/dMat.h"

#include <gtest/gtest.h>

using namespace frusta;

TEST(CommandGuard, MatrixErrorBecomesAMessage) {
    ScriptedPort port;
    int state = 1;
    const Outcome outcome = runGuarded(port, [&] {
        WaitCursor wait(port);
        dMat counts(1, 20001); // a worksheet with too many taxa
        state = 2;
        return Outcome::done();
    });
    EXPECT_FALSE(outcome);
    EXPECT_EQ(state, 1);
    EXPECT_EQ(port.waitDepth, 0);
    ASSERT_EQ(port.shown.size(), 1u);
    EXPECT_EQ(port.shown[0].text, commandFailureMessage("nCols too high in dMat::dMat(r, c)"));
    ASSERT_EQ(outcome.notices().size(), 1u);
    EXPECT_EQ(outcome.notices()[0].text, port.shown[0].text);
}

TEST(CommandGuard, AllocationFailureBecomesAMessage) {
    ScriptedPort port;
    EXPECT_FALSE(runGuarded(port, []() -> Outcome { throw std::bad_alloc(); }));
    ASSERT_EQ(port.shown.size(), 1u);
    EXPECT_NE(port.shown[0].text.find("memory"), std::string::npos);
    EXPECT_TRUE(runGuarded(port, [] { return Outcome::done(); }));
}
