#include "kinetra-sim/scenario.h"

#include <utility>

#include "common/hex_text.h"
#include "common/taf_tree_json.h"
#include "engine/sim_engine.h"

namespace kinetra_sim {
namespace {

using tafjson::Json;

// Reads the members of one JSON object, remembering the first problem met.
class ObjectReader {
public:
    ObjectReader(const Json& object, std::string path, std::string& error)
        : mObject(object), mPath(std::move(path)), mError(error) {
        if (!object.is_object()) {
            Fail(mPath, "must be an object");
        }
    }

    bool Ok() const { return mError.empty(); }

    void Fail(const std::string& where, const std::string& problem) {
        if (mError.empty()) {
            mError = where + ": " + problem;
        }
    }

    const Json* Find(const char* key) { return Ok() ? tafjson::findMember(mObject, key) : nullptr; }

    template <typename Int>
    void Integer(const char* key, Int& out) {
        if (const Json* value = Find(key)) {
            std::int64_t number = 0;
            if (!tafjson::toInt64(*value, number) || !std::in_range<Int>(number)) {
                Fail(Where(key), "must be an integer that fits");
            } else {
                out = static_cast<Int>(number);
            }
        }
    }

    void Text(const char* key, std::string& out) {
        if (const Json* value = Find(key)) {
            if (!value->is_string()) {
                Fail(Where(key), "must be a string");
            } else {
                out = value->get<std::string>();
            }
        }
    }

    void Flag(const char* key, bool& out) {
        if (const Json* value = Find(key)) {
            if (!value->is_boolean()) {
                Fail(Where(key), "must be true or false");
            } else {
                out = value->get<bool>();
            }
        }
    }

    template <typename Number>
    void Pair(const char* key, Number (&out)[2]) {
        const Json* value = Find(key);
        if (value == nullptr) {
            return;
        }
        if (!value->is_array() || value->size() != 2) {
            Fail(Where(key), "must be an array of two numbers");
            return;
        }
        for (int i = 0; i < 2; ++i) {
            double number = 0;
            if (!tafjson::toDouble((*value)[i], number)) {
                Fail(Where(key), "must be an array of two numbers");
                return;
            }
            out[i] = static_cast<Number>(number);
        }
    }

    // Fails on a member that none of `known` names: a misspelt key would otherwise be ignored.
    void OnlyKeys(std::initializer_list<const char*> known) {
        if (!Ok()) {
            return;
        }
        for (const auto& [key, value] : mObject.items()) {
            bool found = false;
            for (const char* name : known) {
                found = found || key == name;
            }
            if (!found) {
                Fail(Where(key.c_str()), "unknown key");
            }
        }
    }

    std::string Where(const char* key) const { return mPath + "." + key; }

private:
    const Json& mObject;
    std::string mPath;
    std::string& mError;
};

void ReadHost(const Json& json, Scenario& scenario, std::string& error) {
    ObjectReader host(json, "host", error);
    auto& answers = scenario.answers;
    host.Integer("uid", answers.uid);
    host.Text("guid", answers.guid);
    host.Text("ua", answers.ua);
    host.Text("token", answers.token);
    host.Integer("token_type", answers.tokenType);
    host.Integer("game_id", answers.gameId);
    host.Integer("live_id", answers.liveId);
    host.Integer("user_value", answers.userValue);
    host.Text("user_text1", answers.userText1);
    host.Text("user_text2", answers.userText2);
    host.Flag("test_env", answers.testEnv);
    host.Text("client_version", answers.clientVersion);
    std::uint32_t canvas[2] = {answers.canvasWidth, answers.canvasHeight};
    host.Pair("canvas", canvas);
    answers.canvasWidth = canvas[0];
    answers.canvasHeight = canvas[1];
    if (const Json* camera = host.Find("camera")) {
        ObjectReader reader(*camera, "host.camera", error);
        reader.Text("name", answers.camera.name);
        reader.Text("detail", answers.camera.detail);
        reader.Pair("a", answers.camera.a);
        reader.Pair("b", answers.camera.b);
        reader.OnlyKeys({"name", "detail", "a", "b"});
    }
    if (const Json* absent = host.Find("absent")) {
        if (!absent->is_array()) {
            host.Fail("host.absent", "must be an array of service names");
        }
        for (const Json& item : *absent) {
            const std::string name = item.is_string() ? item.get<std::string>() : std::string();
            const auto kind = sim::ServiceKindFromName(name);
            if (!kind) {
                host.Fail("host.absent", "unknown service \"" + name +
                                             "\" (signal, user, room, audio, live, presenter)");
                break;
            }
            scenario.absent.insert(*kind);
        }
    }
    host.OnlyKeys({"uid", "guid", "ua", "token", "token_type", "game_id", "live_id", "user_value",
                   "user_text1", "user_text2", "test_env", "client_version", "canvas", "camera",
                   "absent"});
}

// Bytes from a FIELDS array in the kinetra-taf JSON form under `key`, or from hex text.
void ReadFields(ObjectReader& step, const std::string& path, const char* key, taf::Bytes& payload) {
    const Json* fields = step.Find(key);
    const Json* hex = step.Find("hex");
    if (fields != nullptr && hex != nullptr) {
        step.Fail(path, std::string("give either \"") + key + "\" or \"hex\", not both");
    } else if (fields != nullptr) {
        std::vector<tafjson::TafField> tree;
        std::string problem;
        if (!tafjson::treeFromJson(*fields, tree, problem)) {
            step.Fail(path + "." + key, problem);
            return;
        }
        taf::TafOutputStream out;
        tafjson::encodeTree(out, tree);
        payload = out.toBytes();
    } else if (hex != nullptr) {
        if (!hex->is_string() ||
            !tafjson::parseHexText(hex->get_ref<const std::string&>(), payload)) {
            step.Fail(path + ".hex", "must be a string of hex digit pairs");
        }
    }
}

void ReadServer(const Json& json, Scenario& scenario, std::string& error) {
    ObjectReader server(json, "server", error);
    std::uint32_t delay = 0;
    std::uint32_t timeout = static_cast<std::uint32_t>(scenario.timing.timeout.count());
    server.Integer("delay_ms", delay);
    server.Integer("timeout_ms", timeout);
    scenario.timing = {std::chrono::milliseconds(delay), std::chrono::milliseconds(timeout)};
    if (const Json* replies = server.Find("replies")) {
        if (!replies->is_array()) {
            server.Fail("server.replies", "must be an array");
        }
        for (std::size_t i = 0; i < replies->size() && error.empty(); ++i) {
            const std::string path = "server.replies[" + std::to_string(i) + "]";
            ObjectReader entry((*replies)[i], path, error);
            ServerReply reply;
            entry.Text("servant", reply.servant);
            entry.Text("function", reply.function);
            entry.Integer("ret", reply.ret);
            ReadFields(entry, path, "rsp", reply.responseFields);
            entry.OnlyKeys({"servant", "function", "ret", "rsp", "hex"});
            if (entry.Ok() && (reply.servant.empty() || reply.function.empty())) {
                entry.Fail(path, "needs \"servant\" and \"function\"");
            }
            scenario.replies.push_back(std::move(reply));
        }
    }
    server.OnlyKeys({"replies", "delay_ms", "timeout_ms"});
}

void ReadStep(const Json& json, const std::string& path, Scenario& scenario, std::string& error) {
    ObjectReader step(json, path, error);
    if (!step.Ok()) {
        return;
    }
    if (step.Find("wait_ms") != nullptr) {
        std::uint32_t milliseconds = 0;
        step.Integer("wait_ms", milliseconds);
        step.OnlyKeys({"wait_ms"});
        scenario.steps.emplace_back(WaitStep{std::chrono::milliseconds(milliseconds)});
    } else if (step.Find("engine") != nullptr) {
        EngineStep engine{0, sim::SimEngine::kChannel, {}};
        step.Integer("engine", engine.type);
        step.Text("channel", engine.channel);
        ReadFields(step, path, "payload", engine.payload);
        step.OnlyKeys({"engine", "channel", "payload", "hex"});
        scenario.steps.emplace_back(std::move(engine));
    } else if (step.Find("push") != nullptr) {
        PushStep push;
        step.Integer("push", push.uri);
        ReadFields(step, path, "payload", push.payload);
        step.OnlyKeys({"push", "payload", "hex"});
        scenario.steps.emplace_back(std::move(push));
    } else {
        step.Fail(path, "a step needs \"engine\", \"push\" or \"wait_ms\"");
    }
}

}  // namespace

bool ParseScenario(const Json& json, Scenario& scenario, std::string& error) {
    error.clear();
    ObjectReader top(json, "scenario", error);
    if (const Json* host = top.Find("host")) {
        ReadHost(*host, scenario, error);
    }
    if (const Json* server = top.Find("server")) {
        ReadServer(*server, scenario, error);
    }
    if (const Json* steps = top.Find("steps")) {
        if (!steps->is_array()) {
            top.Fail("steps", "must be an array");
        }
        for (std::size_t i = 0; i < steps->size() && error.empty(); ++i) {
            ReadStep((*steps)[i], "steps[" + std::to_string(i) + "]", scenario, error);
        }
    }
    top.OnlyKeys({"host", "server", "steps"});
    return error.empty();
}

}  // namespace kinetra_sim
