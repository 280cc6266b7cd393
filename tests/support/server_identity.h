// The host identity the server-backed commands are exercised with, shared by the integration
// tests and the round-trip benchmark.
#pragma once

#include "host/host_state.h"

namespace testing_support {

inline sim::HostAnswers ServerIdentity() {
    sim::HostAnswers answers;
    answers.uid = 1234567890123;
    answers.guid = "guid-1";
    answers.ua = "client/1.0";
    answers.token = "secret-token";
    answers.tokenType = 3;
    answers.gameId = 77;
    answers.userValue = 5'000'000'000;
    return answers;
}

}  // namespace testing_support
