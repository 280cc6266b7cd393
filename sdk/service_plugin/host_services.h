// The host services other than the signal connection: user, room, audio, live and presenter.
// Records the host defines are kept to the fields the plug-in reads.
#pragma once

#include <cstdint>

#include "service_plugin/ll_string.h"
#include "service_plugin/reserved_slots.h"

namespace service_plugin {

class IUserService : public ReservedFirstSixSlots {
public:
    virtual std::int64_t GetUserValue() = 0;            // 6
    virtual LLString* GetUserText1(LLString* out) = 0;  // 7: returns out
    virtual LLString* GetUserText2(LLString* out) = 0;  // 8: returns out

protected:
    ~IUserService() = default;
};

// The live room. The host's texts come first; the game id is the only field the plug-in reads.
struct RoomInfo {
    LLString texts[3];
    std::int32_t gameId = 0;
};

class IRoomService : public ReservedFirstSixSlots {
public:
    virtual void Reserved6() {}                        // 6
    virtual void Reserved7() {}                        // 7
    virtual RoomInfo* GetRoomInfo(RoomInfo* out) = 0;  // 8: returns out

protected:
    ~IRoomService() = default;
};

// Audio format: the first value is the sample rate; frames are ignored while the second is 1.
struct AudioFormat {
    std::uint32_t rate = 0;
    std::uint32_t second = 0;
};

// One frame of audio: two planes of 32-bit float samples, `samples` per plane.
struct AudioFrame {
    const float* planes[2] = {nullptr, nullptr};
    std::uint32_t samples = 0;
};

class IAudioServiceEvent {
public:
    virtual ~IAudioServiceEvent() = default;                                   // 0
    virtual void OnAudioData(const AudioFrame* frame, std::int32_t kind) = 0;  // 1
};

class IAudioService : public ReservedFirstSixSlots {
public:
    virtual void AddAudioEvent(IAudioServiceEvent* listener, std::int32_t kind,
                               std::int32_t flags) = 0;               // 6
    virtual void RemoveAudioEvent(IAudioServiceEvent* listener) = 0;  // 7
    virtual void GetAudioFormat(AudioFormat* out) = 0;                // 8

protected:
    ~IAudioService() = default;
};

class ILiveEvent {
public:
    virtual void OnLiveEvent() = 0;    // 0: ignored by the plug-in
    virtual void OnLiveStarted() = 0;  // 1
    virtual void OnLiveStopped() = 0;  // 2

protected:
    ~ILiveEvent() = default;
};

class ILiveService : public ReservedFirstSixSlots {
public:
    virtual void AddLiveEvent(ILiveEvent* listener) = 0;     // 6
    virtual void RemoveLiveEvent(ILiveEvent* listener) = 0;  // 7
    virtual std::int64_t GetLiveId() = 0;                    // 8: above 0 while live

protected:
    ~ILiveService() = default;
};

// A source in the presenter's scene; the host owns it.
struct PresenterSource;

using DialogCallback = void (*)(void* context, std::uint32_t result);

class IPresenterService : public ReservedFirstSixSlots {
public:
    virtual bool IsTestEnv() = 0;                           // 6
    virtual void Reserved7() {}                             // 7
    virtual LLString* GetClientVersion(LLString* out) = 0;  // 8: returns out
    virtual void Reserved9() {}                             // 9
    virtual PresenterSource* CreateSource(const char* kind, const char* name, std::int32_t flags,
                                          std::int32_t settings) = 0;  // 10
    virtual void Reserved11() {}                                       // 11
    virtual void GetCanvasSize(PresenterSource* source, std::uint32_t* width,
                               std::uint32_t* height) = 0;  // 12
    virtual void SetSourceTransform(PresenterSource* source, const float position[2],
                                    const float scale[2]) = 0;  // 13
    // Asynchronous; the callback later reports the dialog's result with the context.
    virtual void ShowDialog(const char* json, void* context, DialogCallback callback) = 0;  // 14
    virtual void GetCamera(LLString* name, LLString* detail, float a[2], float b[2]) = 0;   // 15
    virtual void ClearCamera() = 0;                                                         // 16
    virtual void RestoreCamera(const LLString& name, const LLString& detail, const float a[2],
                               const float b[2]) = 0;  // 17

protected:
    ~IPresenterService() = default;
};

}  // namespace service_plugin
