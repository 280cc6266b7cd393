// The game in progress: its id and the servers' task id for it. The engine channel's thread
// writes it (message 28, the start requests) and so do reply threads (the start answers'
// task ids), so every access takes the record's own lock; nothing else is done under it.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>

namespace kinetra {

class CurrentGameRecord {
public:
    void Set(std::int32_t gameId, std::string taskId) {
        std::lock_guard lock(mMutex);
        CurInteractiveGameID = gameId;
        CurInteractiveGameTaskId = std::move(taskId);
    }
    void SetId(std::int32_t gameId) {
        std::lock_guard lock(mMutex);
        CurInteractiveGameID = gameId;
    }
    void SetTaskId(std::string taskId) {
        std::lock_guard lock(mMutex);
        CurInteractiveGameTaskId = std::move(taskId);
    }
    // 0 when no game runs.
    std::int32_t Id() const {
        std::lock_guard lock(mMutex);
        return CurInteractiveGameID;
    }
    std::string TaskId() const {
        std::lock_guard lock(mMutex);
        return CurInteractiveGameTaskId;
    }

private:
    mutable std::mutex mMutex;
    std::int32_t CurInteractiveGameID = 0;
    std::string CurInteractiveGameTaskId;
};

}  // namespace kinetra
