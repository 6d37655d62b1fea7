#include "ddc/SerialQueue.h"

#include <utility>

namespace corvane {

SerialQueue::SerialQueue() : state_(std::make_shared<State>()) {
    thread_ = std::thread(&SerialQueue::run, state_);
    workerID_ = thread_.get_id();
}

SerialQueue::~SerialQueue() {
    std::deque<std::function<void()>> dropped;
    {
        std::lock_guard lock(state_->mutex);
        state_->stopping = true;
        dropped.swap(state_->jobs);
        state_->finished = state_->queued;
    }
    state_->wake.notify_all();
    state_->idle.notify_all();
    // Dropped jobs are destroyed outside the lock: their captures may own other objects whose
    // destruction reaches back into a queue.
    dropped.clear();

    if (!thread_.joinable()) return;
    if (std::this_thread::get_id() == thread_.get_id()) {
        thread_.detach();
    } else {
        thread_.join();
    }
}

void SerialQueue::async(std::function<void()> job) {
    if (!job) return;
    {
        std::lock_guard lock(state_->mutex);
        if (state_->stopping) return;  // `job` is destroyed on return, outside the lock
        state_->jobs.push_back(std::move(job));
        ++state_->queued;
    }
    state_->wake.notify_one();
}

void SerialQueue::waitUntilIdle() {
    if (isWorkerThread()) return;
    std::unique_lock lock(state_->mutex);
    const std::uint64_t target = state_->queued;
    state_->idle.wait(lock, [&] { return state_->stopping || state_->finished >= target; });
}

// The worker's loop. It holds the state by its own reference and never touches the
// SerialQueue object, which may be destroyed (and the thread detached) during a job.
void SerialQueue::run(std::shared_ptr<State> state) {
    std::unique_lock lock(state->mutex);
    for (;;) {
        state->wake.wait(lock, [&] { return state->stopping || !state->jobs.empty(); });
        if (state->stopping) return;
        std::function<void()> job = std::move(state->jobs.front());
        state->jobs.pop_front();
        lock.unlock();
        job();
        job = nullptr;  // destroy the job's captures before taking the lock again
        lock.lock();
        if (!state->stopping) ++state->finished;
        state->idle.notify_all();
    }
}

}  // namespace corvane
