#include "live/presenter_dialog.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>

#include "context/plugin_context.h"
#include "core/boundary.h"
#include "core/json_object.h"
#include "core/logger_stream.h"

namespace kinetra {
namespace {

// Dialogs one instance keeps open at most. The engine can ask for any number of dialogs and the
// presenter may answer none of them; past this, the oldest is forgotten (the host has no way
// to close a dialog and no cancel value to answer it with): its answer, should it still come,
// is ignored. A person answers a handful of dialogs, never this many at once.
constexpr std::size_t kOpenDialogsPerInstance = 64;

// Travels with one dialog to its answer. It holds the instance weakly: a dialog the presenter
// never answers keeps nothing alive, and an answer after the instance is gone is dropped.
struct DialogContext {
    std::int32_t seq = 0;
    std::weak_ptr<PluginContext> owner;
    const PluginContext* instance = nullptr;
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

// Dialogs shown and not answered yet, by a number that is never used twice: the presenter gets
// the number as its context, so an answer to a forgotten dialog cannot reach a newer one. Never
// destroyed: the presenter's thread may answer while statics are torn down.
struct OpenDialogs {
    std::mutex mutex;
    std::uint64_t next = 1;
    // In the order the dialogs were shown.
    std::map<std::uint64_t, DialogContext> contexts;

    std::size_t count_of(const PluginContext* instance) const {
        return static_cast<std::size_t>(std::count_if(
            contexts.begin(), contexts.end(),
            [instance](const auto& open) { return open.second.instance == instance; }));
    }
};

OpenDialogs& Open() {
    static auto* const dialogs = new OpenDialogs;
    return *dialogs;
}

void* ContextOf(std::uint64_t number) {
    return reinterpret_cast<void*>(static_cast<std::uintptr_t>(number));
}

// On the presenter service's thread.
void OnDialogResult(void* context, std::uint32_t result) {
    core::at_boundary(L"KinetraLogic::OnDialogResult", [&] {
        DialogContext dialog;
        {
            std::lock_guard lock(Open().mutex);
            const auto open = Open().contexts.find(reinterpret_cast<std::uintptr_t>(context));
            // Not one of ours, already answered, or forgotten.
            if (open == Open().contexts.end()) {
                return;
            }
            dialog = std::move(open->second);
            Open().contexts.erase(open);
        }
        if (const auto owner = dialog.owner.lock()) {
            owner->SendToEngine(
                ToEngine::kPresenterDialogResult,
                MeruKinetra::PresenterDialogResult{dialog.seq, static_cast<std::int32_t>(result)});
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
    std::uint64_t number = 0;
    std::optional<std::int32_t> forgotten;
    {
        // Before the call: the presenter may answer at once, on any thread.
        std::lock_guard lock(Open().mutex);
        auto& open = Open();
        if (open.count_of(owner.get()) >= kOpenDialogsPerInstance) {
            const auto oldest = std::find_if(
                open.contexts.begin(), open.contexts.end(),
                [&owner](const auto& dialog) { return dialog.second.instance == owner.get(); });
            forgotten = oldest->second.seq;
            open.contexts.erase(oldest);
        }
        number = open.next++;
        open.contexts.emplace(number, DialogContext{request.seq, owner, owner.get()});
    }
    if (forgotten) {
        core::logger_stream(core::level_err)
            << "KinetraLogic::ShowPresenterDialog " << kOpenDialogsPerInstance
            << " dialogs open, the oldest is forgotten: seq = " << *forgotten;
    }
    presenter->ShowDialog(json.c_str(), ContextOf(number), &OnDialogResult);
}

void ReleaseOpenDialogs(const PluginContext* instance) {
    std::lock_guard lock(Open().mutex);
    std::erase_if(Open().contexts, [instance](const auto& open) {
        return instance == nullptr || open.second.instance == instance;
    });
}

}  // namespace kinetra
