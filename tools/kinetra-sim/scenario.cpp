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

    // An integer that must not exceed `limit`.
    template <typename Int>
    void Bounded(const char* key, Int& out, std::uint64_t limit) {
        Integer(key, out);
        if (Ok() && Find(key) != nullptr && static_cast<std::uint64_t>(out) > limit) {
            Fail(Where(key), "must be at most " + std::to_string(limit));
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
    std::uint32_t audioFormat[2] = {answers.audioRate, answers.audioSecond};
    host.Pair("audio_format", audioFormat);
    answers.audioRate = audioFormat[0];
    answers.audioSecond = audioFormat[1];
    if (const Json* camera = host.Find("camera")) {
        ObjectReader reader(*camera, "host.camera", error);
        reader.Text("name", answers.camera.name);
        reader.Text("detail", answers.camera.detail);
        reader.Pair("a", answers.camera.a);
        reader.Pair("b", answers.camera.b);
        reader.OnlyKeys({"name", "detail", "a", "b"});
    }
    if (host.Find("dialog_result") != nullptr) {
        std::uint32_t result = 0;
        host.Integer("dialog_result", result);
        answers.dialogResult = result;
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
                   "audio_format", "dialog_result", "absent"});
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

// The audio step's two planes of explicit samples, as many in each as the step's frames.
void ReadPlanes(ObjectReader& audio, const std::string& path, sim::AudioDelivery& delivery) {
    const Json* planes = audio.Find("planes");
    if (planes == nullptr) {
        return;
    }
    const auto fail = [&] { audio.Fail(path, "must be two arrays of \"frames\" numbers each"); };
    if (!planes->is_array() || planes->size() != 2) {
        fail();
        return;
    }
    for (std::size_t plane = 0; plane < 2; ++plane) {
        const Json& samples = (*planes)[plane];
        if (!samples.is_array() || samples.size() != delivery.frames) {
            fail();
            return;
        }
        for (const Json& sample : samples) {
            double value = 0;
            if (!tafjson::toDouble(sample, value)) {
                fail();
                return;
            }
            delivery.planes[plane].push_back(static_cast<float>(value));
        }
    }
}

void ReadAudio(const Json& json, const std::string& path, std::vector<Step>& steps,
               std::string& error) {
    ObjectReader audio(json, path, error);
    AudioStep step;
    auto& delivery = step.delivery;
    audio.Bounded("frames", delivery.frames, kMaxAudioFrames);
    audio.Bounded("calls", delivery.calls, kMaxAudioCalls);
    audio.Integer("kind", delivery.kind);
    if (const Json* tone = audio.Find("tone_hz")) {
        if (!tafjson::toDouble(*tone, delivery.toneHz)) {
            audio.Fail(audio.Where("tone_hz"), "must be a number");
        }
    }
    ReadPlanes(audio, audio.Where("planes"), delivery);
    audio.OnlyKeys({"frames", "planes", "calls", "tone_hz", "kind"});
    if (audio.Ok() && audio.Find("planes") != nullptr && audio.Find("tone_hz") != nullptr) {
        audio.Fail(path, "give either \"planes\" or \"tone_hz\", not both");
    }
    steps.emplace_back(std::move(step));
}

// Hex text under `key` into `bytes`; false when the key is absent.
bool ReadHex(ObjectReader& entry, const std::string& path, const char* key, taf::Bytes& bytes) {
    const Json* hex = entry.Find(key);
    if (hex == nullptr) {
        return false;
    }
    if (!hex->is_string() || !tafjson::parseHexText(hex->get_ref<const std::string&>(), bytes)) {
        entry.Fail(path + "." + key, "must be a string of hex digit pairs");
    }
    return true;
}

// A reply given as the response record's fields ("rsp" or "hex"), as the whole "tRsp" value
// ("rsp_hex"), each with "ret", or as a complete frame sent as it stands ("frame_hex").
void ReadReply(ObjectReader& entry, const std::string& path, sim::Reply& reply) {
    const int forms = (entry.Find("rsp") != nullptr || entry.Find("hex") != nullptr) +
                      (entry.Find("rsp_hex") != nullptr) + (entry.Find("frame_hex") != nullptr);
    if (forms > 1) {
        entry.Fail(path, "give one of \"rsp\" (or \"hex\"), \"rsp_hex\" and \"frame_hex\"");
        return;
    }
    std::int32_t ret = 0;
    entry.Integer("ret", ret);
    taf::Bytes bytes;
    if (ReadHex(entry, path, "frame_hex", bytes)) {
        if (entry.Find("ret") != nullptr) {
            entry.Fail(path + ".ret", "a frame carries its own return value");
        }
        reply = sim::Reply::Raw(std::move(bytes));
    } else if (ReadHex(entry, path, "rsp_hex", bytes)) {
        reply = sim::Reply::Value(ret, std::move(bytes));
    } else {
        ReadFields(entry, path, "rsp", bytes);
        reply = sim::Reply::Fields(ret, std::move(bytes));
    }
}

void ReadServer(const Json& json, Scenario& scenario, std::string& error) {
    ObjectReader server(json, "server", error);
    std::uint32_t delay = 0;
    std::uint32_t timeout = static_cast<std::uint32_t>(scenario.timing.timeout.count());
    server.Bounded("delay_ms", delay, kMaxMilliseconds);
    server.Bounded("timeout_ms", timeout, kMaxMilliseconds);
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
            ReadReply(entry, path, reply.reply);
            entry.OnlyKeys({"servant", "function", "ret", "rsp", "hex", "rsp_hex", "frame_hex"});
            if (entry.Ok() && (reply.servant.empty() || reply.function.empty())) {
                entry.Fail(path, "needs \"servant\" and \"function\"");
            }
            scenario.replies.push_back(std::move(reply));
        }
    }
    server.OnlyKeys({"replies", "delay_ms", "timeout_ms"});
}

// A text value under `key` that must be one of two words; true for the first.
bool ReadChoice(ObjectReader& step, const char* key, const char* first, const char* second) {
    std::string word;
    step.Text(key, word);
    if (step.Ok() && word != first && word != second) {
        step.Fail(step.Where(key), std::string("must be \"") + first + "\" or \"" + second + "\"");
    }
    return word == first;
}

InstanceStep::Action ReadInstanceAction(ObjectReader& step) {
    std::string word;
    step.Text("instance", word);
    if (word == "stop") {
        return InstanceStep::Action::stop;
    }
    if (word == "release") {
        return InstanceStep::Action::release;
    }
    if (step.Ok() && word != "start") {
        step.Fail(step.Where("instance"), "must be \"start\", \"stop\" or \"release\"");
    }
    return InstanceStep::Action::start;
}

std::size_t ReadSteps(const Json* json, const std::string& path, std::vector<Step>& steps,
                      std::uint32_t nesting, std::string& error);

// Returns how many steps it plays, repeats unrolled.
std::size_t ReadStep(const Json& json, const std::string& path, std::vector<Step>& steps,
                     std::uint32_t nesting, std::string& error) {
    ObjectReader step(json, path, error);
    if (!step.Ok()) {
        return 0;
    }
    if (step.Find("repeat") != nullptr) {
        RepeatStep repeat;
        step.Bounded("repeat", repeat.count, kMaxRepeat);
        step.OnlyKeys({"repeat", "steps"});
        if (step.Ok() && nesting >= kMaxRepeatNesting) {
            step.Fail(path, "repeats nested deeper than " + std::to_string(kMaxRepeatNesting));
        }
        if (!step.Ok()) {
            return 0;
        }
        const std::size_t played =
            ReadSteps(step.Find("steps"), path + ".steps", repeat.steps, nesting + 1, error);
        steps.emplace_back(std::move(repeat));
        const auto& added = std::get<RepeatStep>(steps.back());
        return added.count == 0                         ? 0
               : played > kMaxStepsPlayed / added.count ? kMaxStepsPlayed + 1
                                                        : played * added.count;
    }
    if (step.Find("wait_ms") != nullptr) {
        std::uint32_t milliseconds = 0;
        step.Bounded("wait_ms", milliseconds, kMaxMilliseconds);
        step.OnlyKeys({"wait_ms"});
        steps.emplace_back(WaitStep{std::chrono::milliseconds(milliseconds)});
    } else if (step.Find("wait") != nullptr) {
        std::string until;
        step.Text("wait", until);
        if (step.Ok() && until != "quiet") {
            step.Fail(step.Where("wait"), "must be \"quiet\"");
        }
        step.OnlyKeys({"wait"});
        steps.emplace_back(WaitStep{{}, true});
    } else if (step.Find("engine") != nullptr) {
        EngineStep engine{0, sim::SimEngine::kChannel, {}};
        step.Integer("engine", engine.type);
        step.Text("channel", engine.channel);
        ReadFields(step, path, "payload", engine.payload);
        step.OnlyKeys({"engine", "channel", "payload", "hex"});
        steps.emplace_back(std::move(engine));
    } else if (step.Find("push") != nullptr) {
        PushStep push;
        step.Integer("push", push.uri);
        ReadFields(step, path, "payload", push.payload);
        step.OnlyKeys({"push", "payload", "hex"});
        steps.emplace_back(std::move(push));
    } else if (const Json* audio = step.Find("audio")) {
        ReadAudio(*audio, path + ".audio", steps, error);
        step.OnlyKeys({"audio"});
    } else if (step.Find("live") != nullptr) {
        const bool started = ReadChoice(step, "live", "started", "stopped");
        step.OnlyKeys({"live"});
        steps.emplace_back(LiveStep{started});
    } else if (step.Find("instance") != nullptr) {
        const auto action = ReadInstanceAction(step);
        step.OnlyKeys({"instance"});
        steps.emplace_back(InstanceStep{action});
    } else if (step.Find("dialog") != nullptr) {
        DialogStep dialog;
        step.Integer("dialog", dialog.result);
        step.OnlyKeys({"dialog"});
        steps.emplace_back(dialog);
    } else if (step.Find("expect") != nullptr || step.Find("expect_none") != nullptr) {
        ExpectStep expect;
        if (ReadExpectation(json, path, expect, error)) {
            steps.emplace_back(std::move(expect));
        }
    } else {
        step.Fail(path,
                  "a step needs \"engine\", \"push\", \"audio\", \"live\", \"instance\", "
                  "\"dialog\", \"repeat\", \"wait_ms\", \"wait\", \"expect\" or \"expect_none\"");
    }
    return 1;
}

// The steps of an array, refused as a whole when they would play more than kMaxStepsPlayed.
std::size_t ReadSteps(const Json* json, const std::string& path, std::vector<Step>& steps,
                      std::uint32_t nesting, std::string& error) {
    if (json == nullptr) {
        return 0;
    }
    if (!json->is_array()) {
        error = path + ": must be an array";
        return 0;
    }
    std::size_t played = 0;
    for (std::size_t i = 0; i < json->size() && error.empty(); ++i) {
        played += ReadStep((*json)[i], path + "[" + std::to_string(i) + "]", steps, nesting, error);
        if (error.empty() && played > kMaxStepsPlayed) {
            error = path + ": would play more than " + std::to_string(kMaxStepsPlayed) + " steps";
        }
    }
    return played;
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
    if (top.Ok()) {
        ReadSteps(top.Find("steps"), "steps", scenario.steps, 0, error);
    }
    top.OnlyKeys({"host", "server", "steps"});
    return error.empty();
}

}  // namespace kinetra_sim
