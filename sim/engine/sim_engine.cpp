#include "engine/sim_engine.h"

#include "taf/records/engine_envelope.h"

namespace sim {
namespace {

EngineTraffic Decode(EngineTraffic::Direction direction, std::string channel, taf::Bytes envelope) {
    MeruKinetra::EngineMessage message;
    // Traffic is recorded as it came, damaged envelopes too, with what could be read.
    taf::fromBytesLenient(envelope, message);
    return {direction, std::move(channel), static_cast<std::uint32_t>(message.type),
            std::move(message.payload), std::move(envelope)};
}

}  // namespace

SimEngine::SimEngine() : mEndpoint(GetPluginMsgEngineEndpoint()) {
    mEndpoint->SetReceiver(&SimEngine::Receive, this);
}

SimEngine::~SimEngine() {
    mEndpoint->SetReading(true);
    mEndpoint->SetReceiver(nullptr, nullptr);
}

void SimEngine::Send(std::uint32_t type, const taf::Bytes& payload, const std::string& channel) {
    MeruKinetra::EngineMessage message;
    message.type = type;
    message.payload = payload;
    SendEnvelope(taf::toBytes(message), channel);
}

void SimEngine::SendEnvelope(const taf::Bytes& envelope, const std::string& channel) {
    std::function<void(const EngineTraffic&)> observer;
    {
        std::lock_guard lock(mMutex);
        observer = mObserver;
    }
    if (observer) {
        observer(Decode(EngineTraffic::Direction::toPlugin, channel, envelope));
    }
    mEndpoint->Post(channel.c_str(), reinterpret_cast<const char*>(envelope.data()),
                    static_cast<std::uint32_t>(envelope.size()));
}

bool SimEngine::WaitIdle(std::chrono::milliseconds timeout) {
    return mEndpoint->WaitIdle(static_cast<std::uint32_t>(timeout.count()));
}

void SimEngine::Receive(void* context, const char* channel, const char* data, std::uint32_t size) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(data);
    static_cast<SimEngine*>(context)->Record(
        Decode(EngineTraffic::Direction::toEngine, channel, taf::Bytes(bytes, bytes + size)));
}

void SimEngine::Record(EngineTraffic traffic) {
    std::function<void(const EngineTraffic&)> observer;
    {
        std::lock_guard lock(mMutex);
        observer = mObserver;
    }
    if (observer) {
        observer(traffic);
    }
    {
        std::lock_guard lock(mMutex);
        mReceived.push_back(std::move(traffic));
        mTaken.push_back(false);
    }
    mArrived.notify_all();
}

std::vector<EngineTraffic> SimEngine::Received() const {
    std::lock_guard lock(mMutex);
    return mReceived;
}

std::size_t SimEngine::CountReceived(std::uint32_t type) const {
    std::lock_guard lock(mMutex);
    std::size_t count = 0;
    for (const auto& message : mReceived) {
        count += message.type == type ? 1 : 0;
    }
    return count;
}

std::optional<EngineTraffic> SimEngine::WaitFor(std::uint32_t type,
                                                std::chrono::milliseconds timeout) {
    std::unique_lock lock(mMutex);
    std::optional<EngineTraffic> found;
    mArrived.wait_for(lock, timeout, [&] {
        for (std::size_t i = 0; i < mReceived.size(); ++i) {
            if (!mTaken[i] && mReceived[i].type == type) {
                mTaken[i] = true;
                found = mReceived[i];
                return true;
            }
        }
        return false;
    });
    return found;
}

void SimEngine::SetObserver(std::function<void(const EngineTraffic&)> observer) {
    std::lock_guard lock(mMutex);
    mObserver = std::move(observer);
}

}  // namespace sim
