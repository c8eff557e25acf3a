#include "doc/CPbtDoc.h"
#include "app/CPbtApp.h"
#include "support/ScriptedPort.h"

#include <gtest/gtest.h>

using namespace frusta;

TEST(CPbtDoc, InitialState) {
    CPbtApp app;
    test::ScriptedPort port;
    CPbtDoc doc(app, port);
    EXPECT_EQ(doc.m_nMetric, 4);
    EXPECT_EQ(doc.m_nFamily, 0);
    EXPECT_TRUE(doc.m_bLatest);
    EXPECT_TRUE(doc.m_bDoUncertainty);
    EXPECT_FALSE(doc.m_bAnalysed);
    EXPECT_FALSE(doc.m_bUncertaintyDone);
    EXPECT_EQ(doc.m_defAlk, 100.0);
    EXPECT_EQ(doc.m_defCa, 100.0);
    EXPECT_EQ(doc.m_defDoc, 1.0);
    EXPECT_EQ(doc.m_alkMinTDI3, 6.0);
    EXPECT_EQ(doc.m_alkMaxTDI3, 150.0);
    EXPECT_EQ(doc.m_alkMinTDI4, 5.0);
    EXPECT_EQ(doc.m_alkMaxTDI4, 250.0);
    EXPECT_EQ(doc.m_caMin, 5.0);
    EXPECT_EQ(doc.m_caMax, 500.0);
    EXPECT_EQ(doc.m_docMin, 0.0);
    EXPECT_EQ(doc.m_docMax, 50.0);
    EXPECT_EQ(doc.m_nNoScoreTaxa, 0);
    EXPECT_TRUE(doc.m_strMetric.empty());
    EXPECT_FALSE(doc.m_pCounts);
    EXPECT_FALSE(doc.m_pResults);
    EXPECT_FALSE(doc.m_pUncertainty);
    EXPECT_FALSE(doc.IsModified());
}

TEST(CPbtDoc, MetricNamesAndCodes) {
    const char* names[] = {"TDI", "LTDI", "DAM", "TDI3", "TDI4", "LTDI1", "LTDI2"};
    for (int i = 0; i < 7; ++i)
        EXPECT_STREQ(metricName(i), names[i]);
    EXPECT_STREQ(metricName(7), "");
    EXPECT_EQ(metricCodeFor(0, true), 4);
    EXPECT_EQ(metricCodeFor(0, false), 3);
    EXPECT_EQ(metricCodeFor(1, true), 6);
    EXPECT_EQ(metricCodeFor(1, false), 5);
    EXPECT_EQ(metricCodeFor(2, true), 2);
    EXPECT_EQ(metricCodeFor(2, false), 2);
}

TEST(CPbtDoc, ResetClearsTheResultsBlockOnly) {
    CPbtApp app;
    test::ScriptedPort port;
    CPbtDoc doc(app, port);
    doc.m_nMatched = 5;
    doc.m_nScored = 3;
    doc.m_pResults = std::make_unique<dMat>(2, 12);
    doc.m_resultLabels.assign(13, "x");
    doc.m_nNoScoreTaxa = 2;
    doc.resetResults();
    EXPECT_EQ(doc.m_nMatched, 0);
    EXPECT_EQ(doc.m_nScored, 0);
    EXPECT_FALSE(doc.m_pResults);
    EXPECT_EQ(doc.m_nNoScoreTaxa, 2);
}

TEST(CPbtDoc, SaveResultsQuestion) {
    CPbtApp app;
    test::ScriptedPort port;
    CPbtDoc doc(app, port);
    EXPECT_TRUE(doc.SaveModified()); // not modified: no question
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
