// The engine asks for the live room's game id (message 2014) and gets it back as 2014.
#pragma once

#include <memory>

namespace kinetra {

class PluginContext;

class GameIdCommand {
public:
    explicit GameIdCommand(std::weak_ptr<PluginContext> owner) : mOwner(std::move(owner)) {}
    // Answers nothing without an instance or a room service.
    void EexecuteCommand();

private:
    std::weak_ptr<PluginContext> mOwner;
};

}  // namespace kinetra
