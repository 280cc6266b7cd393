// The plug-in's push subscriptions with the host: each one registered under its URI, each taken
// back by its own object before it is freed. The live logic and the game logic each hold one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <utility>

#include "service_plugin/signal_service.h"

namespace Meru {

// The rules every subscriber follows, two of them stricter than simply registering whatever is
// asked for:
// - the engine holds at most one subscription per URI: a second subscribe would register a
//   second handler, and every push under the URI would then reach the engine twice (and a flood
//   of subscribes would grow the host's table without bound), so it changes nothing; at most
//   kMaxEngineUris URIs at once;
// - nothing is ever removed without naming its object: a host removing "the handler for this
//   URI" takes whichever it finds first, possibly another subscriber's, which would then be
//   freed while the host still calls it.
// Every handler is taken back, by object, by Close and by the destructor, whichever comes
// first, so none stays with the host past its subscriber.
class PushTable {
public:
    // Whose subscription: one the subscriber makes itself when it starts, or one the engine
    // asked for by URI.
    enum class Origin { fixed, engine };
    enum class Added { added, held, full, closed };

    static constexpr std::size_t kMaxEngineUris = 256;

    PushTable() = default;
    ~PushTable() { Close(); }
    PushTable(const PushTable&) = delete;
    PushTable& operator=(const PushTable&) = delete;

    // From now on subscriptions are registered with `signal`; a null service takes none.
    void Open(service_plugin::ISignalService* signal);
    // Takes every subscription back from the host and frees it; none is taken until Open.
    void Close();

    // Registers `handler` under `uri` unless the table already holds one of that origin there
    // (held), the engine already holds kMaxEngineUris URIs (full) or the table is closed; a
    // handler not registered is freed here.
    Added Add(Origin origin, std::uint32_t uri,
              std::unique_ptr<service_plugin::SignalNotifyStub> handler);
    // Takes back and frees the one handler of that origin under `uri`; false when there is none.
    bool Remove(Origin origin, std::uint32_t uri);

private:
    using Key = std::pair<Origin, std::uint32_t>;

    // Held across the host's Add/RemovePushHandler, so that the table and the host's
    // registrations change together; delivering a push never takes it.
    std::mutex mMutex;
    service_plugin::ISignalService* mSignal = nullptr;
    std::map<Key, std::unique_ptr<service_plugin::SignalNotifyStub>> mHandlers;
    std::size_t mEngineUris = 0;
};

}  // namespace Meru
