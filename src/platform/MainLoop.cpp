#include "platform/MainLoop.h"

namespace corvane {
namespace {

// Posts straight to the loop when the task arrives.
class DirectPromise final : public PromisedTask {
public:
    explicit DirectPromise(MainLoop& loop) : loop_(loop) {}
    void post(std::function<void()> task) override { loop_.post(std::move(task)); }

private:
    MainLoop& loop_;
};

}  // namespace

std::unique_ptr<PromisedTask> MainLoop::promiseTask() {
    return std::make_unique<DirectPromise>(*this);
}

}  // namespace corvane
