// The simulated avatar engine: posts messages to the plug-in through the stand-in channel and
// records every message the plug-in sends back.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "plugin/engine_messages.h"
#include "plugin_msg/engine_endpoint.h"
#include "taf/codec.h"

namespace sim {

struct EngineTraffic {
    enum class Direction { toPlugin, toEngine };
    Direction direction = Direction::toEngine;
    std::string channel;
    // The envelope's type as sent: an unsigned 32-bit number.
    std::uint32_t type = 0;
    taf::Bytes payload;
    // The envelope's bytes, exactly as they crossed the channel.
    taf::Bytes envelope;
};

class SimEngine {
public:
    static constexpr const char* kChannel = kinetra::kEngineChannelName;
    static constexpr std::chrono::milliseconds kDefaultWait{5000};

    SimEngine();
    ~SimEngine();
    SimEngine(const SimEngine&) = delete;
    SimEngine& operator=(const SimEngine&) = delete;

    void Send(std::uint32_t type, const taf::Bytes& payload, const std::string& channel = kChannel);
    template <taf::Record T>
    void Send(std::uint32_t type, const T& record) {
        Send(type, taf::toBytes(record));
    }
    void Send(kinetra::FromEngine type, const taf::Bytes& payload,
              const std::string& channel = kChannel) {
        Send(Number(type), payload, channel);
    }
    template <taf::Record T>
    void Send(kinetra::FromEngine type, const T& record) {
        Send(Number(type), taf::toBytes(record));
    }
    // Sends bytes as the whole envelope, well-formed or not.
    void SendEnvelope(const taf::Bytes& envelope, const std::string& channel = kChannel);
    // Waits until the channel has delivered and the plug-in has handled everything sent.
    bool WaitIdle(std::chrono::milliseconds timeout = kDefaultWait);
    // How many plug-in instances listen on the channel.
    std::uint32_t Listeners() const { return mEndpoint->ListenerCount(); }
    // While false, the plug-in's sends wait for the engine to read again (the engine reads
    // again when it goes).
    void SetReading(bool reading) { mEndpoint->SetReading(reading); }

    // Every message the plug-in sent, in arrival order.
    std::vector<EngineTraffic> Received() const;
    std::size_t CountReceived(std::uint32_t type) const;
    std::size_t CountReceived(kinetra::ToEngine type) const { return CountReceived(Number(type)); }
    // The next message of `type` not taken yet, waiting for it when needed.
    std::optional<EngineTraffic> WaitFor(std::uint32_t type,
                                         std::chrono::milliseconds timeout = kDefaultWait);
    std::optional<EngineTraffic> WaitFor(kinetra::ToEngine type,
                                         std::chrono::milliseconds timeout = kDefaultWait) {
        return WaitFor(Number(type), timeout);
    }
    template <taf::Record T>
    std::optional<T> WaitForRecord(kinetra::ToEngine type,
                                   std::chrono::milliseconds timeout = kDefaultWait) {
        auto message = WaitFor(type, timeout);
        if (!message) {
            return std::nullopt;
        }
        T record;
        // The tests check the fields themselves; a field that failed shows as its default.
        taf::fromBytesLenient(message->payload, record);
        return record;
    }

    // Called for every message in either direction, on the thread that moved it.
    void SetObserver(std::function<void(const EngineTraffic&)> observer);

private:
    template <class Type>
    static std::uint32_t Number(Type type) {
        return static_cast<std::uint32_t>(kinetra::number(type));
    }
    static void Receive(void* context, const char* channel, const char* data, std::uint32_t size);
    void Record(EngineTraffic traffic);

    IEngineEndpoint* mEndpoint;
    mutable std::mutex mMutex;
    std::condition_variable mArrived;
    std::vector<EngineTraffic> mReceived;
    std::vector<bool> mTaken;
    std::function<void(const EngineTraffic&)> mObserver;
};

}  // namespace sim
