#include "platform/sim/SimMainLoop.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace corvane::sim {
namespace {

using namespace std::chrono_literals;

TEST(SimMainLoop, PromisedTasksRunInPromiseOrderWhateverOrderTheyArriveIn) {
    SimMainLoop loop;
    std::vector<std::string> ran;
    auto first = loop.promiseTask();
    auto withdrawn = loop.promiseTask();
    auto second = loop.promiseTask();
    loop.post([&] { ran.push_back("posted"); });

    // The later promise is kept first, from another thread, and the earlier one only after a
    // while: the loop waits for it rather than running what has arrived.
    std::thread late([&] {
        second->post([&] { ran.push_back("second"); });
        std::this_thread::sleep_for(20ms);
        withdrawn.reset();
        first->post([&] { ran.push_back("first"); });
        first->post([&] { ran.push_back("first again"); });  // a promise posts once
    });
    loop.runPending();
    late.join();
    EXPECT_EQ(ran, (std::vector<std::string>{"posted", "first", "second"}));
    EXPECT_EQ(loop.callbacks(), 3u);

    loop.runPending();  // nothing promised any more: returns at once
    EXPECT_EQ(ran.size(), 3u);
}

TEST(SimMainLoop, APromiseOutlivingItsLoopDoesNothing) {
    auto loop = std::make_unique<SimMainLoop>();
    std::unique_ptr<PromisedTask> promise = loop->promiseTask();
    loop.reset();
    bool ran = false;
    promise->post([&] { ran = true; });
    promise.reset();
    EXPECT_FALSE(ran);
}

}  // namespace
}  // namespace corvane::sim
