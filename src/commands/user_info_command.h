// The engine asks who is signed in (message 24); the answer is message 25.
#pragma once

#include <memory>

namespace kinetra {

class PluginContext;

class UserInfoCommand {
public:
    explicit UserInfoCommand(std::weak_ptr<PluginContext> owner) : mOwner(std::move(owner)) {}
    // Answers nothing without an instance, a signal service or an account.
    void EexecuteCommand();

private:
    std::weak_ptr<PluginContext> mOwner;
};

}  // namespace kinetra
