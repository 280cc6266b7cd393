// kinetra-sim: runs the built plug-in in a simulated host and engine and traces every message.
#include <charconv>
#include <cstdint>
#include <exception>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "common/json.h"
#include "host/shared_library.h"
#include "kinetra-sim/runner.h"
#include "kinetra-sim/stress.h"
#include "kinetra-sim/terminal.h"
#include "kinetra-sim/trace_diff.h"
#include "kinetra-sim/trace_html.h"

namespace {

constexpr char kUsage[] =
    "usage: kinetra-sim [--trace text|json|html] [--json FILE] [--html FILE] [--library PATH]\n"
    "                   [SCENARIO.json]\n"
    "       kinetra-sim --stress SECONDS [--seed N] [--library PATH]\n"
    "       kinetra-sim diff A.jsonl B.jsonl\n"
    "Loads the KinetraService library beside this program into a simulated host and engine,\n"
    "runs the scenario (a built-in tour when none is given) and prints every engine message;\n"
    "--json and --html also write the JSON trace or the session's page to FILE.\n"
    "With --stress, loads and unloads it in cycles under traffic from several threads for\n"
    "SECONDS and checks its invariants after every cycle.\n"
    "diff compares two JSON traces of one scenario, times left out.\n"
    "Exit codes: 0 ran (diff: the traces match), 1 the library could not be loaded (diff: they\n"
    "differ), 2 bad arguments, scenario or trace file, 3 an expectation of the scenario did not\n"
    "hold or a stress invariant broke.\n";

// A whole decimal number, nothing else.
bool ReadNumber(const std::string& text, std::uint64_t& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

bool ReadText(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    std::ostringstream content;
    content << in.rdbuf();
    text = content.str();
    return true;
}

// Writes what the run kept to the files that --json and --html name; false after saying so
// when one cannot be written.
bool WriteOutputs(const std::vector<tafjson::Json>& lines, const std::string& jsonPath,
                  const std::string& htmlPath, const std::string& title) {
    const auto write = [](const std::string& path, const auto& content) {
        if (path.empty()) {
            return true;
        }
        std::ofstream file(path, std::ios::binary);
        content(file);
        if (!file.good()) {
            std::cerr << "kinetra-sim: cannot write " << path << "\n";
        }
        return file.good();
    };
    const bool json = write(jsonPath, [&](std::ostream& file) {
        for (const auto& line : lines) {
            file << tafjson::printJson(line, tafjson::JsonLayout::OneLine);
        }
    });
    const bool html = write(
        htmlPath, [&](std::ostream& file) { kinetra_sim::WriteHtmlPage(lines, title, file); });
    return json && html;
}

int Run(int argc, char** argv) {
    if (argc >= 2 && std::string(argv[1]) == "diff") {
        if (argc != 4) {
            std::cerr << kUsage;
            return kinetra_sim::kDiffUnreadable;
        }
        return kinetra_sim::DiffTraces(argv[2], argv[3], std::cout, std::cerr);
    }
    kinetra_sim::TraceFormat format = kinetra_sim::TraceFormat::text;
    bool htmlOnStdout = false;
    std::string jsonPath;
    std::string htmlPath;
    std::string library = sim::ExecutableFolder() + "/" + sim::PluginLibraryName();
    std::string scenarioPath;
    std::optional<kinetra_sim::StressOptions> stress;
    std::uint64_t seed = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            std::cout << kUsage;
            return 0;
        } else if (argument == "--trace" && i + 1 < argc) {
            const std::string value = argv[++i];
            if (value != "text" && value != "json" && value != "html") {
                std::cerr << kUsage;
                return 2;
            }
            htmlOnStdout = value == "html";
            format = value == "json"   ? kinetra_sim::TraceFormat::json
                     : value == "html" ? kinetra_sim::TraceFormat::none
                                       : kinetra_sim::TraceFormat::text;
        } else if (argument == "--json" && i + 1 < argc) {
            jsonPath = argv[++i];
        } else if (argument == "--html" && i + 1 < argc) {
            htmlPath = argv[++i];
        } else if (argument == "--stress" && i + 1 < argc) {
            std::uint64_t seconds = 0;
            if (!ReadNumber(argv[++i], seconds)) {
                std::cerr << kUsage;
                return 2;
            }
            stress = kinetra_sim::StressOptions{std::chrono::seconds(seconds)};
        } else if (argument == "--seed" && i + 1 < argc) {
            if (!ReadNumber(argv[++i], seed)) {
                std::cerr << kUsage;
                return 2;
            }
        } else if (argument == "--library" && i + 1 < argc) {
            library = argv[++i];
        } else if (scenarioPath.empty() && !argument.starts_with("--")) {
            scenarioPath = argument;
        } else {
            std::cerr << kUsage;
            return 2;
        }
    }

    if (stress) {
        if (!scenarioPath.empty()) {
            std::cerr << kUsage;
            return 2;
        }
        stress->seed = seed;
        stress->progressInPlace = kinetra_sim::StandardErrorIsTerminal();
        return kinetra_sim::RunStress(*stress, library, std::cout, std::cerr);
    }

    std::string text = kinetra_sim::DefaultScenarioText();
    if (!scenarioPath.empty() && !ReadText(scenarioPath, text)) {
        std::cerr << "kinetra-sim: cannot read " << scenarioPath << "\n";
        return 2;
    }
    tafjson::Json json;
    tafjson::JsonError jsonError;
    if (!tafjson::parseJson(text, json, jsonError)) {
        const std::string where =
            jsonError.offset ? " at byte " + std::to_string(*jsonError.offset) : "";
        std::cerr << "kinetra-sim: " << (scenarioPath.empty() ? "built-in scenario" : scenarioPath)
                  << ": invalid JSON" << where << ": " << jsonError.message << "\n";
        return 2;
    }
    kinetra_sim::Scenario scenario;
    std::string error;
    if (!kinetra_sim::ParseScenario(json, scenario, error)) {
        std::cerr << "kinetra-sim: " << error << "\n";
        return 2;
    }
    kinetra_sim::Trace trace(format, std::cout);
    const int exitCode = kinetra_sim::RunScenario(scenario, library, trace, std::cerr);
    const std::string title =
        "kinetra-sim: " + (scenarioPath.empty() ? std::string("the built-in tour") : scenarioPath);
    const std::vector<tafjson::Json> lines = trace.Events().Lines();
    if (htmlOnStdout) {
        kinetra_sim::WriteHtmlPage(lines, title, std::cout);
    }
    if (!WriteOutputs(lines, jsonPath, htmlPath, title)) {
        return exitCode == 0 ? 2 : exitCode;
    }
    return exitCode;
}

}  // namespace

// Nothing escapes as an abort: running out of memory, or any other failure, ends the run with
// a message and exit code 2.
int main(int argc, char** argv) {
    try {
        return Run(argc, argv);
    } catch (const std::exception& failure) {
        std::cerr << "kinetra-sim: stopped: " << failure.what() << "\n";
    } catch (...) {
        std::cerr << "kinetra-sim: stopped by an unknown failure\n";
    }
    return 2;
}
