// The question a document asks before its results are lost.
#include "doc/CPbtDoc.h"
#include "app/CPbtApp.h"
#include "support/ScriptedPort.h"

#include <gtest/gtest.h>

using namespace frusta;

TEST(CPbtDoc, SaveResultsQuestion) {
    CPbtApp app;
    test::ScriptedPort port;
    CPbtDoc doc(app, port);
    EXPECT_TRUE(doc.SaveModified()); // a new document is not modified: no question
    EXPECT_TRUE(port.shown.empty());

    doc.SetModifiedFlag();
    port.answers = {Answer::Cancel};
    EXPECT_FALSE(doc.SaveModified());
    ASSERT_EQ(port.shown.size(), 1u);
    EXPECT_EQ(port.shown[0].text, "Save Results?");
    EXPECT_EQ(port.shown[0].buttons, Buttons::YesNoCancel);

    port.answers = {Answer::No};
    EXPECT_TRUE(doc.SaveModified());
    EXPECT_TRUE(doc.IsModified());
}
