// The scenario kinetra-sim runs when it is given none.
#include "kinetra-sim/scenario.h"

namespace kinetra_sim {

const char* DefaultScenarioText() {
    return R"({
  "host": {
    "uid": 1234567890, "guid": "0a1b2c3d", "ua": "kinetra-sim/1.0", "token": "demo-token",
    "token_type": 1, "game_id": 7, "client_version": "1.0.0", "test_env": true
  },
  "steps": [
    {"engine": 24},
    {"engine": 2014},
    {"engine": 2014, "channel": "another_plugin"},
    {"engine": 4242, "payload": [{"tag": 0, "type": "int", "value": 1},
                                 {"tag": 1, "type": "string", "text": "not a type the plug-in knows"}]},
    {"audio": {"frames": 480, "calls": 3, "tone_hz": 440}}
  ]
})";
}

}  // namespace kinetra_sim
