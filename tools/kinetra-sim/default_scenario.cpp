// The scenario kinetra-sim runs when it is given none: a tour that shows every feature once
// (docs/kinetra-sim.md tells the story).
#include "kinetra-sim/scenario.h"

namespace kinetra_sim {

const char* DefaultScenarioText() {
    return R"({
  "host": {
    "uid": 1234567890, "guid": "0a1b2c3d", "ua": "kinetra-sim/1.0", "token": "demo-token",
    "token_type": 1, "game_id": 7, "user_value": 5000000000, "client_version": "1.0.0",
    "test_env": true, "canvas": [1920, 1080],
    "camera": {"name": "Camera 1", "detail": "cam:front#3A1#22hd", "a": [0.5, 0.25], "b": [1.0, 1.0]}
  },
  "server": {
    "replies": [
      {"servant": "mobileui", "function": "getConfig", "ret": 0, "rsp": [
        {"tag": 0, "type": "map", "entries": [
          [{"tag": 0, "type": "string", "text": "Virtual3DBannerTip"},
           {"tag": 1, "type": "string", "text": "{\"imgurl\":[{\"image\":\"https://cdn.kinetra.test/b1.png\",\"jump\":\"https://kinetra.test/news\"},{\"image\":\"https://cdn.kinetra.test/b2.png\"}],\"tip\":[\"Wave to say hello\",\"Try the crown game\"]}"}],
          [{"tag": 0, "type": "string", "text": "SimpleKinetraUrl"},
           {"tag": 1, "type": "string", "text": "https://kinetra.test/simple"}],
          [{"tag": 0, "type": "string", "text": "KinetraFileConfigUrl"},
           {"tag": 1, "type": "string", "text": "https://kinetra.test/files.json"}],
          [{"tag": 0, "type": "string", "text": "new_updater_config"},
           {"tag": 1, "type": "string", "text": "[{\"url\":\"https://cdn.kinetra.test/engine-3.3.zip\",\"md5\":\"9e107d9d372bb6826bd81d3542a419d6\",\"version\":\"3.3.0\"}]"}]
        ]}]},
      {"servant": "mobileui", "function": "getMobileUpdateInfo", "ret": 0, "rsp": [
        {"tag": 0, "type": "int", "value": 1},
        {"tag": 3, "type": "string", "text": "https://cdn.kinetra.test/engine-3.3.zip"},
        {"tag": 4, "type": "string", "text": "3.3.0"},
        {"tag": 7, "type": "int", "value": 330},
        {"tag": 8, "type": "int", "value": 1},
        {"tag": 9, "type": "string", "text": "9e107d9d"}]},
      {"servant": "mobileui", "function": "reportMobileUpdateResult", "ret": 0},
      {"servant": "avatarui", "function": "getWardrobe", "ret": 0, "rsp": [
        {"tag": 0, "type": "string", "text": "outfit-2"}, {"tag": 1, "type": "int", "value": 12}]},
      {"servant": "metric", "function": "reportDetailV2", "ret": 0},
      {"servant": "PropsUIServer", "function": "getPropsList", "ret": 0, "rsp": [
        {"tag": 1, "type": "list", "items": [
          {"tag": 0, "type": "struct", "fields": [
            {"tag": 1, "type": "int", "value": 4}, {"tag": 2, "type": "string", "text": "Rose"},
            {"tag": 3, "type": "int", "value": 10}]},
          {"tag": 0, "type": "struct", "fields": [
            {"tag": 1, "type": "int", "value": 12}, {"tag": 2, "type": "string", "text": "Rocket"},
            {"tag": 3, "type": "int", "value": 500}]}]}]},
      {"servant": "wupui", "function": "getVirtualCrownGameOrnament", "ret": 0, "rsp": [
        {"tag": 0, "type": "list", "items": [
          {"tag": 0, "type": "struct", "fields": [{"tag": 0, "type": "int", "value": 4}]},
          {"tag": 0, "type": "struct", "fields": [{"tag": 0, "type": "int", "value": 2}]}]}]},
      {"servant": "wupui", "function": "setLiveTag", "ret": 0},
      {"servant": "liveui", "function": "transMsgToViewer", "ret": 0},
      {"servant": "wupui", "function": "startVirtualInteractiveCrownGame", "ret": 0,
       "rsp": [{"tag": 1, "type": "int", "value": 5000},
               {"tag": 2, "type": "string", "text": "crown-task-1"}]},
      {"servant": "wupui", "function": "virtualCrownGameHeartbeat", "ret": 0,
       "rsp": [{"tag": 0, "type": "string", "text": "crown game alive"}]},
      {"servant": "wupui", "function": "endVirtualInteractiveCrownGame", "ret": 0,
       "rsp": [{"tag": 0, "type": "string", "text": "crown game ended"}]},
      {"servant": "wupui", "function": "preStartVirtualInteractiveTravelGame", "ret": 0,
       "rsp": [{"tag": 0, "type": "struct", "fields": [
                  {"tag": 0, "type": "int", "value": 1}, {"tag": 1, "type": "int", "value": 1},
                  {"tag": 2, "type": "string", "text": "Around the world"}]},
               {"tag": 1, "type": "string", "text": "travel-task-2"},
               {"tag": 2, "type": "int", "value": 1}, {"tag": 3, "type": "int", "value": 5000},
               {"tag": 4, "type": "int", "value": 1}]},
      {"servant": "wupui", "function": "startVirtualInteractiveTravelGame", "ret": 0,
       "rsp": [{"tag": 0, "type": "int", "value": 1}, {"tag": 1, "type": "int", "value": 1},
               {"tag": 2, "type": "string", "text": "travel-task-2"},
               {"tag": 3, "type": "int", "value": 5000}]},
      {"servant": "wupui", "function": "startVirtualTravelGame", "ret": 0,
       "rsp": [{"tag": 0, "type": "struct", "fields": [
                  {"tag": 0, "type": "int", "value": 1}, {"tag": 1, "type": "int", "value": 2},
                  {"tag": 2, "type": "string", "text": "Guess the city"},
                  {"tag": 3, "type": "string", "text": "Two words, one city"}]}]},
      {"servant": "wupui", "function": "endVirtualInteractiveGame", "ret": 0,
       "rsp": [{"tag": 0, "type": "string", "text": "travel game ended"}]}
    ],
    "delay_ms": 5, "timeout_ms": 200
  },
  "steps": [
    {"engine": 24},
    {"engine": 2014},
    {"engine": 2014, "channel": "another_plugin"},
    {"engine": 4242, "payload": [{"tag": 0, "type": "int", "value": 1},
                                 {"tag": 1, "type": "string", "text": "not a type the plug-in knows"}]},
    {"engine": 2029},
    {"engine": 2027, "payload": [
      {"tag": 1, "type": "map", "entries": [
        [{"tag": 0, "type": "string", "text": "iType"}, {"tag": 1, "type": "string", "text": "1"}],
        [{"tag": 0, "type": "string", "text": "sUA"}, {"tag": 1, "type": "string", "text": "kinetra-engine/3.2"}]]}]},
    {"wait_ms": 50},
    {"engine": 2028, "payload": [{"tag": 2, "type": "int", "value": 1}]},
    {"engine": 22, "payload": [{"tag": 0, "type": "bytes", "hex": "0000005d10022c3c400756086176617461727569660b67657457617264726f62657d00003308000106047452657118000106134d4552552e47657457617264726f62655265711d00000e0a06086f75746669742d3210030b8c980ca80c"}]},
    {"engine": 2037, "payload": [
      {"tag": 0, "type": "struct", "fields": [
        {"tag": 4, "type": "string", "text": "engine-cookie"}, {"tag": 6, "type": "string", "text": "device-7"}]},
      {"tag": 1, "type": "list", "items": [
        {"tag": 0, "type": "struct", "fields": [
          {"tag": 0, "type": "string", "text": "avatar_fps"},
          {"tag": 1, "type": "int", "value": 1700000000000},
          {"tag": 3, "type": "list", "items": [
            {"tag": 0, "type": "struct", "fields": [
              {"tag": 0, "type": "string", "text": "fps"}, {"tag": 1, "type": "double", "value": 59.5}]}]}]}]}]},

    {"engine": 2001, "payload": [{"tag": 0, "type": "int", "value": 1},
                                 {"tag": 1, "type": "int", "value": 3}]},
    {"engine": 2035},
    {"engine": 2036, "payload": [{"tag": 0, "type": "int", "value": 720},
                                 {"tag": 1, "type": "int", "value": 1280}]},
    {"live": "started"},
    {"wait_ms": 5300},

    {"push": 1400, "payload": [
       {"tag": 0, "type": "struct", "fields": [{"tag": 2, "type": "string", "text": "Ada"},
                                              {"tag": 4, "type": "string", "text": "ada-avatar"}]},
       {"tag": 3, "type": "string", "text": "Love the new outfit!"}]},
    {"push": 6501, "payload": [
       {"tag": 0, "type": "int", "value": 12}, {"tag": 2, "type": "int", "value": 3},
       {"tag": 3, "type": "int", "value": 1234567890},
       {"tag": 6, "type": "string", "text": "Ada"}]},
    {"engine": 29, "payload": [{"tag": 0, "type": "int", "value": 880001},
                               {"tag": 1, "type": "int", "value": 1}]},
    {"push": 880001, "payload": [{"tag": 0, "type": "string", "text": "stage lights on"}]},
    {"engine": 2039, "payload": [
       {"tag": 0, "type": "string", "text": "Crown game"},
       {"tag": 1, "type": "string", "text": "Start the crown game now?"},
       {"tag": 3, "type": "string", "text": "Start"}, {"tag": 4, "type": "int", "value": 1},
       {"tag": 5, "type": "string", "text": "Later"}, {"tag": 6, "type": "int", "value": 2},
       {"tag": 7, "type": "int", "value": 41}]},
    {"dialog": 1},
    {"audio": {"frames": 480, "calls": 3, "tone_hz": 440}},

    {"engine": 103, "payload": [{"tag": 0, "type": "int", "value": 1}]},
    {"engine": 113, "payload": [{"tag": 0, "type": "int", "value": 1},
                                {"tag": 1, "type": "string", "text": "crown-task-1"}]},
    {"push": 1025510, "payload": [
       {"tag": 0, "type": "list", "items": [{"tag": 0, "type": "struct", "fields": [
          {"tag": 0, "type": "int", "value": 1}, {"tag": 1, "type": "int", "value": 120},
          {"tag": 2, "type": "int", "value": 20001}, {"tag": 3, "type": "string", "text": "Ada"}]}]},
       {"tag": 2, "type": "int", "value": 20001}, {"tag": 5, "type": "int", "value": 3}]},
    {"engine": 105, "payload": [{"tag": 0, "type": "int", "value": 1},
                                {"tag": 1, "type": "int", "value": 0}]},

    {"engine": 203, "payload": [{"tag": 0, "type": "int", "value": 2}]},
    {"engine": 201, "payload": [{"tag": 0, "type": "int", "value": 2}]},
    {"engine": 205, "payload": [{"tag": 0, "type": "int", "value": 2},
                                {"tag": 1, "type": "int", "value": 1},
                                {"tag": 2, "type": "int", "value": 2},
                                {"tag": 3, "type": "string", "text": "travel-task-2"}]},
    {"push": 1025511, "payload": [{"tag": 0, "type": "struct", "fields": [
       {"tag": 0, "type": "list", "items": [
          {"tag": 0, "type": "struct", "fields": [{"tag": 0, "type": "int", "value": 1},
                                                 {"tag": 1, "type": "string", "text": "apple"}]},
          {"tag": 0, "type": "struct", "fields": [{"tag": 0, "type": "int", "value": 2},
                                                 {"tag": 1, "type": "string", "text": "go"}]}]},
       {"tag": 2, "type": "string", "text": "travel-task-2"}]}]},
    {"engine": 211, "payload": [{"tag": 0, "type": "int", "value": 2},
                                {"tag": 1, "type": "int", "value": 0}]},

    {"engine": 2001, "payload": [{"tag": 0, "type": "int", "value": 0}]}
  ]
})";
}

}  // namespace kinetra_sim
