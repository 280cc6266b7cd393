// What every server request task hands the host the same way: the encoded frame it keeps until
// the host has sent it and the four options the host reads. It only fills slots of the host's
// task interface, so the slot layout stays the host's.
#pragma once

#include <cstdint>

#include "service_plugin/signal_service.h"
#include "signal/request_descriptor.h"
#include "taf/wire.h"

namespace Meru {

class EncodedTask : public service_plugin::SignalTafTask {
public:
    explicit EncodedTask(TaskOptions taskOptions) : options(taskOptions) {}

    const char* GetData() override { return reinterpret_cast<const char*>(encoded.data()); }
    std::uint64_t GetDataSize() override { return encoded.size(); }
    std::uint32_t GetOption1() override { return options.option1; }
    std::uint32_t GetOption2() override { return options.option2; }
    std::uint32_t GetOption3() override { return options.option3; }
    std::uint32_t GetOption4() override { return options.option4; }
    const char* GetPath() override { return nullptr; }
    std::uint32_t GetPathSize() override { return 0; }

protected:
    // Keeps the host's two codes; true when a reply with bytes came.
    bool RecordReply(const char* data, std::uint64_t size, std::int32_t firstCode,
                     std::int32_t secondCode) {
        resultCode = firstCode;
        errCode = secondCode;
        return data != nullptr && size != 0 && secondCode != -1;
    }

    // Back to a fresh task's frame and codes, keeping the frame's capacity.
    void ForgetFrame() {
        encoded.clear();
        resultCode = -1;
        errCode = -1;
    }

    TaskOptions options;
    taf::Bytes encoded;
    std::int32_t resultCode = -1;
    std::int32_t errCode = -1;
};

}  // namespace Meru
