// The benches' stand-in for the host's account: the user id and token from the host's answers,
// without the simulated host's call log around them.
#pragma once

#include "host/host_state.h"
#include "service_plugin/signal_service.h"

namespace bench_support {

class AnswersAccount : public service_plugin::IAccount {
public:
    explicit AnswersAccount(const sim::HostAnswers& answers) : mAnswers(answers) {}
    std::int64_t GetUid() override { return mAnswers.uid; }
    void GetAccountInfo(service_plugin::AccountInfo* out) override {
        out->token = mAnswers.token.c_str();
        out->tokenType = mAnswers.tokenType;
    }

private:
    const sim::HostAnswers& mAnswers;
};

}  // namespace bench_support
