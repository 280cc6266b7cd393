// The scenario kinetra-sim runs when it is given none.
#include "kinetra-sim/scenario.h"

namespace kinetra_sim {

const char* DefaultScenarioText() {
    return R"({
  "host": {
    "uid": 1234567890, "guid": "0a1b2c3d", "ua": "kinetra-sim/1.0", "token": "demo-token",
    "token_type": 1, "game_id": 7, "client_version": "1.0.0", "test_env": true
  },
  "server": {
    "replies": [
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
    ]
  },
  "steps": [
    {"engine": 24},
    {"engine": 2014},
    {"engine": 2014, "channel": "another_plugin"},
    {"engine": 4242, "payload": [{"tag": 0, "type": "int", "value": 1},
                                 {"tag": 1, "type": "string", "text": "not a type the plug-in knows"}]},

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
                                {"tag": 1, "type": "int", "value": 0}]}
  ]
})";
}

}  // namespace kinetra_sim
