// The presenter's own camera, saved and taken out of the scene while the avatar source is in
// it, and put back once when the avatar closes. Used on the engine channel's thread only.
#pragma once

#include <memory>

#include "context/context_ref.h"
#include "service_plugin/ll_string.h"

namespace kinetra {

class PresenterCameraCmd {
public:
    void Init(const std::shared_ptr<PluginContext>& owner);
    // Overwrites whatever was saved before.
    void SaveCamera();
    void RemoveCamera();
    // Puts a saved camera back and forgets it; without one, does nothing.
    void RetoreCamera();

private:
    ContextRef mOwner;
    // Empty while nothing is saved.
    service_plugin::LLString mDetail;
    service_plugin::LLString mName;
    float mA[2] = {0, 0};
    float mB[2] = {0, 0};
};

}  // namespace kinetra
