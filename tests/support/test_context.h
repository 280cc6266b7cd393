// A plug-in context for testing a feature without the plug-in instance: the simulated host's
// services, the engine messages kept in order, and a timer source of the test's choice.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <utility>
#include <vector>

#include "context/plugin_context.h"
#include "host/sim_host.h"

namespace testing_support {

class TestContext : public kinetra::PluginContext {
public:
    TestContext(sim::SimHost& host, win32::timer_source& source) : mHost(host), mSource(source) {}

    void SendToEngine(kinetra::ToEngine type, std::span<const std::uint8_t> payload) override {
        std::lock_guard lock(mMutex);
        mSent.emplace_back(type, taf::Bytes(payload.begin(), payload.end()));
    }
    using PluginContext::SendToEngine;
    std::vector<std::pair<kinetra::ToEngine, taf::Bytes>> Sent() const {
        std::lock_guard lock(mMutex);
        return mSent;
    }

    service_plugin::ISignalService* SignalService() const override { return &mHost.Signal(); }
    service_plugin::IUserService* UserService() const override { return &mHost.User(); }
    service_plugin::IRoomService* RoomService() const override { return &mHost.Room(); }
    service_plugin::IAudioService* AudioService() const override { return &mHost.Audio(); }
    service_plugin::ILiveService* LiveService() const override { return &mHost.Live(); }
    service_plugin::IPresenterService* PresenterService() const override {
        return &mHost.Presenter();
    }
    win32::timer_source& TimerSource() override { return mSource; }

    bool IsLive() const override { return mLive; }
    void SetLive(bool live) override { mLive = live; }
    service_plugin::PresenterSource* CurrentSource() const override { return mCurrentSource; }
    void SetCurrentSource(service_plugin::PresenterSource* source) override {
        mCurrentSource = source;
    }
    std::int32_t UpdateValue() const override { return mUpdateValue; }
    void RememberUpdateValue(std::int32_t value) override { mUpdateValue = value; }

    // What the instance's Stop runs; set by the test.
    std::function<void()> onStop;
    void Stop() override {
        if (onStop) {
            onStop();
        }
    }
    taf::Bytes CachedGiftList() const override { return {}; }
    void GetConfig(const std::map<std::string, std::string>&, ConfigCallback) override {}

private:
    sim::SimHost& mHost;
    win32::timer_source& mSource;
    mutable std::mutex mMutex;
    std::vector<std::pair<kinetra::ToEngine, taf::Bytes>> mSent;
    std::atomic<bool> mLive{false};
    std::atomic<service_plugin::PresenterSource*> mCurrentSource{nullptr};
    std::atomic<std::int32_t> mUpdateValue{0};
};

}  // namespace testing_support
