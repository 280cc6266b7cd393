// kinetra-protocol: writes the engine protocol reference (docs/protocol.md) from the tables.
#include <cstdio>
#include <exception>
#include <string>

#include "plugin/plugin_names.h"
#include "protocol_markdown.h"
#include "signal/request_descriptor.h"

namespace {

int Run(int argc, char** argv) {
    if (argc > 2) {
        std::fputs(
            "usage: kinetra-protocol [OUTPUT]\n"
            "Writes the engine protocol reference to OUTPUT, or to standard output.\n",
            stderr);
        return 2;
    }
    const Meru::TaskOptions defaults;
    const protocoldoc::TaskOptionValues options{
        {defaults.option1, defaults.option2, defaults.option3, defaults.option4}};
    const std::string text = protocoldoc::WriteProtocolMarkdown(
        tafjson::protocolCatalog(), kinetra::kEngineChannelName, options);
    // Binary mode: the checked-in file has the same bytes on every platform.
    std::FILE* file = argc == 2 ? std::fopen(argv[1], "wb") : stdout;
    if (file == nullptr) {
        std::fprintf(stderr, "kinetra-protocol: cannot write %s\n", argv[1]);
        return 1;
    }
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    if (file != stdout && std::fclose(file) != 0) {
        return 1;
    }
    return written ? 0 : 1;
}

}  // namespace

// Nothing escapes as an abort: any failure ends the tool with a message.
int main(int argc, char** argv) {
    try {
        return Run(argc, argv);
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "kinetra-protocol: stopped: %s\n", failure.what());
    } catch (...) {
        std::fputs("kinetra-protocol: stopped by an unknown failure\n", stderr);
    }
    return 1;
}
