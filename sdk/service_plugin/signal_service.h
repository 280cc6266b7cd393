// The host's "signal" connection to the platform's servers: identity, request tasks and pushes.
#pragma once

#include <cstdint>

#include "service_plugin/ll_string.h"
#include "service_plugin/reserved_slots.h"

namespace service_plugin {

// The signed-in account's token and its kind. Host-defined; only these two fields are read.
struct AccountInfo {
    LLString token;
    std::int32_t tokenType = 0;
};

class IAccount {
public:
    virtual std::int64_t GetUid() = 0;                  // 0
    virtual void GetAccountInfo(AccountInfo* out) = 0;  // 1

protected:
    ~IAccount() = default;
};

// A server request: the service encodes it, sends it, answers it once and releases it.
class SignalTafTask {
public:
    virtual ~SignalTafTask() = default;                      // 0
    virtual bool Encode(class ISignalService* service) = 0;  // 1
    virtual const char* GetData() = 0;                       // 2
    virtual std::uint64_t GetDataSize() = 0;                 // 3
    virtual std::uint32_t GetOption1() = 0;                  // 4
    virtual std::uint32_t GetOption2() = 0;                  // 5
    virtual std::uint32_t GetOption3() = 0;                  // 6
    virtual std::uint32_t GetOption4() = 0;                  // 7
    virtual const char* GetPath() = 0;                       // 8
    virtual std::uint32_t GetPathSize() = 0;                 // 9
    virtual const char* GetServantName() = 0;                // 10
    virtual const char* GetFunctionName() = 0;               // 11
    // A reply arrives as first code 0 with its bytes; a time-out as no bytes and second code -1.
    virtual bool OnResponse(const char* data, std::uint64_t size, std::int32_t firstCode,
                            std::int32_t secondCode) = 0;  // 12
    virtual void OnCallback() = 0;                         // 13
    virtual void Release() = 0;                            // 14
};

// A decoded push, delivered once and then released by the host.
class SignalNotify {
public:
    virtual void Notify() = 0;   // 0
    virtual void Release() = 0;  // 1

protected:
    ~SignalNotify() = default;
};

// A push subscription: turns the bytes of each push under its URI into a SignalNotify.
class SignalNotifyStub {
public:
    virtual SignalNotify* CreateNotify(const char* data, std::uint32_t size) = 0;  // 0
    virtual ~SignalNotifyStub() = default;                                         // 1
};

class ISignalService : public ReservedFirstSixSlots {
public:
    virtual LLString GetGuid() = 0;                  // 6
    virtual LLString GetUserAgent() = 0;             // 7
    virtual IAccount* GetAccount() = 0;              // 8
    virtual void SendTask(SignalTafTask* task) = 0;  // 9: the service owns the task from here
    virtual void AddPushHandler(std::uint32_t uri, SignalNotifyStub* stub) = 0;     // 10
    virtual void RemovePushHandler(std::uint32_t uri, SignalNotifyStub* stub) = 0;  // 11

protected:
    ~ISignalService() = default;
};

}  // namespace service_plugin
