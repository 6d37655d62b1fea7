#pragma once

#include "platform/LoginItem.h"

namespace corvane::sim {

// A login-item service in memory that can refuse either change.
class SimLoginItem final : public LoginItem {
public:
    Status status() const override { return status_; }
    bool registerItem() override;
    bool unregisterItem() override;

    void setStatus(Status status) { status_ = status; }
    void setRefusesRegister(bool refuses) { refusesRegister_ = refuses; }
    void setRefusesUnregister(bool refuses) { refusesUnregister_ = refuses; }

private:
    Status status_ = Status::notRegistered;
    bool refusesRegister_ = false;
    bool refusesUnregister_ = false;
};

}  // namespace corvane::sim
