// Push subscriptions: the factory the host calls with each push's bytes, and the push object
// it then delivers and releases. T is a record (decoded at top level) or taf::Bytes (raw).
#pragma once

#include <concepts>
#include <cstdint>
#include <functional>

#include "core/boundary.h"
#include "service_plugin/signal_service.h"
#include "signal/push_decode.h"
#include "taf/codec.h"

namespace Meru {

// The host hands push bytes as a pointer and a length; a null pointer carries nothing.
inline std::span<const std::uint8_t> PushBytes(const char* data, std::uint32_t size) {
    if (data == nullptr) {
        return {};
    }
    return {reinterpret_cast<const std::uint8_t*>(data), size};
}

// A decoded record push: calls the callback with a pointer to the record and how it was read.
template <class T>
class SignalPushObject final : public service_plugin::SignalNotify {
public:
    using Callback = std::function<void(void*, const PushDecode&)>;

    SignalPushObject(Callback onPush, T decoded, PushDecode how)
        : callback(std::move(onPush)), value(std::move(decoded)), decode(how) {}

    void Notify() override {
        core::at_boundary(L"SignalPushObject::Notify", [&] {
            if (callback) {
                callback(&value, decode);
            }
        });
    }
    void Release() override { delete this; }

private:
    Callback callback;
    T value;
    PushDecode decode;
};

// A raw push: the exact bytes received and the URI the factory was subscribed under.
template <>
class SignalPushObject<taf::Bytes> final : public service_plugin::SignalNotify {
public:
    using Callback = std::function<void(const taf::Bytes&, std::int32_t)>;

    SignalPushObject(Callback onPush, taf::Bytes received, std::uint32_t subscribedUri)
        : callback(std::move(onPush)), value(std::move(received)), uri(subscribedUri) {}

    void Notify() override {
        core::at_boundary(L"SignalPushObject::Notify", [&] {
            if (callback) {
                callback(value, static_cast<std::int32_t>(uri));
            }
        });
    }
    void Release() override { delete this; }

private:
    Callback callback;
    taf::Bytes value;
    std::uint32_t uri;
};

// Decodes each push into a T (what could be read, defaults elsewhere) and wraps it with a copy
// of the callback. The subscriber owns the factory until it unsubscribes.
template <class T>
class SignalPushFactory : public service_plugin::SignalNotifyStub {
public:
    using Callback = typename SignalPushObject<T>::Callback;

    // Takes an untyped pointer to the decoded record.
    explicit SignalPushFactory(std::function<void(void*)> onPush)
        : callback([onPush = std::move(onPush)](void* value, const PushDecode&) {
              if (onPush) {
                  onPush(value);
              }
          }) {}
    // Takes the decoded record itself, such as a lambda bound to the subscriber.
    template <class Handler>
    requires std::invocable<Handler&, T&> &&
        (!std::invocable<Handler&, void*>)explicit SignalPushFactory(Handler handler)
        : callback([handler = std::move(handler)](void* value, const PushDecode&) mutable {
              handler(*static_cast<T*>(value));
          }) {}
    // Takes the decoded record and how it was read.
    template <class Handler>
    requires std::invocable<Handler&, T&, const PushDecode&>
    explicit SignalPushFactory(Handler handler)
        : callback([handler = std::move(handler)](void* value, const PushDecode& decode) mutable {
              handler(*static_cast<T*>(value), decode);
          }) {}

    service_plugin::SignalNotify* CreateNotify(const char* data, std::uint32_t size) override {
        return core::at_boundary(
            L"SignalPushFactory::CreateNotify",
            [&]() -> service_plugin::SignalNotify* {
                T value;
                const PushDecode decode = DecodePush(PushBytes(data, size), value);
                return new SignalPushObject<T>(callback, std::move(value), decode);
            },
            nullptr);
    }

private:
    Callback callback;
};

template <>
class SignalPushFactory<taf::Bytes> : public service_plugin::SignalNotifyStub {
public:
    using Callback = SignalPushObject<taf::Bytes>::Callback;

    SignalPushFactory(std::uint32_t subscribedUri, Callback onPush)
        : callback(std::move(onPush)), uri(subscribedUri) {}

    service_plugin::SignalNotify* CreateNotify(const char* data, std::uint32_t size) override {
        return core::at_boundary(
            L"SignalPushFactory::CreateNotify",
            [&]() -> service_plugin::SignalNotify* {
                const auto bytes = PushBytes(data, size);
                return new SignalPushObject<taf::Bytes>(
                    callback, taf::Bytes(bytes.begin(), bytes.end()), uri);
            },
            nullptr);
    }

private:
    Callback callback;
    std::uint32_t uri;
};

}  // namespace Meru
