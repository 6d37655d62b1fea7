#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace corvane {

// A serial worker: jobs run one at a time, in the order queued, on one thread of their own.
//
// Destruction stops the worker. Jobs not yet started are dropped (destroyed without running);
// a job that is running is allowed to finish. When the destructor runs on the worker thread
// itself (a job released the queue's last owner), the thread is detached instead of joined:
// the worker keeps only its own share of the queue's state, touches nothing of the destroyed
// object, and ends as soon as the running job returns.
class SerialQueue {
public:
    SerialQueue();
    ~SerialQueue();
    SerialQueue(const SerialQueue&) = delete;
    SerialQueue& operator=(const SerialQueue&) = delete;

    // Queues a job and returns at once. Ignored (the job is destroyed) once stopping.
    void async(std::function<void()> job);
    // Blocks until every job queued before the call has run (or the queue has been stopped).
    // Called on the worker thread itself it returns at once, as waiting would never end.
    void waitUntilIdle();
    // True on the worker thread.
    bool isWorkerThread() const { return std::this_thread::get_id() == workerID_; }

private:
    struct State {
        std::mutex mutex;
        std::condition_variable wake;  // the worker waits for jobs or a stop
        std::condition_variable idle;  // waitUntilIdle waits for progress
        std::deque<std::function<void()>> jobs;
        std::uint64_t queued = 0;    // jobs accepted so far
        std::uint64_t finished = 0;  // jobs run (or dropped) so far
        bool stopping = false;
    };

    static void run(std::shared_ptr<State> state);

    std::shared_ptr<State> state_;
    std::thread thread_;
    std::thread::id workerID_;
};

}  // namespace corvane
