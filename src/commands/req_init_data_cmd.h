// What the engine needs when the avatar opens (message 20): user values, the client's version,
// the cached gift list and the live flag. Sent on every open notice, without a server request.
#pragma once

#include <memory>

namespace kinetra {

class PluginContext;

class ReqInitDataCmd {
public:
    explicit ReqInitDataCmd(std::weak_ptr<PluginContext> owner) : mOwner(std::move(owner)) {}
    // Sends nothing without an instance, a user service or a presenter service.
    void EexecuteCommand();

private:
    std::weak_ptr<PluginContext> mOwner;
};

}  // namespace kinetra
