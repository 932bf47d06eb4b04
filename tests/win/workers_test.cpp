// The worker threads under Wine: the frame clock's ticks and its one-tick
// queue limit, the idle worker's stages, and the stop protocol that
// shutdown repeats until every worker has ended.
#include "app/workers.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/commands.h"

// A message-only window on the test thread collects the posted commands.
class Workers : public ::testing::Test {
protected:
    HWND target = nullptr;
    void SetUp() override {
        target = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                                 nullptr);
        ASSERT_NE(target, nullptr);
    }
    void TearDown() override {
        for (WorkerBlock* block : {&gFrameClock, &gIdleWorker}) {
            block->stop = 1;
            while (StopWorker(block, 20) != 0) {
            }
        }
        DestroyWindow(target);
    }
    // Removes the queued WM_COMMANDs and returns their command ids.
    std::vector<int> Drain() {
        std::vector<int> commands;
        MSG message;
        while (PeekMessageW(&message, target, WM_COMMAND, WM_COMMAND, PM_REMOVE))
            commands.push_back(LOWORD(message.wParam));
        return commands;
    }
    static int Count(const std::vector<int>& commands, int id) {
        int n = 0;
        for (int c : commands) n += c == id;
        return n;
    }
};

TEST_F(Workers, StoppingANeverStartedWorkerIsDone) {
    WorkerBlock block{};
    EXPECT_EQ(StopWorker(&block, 10), 0);
    EXPECT_EQ(block.stop.load(), 0);
}

TEST_F(Workers, FrameClockKeepsAtMostOneTickQueued) {
    ASSERT_EQ(StartWorker(&gFrameClock, target, FrameClockThread), 0);
    EXPECT_EQ(gFrameClock.running.load(), 1);
    Sleep(300);   // about seven periods without handling a tick
    std::vector<int> commands = Drain();
    EXPECT_EQ(Count(commands, CMD_TICK), 1);
    EXPECT_EQ(gFrameClock.state.load(), FRAME_CLOCK_RUNNING);
    Sleep(100);
    EXPECT_EQ(Drain(), std::vector<int>{});   // nothing new while that tick is unhandled
}

TEST_F(Workers, FrameClockStopsOnRequestAndReportsItsEnd) {
    ASSERT_EQ(StartWorker(&gFrameClock, target, FrameClockThread), 0);
    Sleep(100);
    // The first request only asks: the clock is still in its sleep.
    EXPECT_EQ(StopWorker(&gFrameClock, kClockStopWaitMs), 1);
    EXPECT_EQ(gFrameClock.stop.load(), 1);
    int passes = 1;   // shutdown's passes: the clock ends within a 40 ms period
    while (StopWorker(&gFrameClock, kClockStopWaitMs) != 0 && passes < 20) passes++;
    EXPECT_LT(passes, 20);
    EXPECT_EQ(gFrameClock.thread, nullptr);
    EXPECT_EQ(gFrameClock.state.load(), FRAME_CLOCK_ENDED);
    std::vector<int> commands = Drain();
    ASSERT_FALSE(commands.empty());
    EXPECT_EQ(commands.back(), CMD_TICK_END);
}

TEST_F(Workers, IdleWorkerWaitsAndEndsOnRequest) {
    ASSERT_EQ(StartWorker(&gIdleWorker, target, IdleWorkerThread), 0);
    Sleep(200);
    EXPECT_EQ(gIdleWorker.state.load(), IDLE_FIRST_WAIT);
    Sleep(1200);
    EXPECT_EQ(gIdleWorker.state.load(), IDLE_WAITING);
    EXPECT_GT(gIdleWorker.waits.load(), 0);
    int passes = 0;
    while (StopWorker(&gIdleWorker, 50) != 0 && passes < 10) passes++;
    EXPECT_LT(passes, 10);
    EXPECT_EQ(gIdleWorker.state.load(), IDLE_ENDING);
    EXPECT_EQ(gIdleWorker.thread, nullptr);
    EXPECT_EQ(Drain(), std::vector<int>{CMD_IDLE_END});
}
