#include "live/presenter_dialog.h"

#include <mutex>
#include <set>

#include "context/plugin_context.h"
#include "core/boundary.h"
#include "core/json_object.h"

namespace kinetra {
namespace {

// Travels with one dialog to its answer. It holds the instance weakly: a dialog the presenter
// never answers keeps nothing alive, and an answer after the instance is gone is dropped.
struct DialogContext {
    std::int32_t seq = 0;
    std::weak_ptr<PluginContext> owner;
};

void AddButton(meru::CJsonObject& buttons, const std::string& text, std::int32_t id) {
    if (text.empty()) {
        return;
    }
    meru::CJsonObject button;
    button.Add("text", text);
    button.Add("id", id);
    buttons.Add(button);
}

// Dialogs shown and not answered yet. A dialog the presenter never answers would otherwise
// leave its context behind at every unload. Never destroyed: the presenter's thread may answer
// while statics are torn down.
struct OpenDialogs {
    std::mutex mutex;
    std::set<DialogContext*> contexts;
};

OpenDialogs& Open() {
    static auto* const dialogs = new OpenDialogs;
    return *dialogs;
}

// On the presenter service's thread.
void OnDialogResult(void* context, std::uint32_t result) {
    core::at_boundary(L"KinetraLogic::OnDialogResult", [&] {
        auto* const open = static_cast<DialogContext*>(context);
        {
            std::lock_guard lock(Open().mutex);
            // Not one of ours, or already answered.
            if (Open().contexts.erase(open) == 0) {
                return;
            }
        }
        const std::unique_ptr<DialogContext> dialog(open);
        if (const auto owner = dialog->owner.lock()) {
            owner->SendToEngine(
                ToEngine::kPresenterDialogResult,
                MeruKinetra::PresenterDialogResult{dialog->seq, static_cast<std::int32_t>(result)});
        }
    });
}

}  // namespace

std::string PresenterDialogJson(const MeruKinetra::PresenterDialogReq& request) {
    meru::CJsonObject dialog;
    dialog.Add("caption", request.caption);
    dialog.Add("content", request.content);
    dialog.AddEmptySubArray("buttons");
    AddButton(dialog["buttons"], request.button1Text, request.button1Id);
    AddButton(dialog["buttons"], request.button2Text, request.button2Id);
    return dialog.ToString();
}

void ShowPresenterDialog(const std::shared_ptr<PluginContext>& owner,
                         const MeruKinetra::PresenterDialogReq& request) {
    auto* presenter = owner->PresenterService();
    if (presenter == nullptr) {
        return;
    }
    const std::string json = PresenterDialogJson(request);
    auto* const context = new DialogContext{request.seq, owner};
    {
        // Before the call: the presenter may answer at once, on any thread.
        std::lock_guard lock(Open().mutex);
        Open().contexts.insert(context);
    }
    presenter->ShowDialog(json.c_str(), context, &OnDialogResult);
}

void ReleaseOpenDialogs() {
    std::set<DialogContext*> contexts;
    {
        std::lock_guard lock(Open().mutex);
        contexts.swap(Open().contexts);
    }
    for (auto* context : contexts) {
        delete context;
    }
}

}  // namespace kinetra
