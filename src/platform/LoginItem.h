#pragma once

namespace corvane {

// The application's registration to open at login.
class LoginItem {
public:
    enum class Status { notRegistered = 0, enabled = 1, requiresApproval = 2, notFound = 3 };

    virtual ~LoginItem() = default;

    virtual Status status() const = 0;
    // Each returns false when the platform refused the change.
    virtual bool registerItem() = 0;
    virtual bool unregisterItem() = 0;
};

}  // namespace corvane
