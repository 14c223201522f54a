#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kxcontrols/KXProgressBar.h"

class ProgressTest : public ::testing::Test {
protected:
    void SetUp() override {
        CKXProgressBar::SetLineSink([this](const CString& line, BOOL done) {
            lines.emplace_back(line.GetString());
            if (done) ++closed;
        });
    }
    void TearDown() override {
        CKXProgressBar::SetLineSink(nullptr);
        CKXProgressBar::SetPumpHook(nullptr);
    }
    std::vector<std::string> lines;
    int closed = 0;
};

TEST_F(ProgressTest, StepsShowALineAndStopAtTheUpperBound) {
    {
        CKXProgressBar bar("Adding Connections", 4, 8, 0, 0);
        bar.SetText("Pin A1");
        EXPECT_EQ(bar.StepIt(), 0);
        EXPECT_EQ(bar.GetPercent(), 25);
        EXPECT_EQ(lines.back(), "Adding Connections: Pin A1 1 of 4 [##......] 25%");
        for (int i = 0; i < 10; ++i) bar.StepIt();
        EXPECT_EQ(bar.GetPos(), 4);
        EXPECT_EQ(bar.GetPercent(), 100);
        EXPECT_TRUE(bar.PeekAndPump());
    }
    EXPECT_EQ(closed, 1);
}

TEST_F(ProgressTest, ZeroStepsAndNegativeCountsAreSafe) {
    CKXProgressBar bar("Empty", 0, 50, 0, 0);
    bar.StepIt();
    EXPECT_EQ(bar.GetPos(), 0);
    EXPECT_EQ(bar.GetPercent(), 100);
    CKXProgressBar neg(nullptr, -5, -1, 0, 0);
    EXPECT_EQ(neg.GetUpper(), 0);
    EXPECT_FALSE(neg.FormatLine().IsEmpty());
}

TEST_F(ProgressTest, CurrentBarIsClearedWhenItIsDeleted) {
    CKXProgressBar::m_pProgressBar = new CKXProgressBar("Work", 10, 50, 0, 0);
    delete CKXProgressBar::m_pProgressBar;
    EXPECT_EQ(CKXProgressBar::m_pProgressBar, nullptr);
    CKXProgressBar other("Other", 1);
    CKXProgressBar::m_pProgressBar = &other;
    {
        CKXProgressBar inner("Inner", 1);
    }
    EXPECT_EQ(CKXProgressBar::m_pProgressBar, &other); // deleting another bar leaves the current one alone
    CKXProgressBar::m_pProgressBar = nullptr;
}

TEST_F(ProgressTest, PumpHookCanCancel) {
    CKXProgressBar bar("Work", 3);
    CKXProgressBar::SetPumpHook([] { return FALSE; });
    EXPECT_FALSE(bar.PeekAndPump());
}

// The title shows once: a step text that begins with the title stands for it, and a caption written
// with its own colon gets no second one. The text of the last step tells what was done through it.
TEST_F(ProgressTest, TheLineNamesItsTitleOnce) {
    {
        CKXProgressBar bar("Adding Connections", 1, 4, 0, 0);
        bar.SetText("Adding Connections: 100% of 1 Pins Processed");
        bar.StepIt();
    }
    EXPECT_EQ(lines.back(), "Adding Connections: 100% of 1 Pins Processed 1 of 1 [####] 100%");
    {
        CKXProgressBar bar("Pasting Termination(s):", 2, 4, 0, 0);
        bar.SetText("50% of 2");
        bar.StepIt();
    }
    EXPECT_EQ(lines.back(), "Pasting Termination(s): 50% of 2 1 of 2 [##..] 50%");
    {
        CKXProgressBar bar("Copying Data:", 0, 4, 0, 0);
    }
    EXPECT_EQ(lines.back(), "Copying Data 0 of 0 [####] 100%");
}

// Several steps with their text at once show the one line their last step shows, and stop at the
// upper bound as the steps one by one do.
TEST_F(ProgressTest, StepsTakenAtOnceShowTheLineOfTheLastStep) {
    CKXProgressBar bar("Loading", 10, 10, 0, 0);
    const size_t before = lines.size();
    EXPECT_EQ(bar.StepIt("Pin 3", 3), 0);
    ASSERT_EQ(lines.size(), before + 1);
    EXPECT_EQ(lines.back(), "Loading: Pin 3 3 of 10 [###.......] 30%");
    EXPECT_EQ(bar.StepIt("Pin 12", 9), 3);
    EXPECT_EQ(bar.GetPos(), 10);
    EXPECT_EQ(lines.back(), "Loading: Pin 12 10 of 10 [##########] 100%");
    bar.StepIt("Pin 12", 0); // nothing new: no line
    EXPECT_EQ(bar.GetPos(), 10);
    EXPECT_EQ(lines.size(), before + 2);
}
