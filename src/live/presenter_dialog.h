// A dialog shown to the presenter on the engine's behalf (message 2039); the presenter's
// answer goes back to the engine as message 2040.
#pragma once

#include <memory>
#include <string>

#include "taf/records/presenter_messages.h"

namespace kinetra {

class PluginContext;

// The dialog as the presenter service takes it: caption, content and the buttons that have a
// text, in order, as compact JSON.
std::string PresenterDialogJson(const MeruKinetra::PresenterDialogReq& request);

// Shows the dialog; does nothing without a presenter service.
void ShowPresenterDialog(const std::shared_ptr<PluginContext>& owner,
                         const MeruKinetra::PresenterDialogReq& request);

// Forgets the dialogs `instance` showed and the presenter has not answered (all of them when
// null): the instance's Uninit and the module's unload call it; an answer that comes later is
// ignored.
void ReleaseOpenDialogs(const PluginContext* instance = nullptr);

}  // namespace kinetra
