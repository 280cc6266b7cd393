// kinetra-taf: shows captured TAF bytes as a tree or as JSON, and writes bytes from that JSON.
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "binary_stdio.h"
#include "common/hex_text.h"
#include "common/protocol_catalog.h"
#include "common/taf_tree_json.h"
#include "dump_text.h"
#include "frame_text.h"

namespace taftool {
namespace {

constexpr int kExitDecodeFailed = 1;
constexpr int kExitUsage = 2;

constexpr const char kUsage[] =
    "usage: kinetra-taf dump [--hex] [--json | --record NAME | --engine-type N] [FILE|-]\n"
    "       kinetra-taf encode [--hex] [FILE|-]\n"
    "       kinetra-taf frame [--hex] [--json] [FILE|-]\n"
    "\n"
    "dump    decodes TAF bytes without a schema and prints every field as an indented\n"
    "        tree (byte offset, tag, wire type, value), or as JSON with --json.\n"
    "--record NAME       names each field of the record NAME (as docs/protocol.md lists\n"
    "                    it, or its wire type name \"MERU.\" + NAME) beside its tag, nested\n"
    "                    records too; fields the record does not declare show unnamed.\n"
    "--engine-type N     the same with the payload record of engine message type N.\n"
    "encode  reads that JSON and writes the bytes, each value in the wire type given.\n"
    "frame   decodes a framed server request or reply: its length, its header fields,\n"
    "        and each attribute of its body with its type name and its value as a tree.\n"
    "--hex   the bytes are hex text (\"0a 00 01\", \"0x0A, 0x00\") instead of raw bytes.\n"
    "FILE    the input; standard input when absent or \"-\".\n";

struct Options {
    std::string command;
    bool hex = false;
    bool json = false;
    std::string input = "-";
    std::optional<std::string> record;
    std::optional<std::string> engineType;
};

bool ParseArguments(int argc, char** argv, Options& options) {
    if (argc < 2) {
        return false;
    }
    options.command = argv[1];
    bool haveInput = false;
    for (int i = 2; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--hex") {
            options.hex = true;
        } else if (argument == "--json" && options.command != "encode") {
            options.json = true;
        } else if ((argument == "--record" || argument == "--engine-type") && i + 1 < argc &&
                   options.command == "dump") {
            (argument == "--record" ? options.record : options.engineType) = argv[++i];
        } else if ((argument == "-" || !argument.starts_with("-")) && !haveInput) {
            options.input = argument;
            haveInput = true;
        } else {
            return false;
        }
    }
    const bool named = options.record || options.engineType;
    if (named && (options.json || (options.record && options.engineType))) {
        return false;
    }
    return options.command == "dump" || options.command == "encode" || options.command == "frame";
}

bool ReadAll(const std::string& path, std::string& content) {
    std::FILE* file = path == "-" ? stdin : std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return false;
    }
    char buffer[65536];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;) {
        content.append(buffer, got);
    }
    const bool ok = std::ferror(file) == 0;
    if (file != stdin) {
        std::fclose(file);
    }
    return ok;
}

void Write(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
}

void Fail(const std::string& message) {
    const std::string line = "kinetra-taf: " + message + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
}

// The record --record or --engine-type names; null when neither is given. Sets `error` when
// the name or type has no record.
const taf::RecordSchema* NamedRecord(const Options& options, std::string& error) {
    if (options.record) {
        const auto* record = tafjson::findRecord(*options.record);
        if (record == nullptr) {
            error = "no record named \"" + *options.record + "\"";
        }
        return record;
    }
    if (!options.engineType) {
        return nullptr;
    }
    const std::string& text = *options.engineType;
    std::int64_t type = 0;
    const auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), type);
    const auto* record = status == std::errc() && end == text.data() + text.size()
                             ? tafjson::findEngineRecord(type)
                             : nullptr;
    if (record == nullptr) {
        error = "no payload record for engine type \"" + text + "\"";
    }
    return record;
}

int Dump(const Options& options, const std::string& content) {
    std::string error;
    const taf::RecordSchema* record = NamedRecord(options, error);
    if (!error.empty()) {
        Fail(error);
        return kExitUsage;
    }
    taf::Bytes bytes(content.begin(), content.end());
    if (options.hex && !tafjson::parseHexText(content, bytes)) {
        Fail("the input is not hex text");
        return kExitUsage;
    }
    std::vector<tafjson::TafField> fields;
    const tafjson::TreeDecodeResult result = tafjson::decodeTree(bytes, fields);
    if (result.overBudget) {
        Fail("refused: showing the input would take more than " +
             std::to_string(tafjson::kTreeBudgetPerInputByte) +
             " times its size (too many fields from byte offset " +
             std::to_string(result.errorOffset) + " on)");
        return kExitDecodeFailed;
    }
    Write(options.json ? tafjson::printJson(tafjson::treeToJson(fields))
                       : DumpText(fields, record));
    if (result.status < 0) {
        std::fflush(stdout);
        Fail("cannot decode the field at byte offset " + std::to_string(result.errorOffset) +
             ": status " + std::to_string(result.status) + " (" + DescribeStatus(result.status) +
             ")");
        return kExitDecodeFailed;
    }
    return 0;
}

int Frame(const Options& options, const std::string& content) {
    taf::Bytes bytes(content.begin(), content.end());
    if (options.hex && !tafjson::parseHexText(content, bytes)) {
        Fail("the input is not hex text");
        return kExitUsage;
    }
    const FrameDescription description = DescribeFrame(bytes, options.json);
    Write(description.output);
    if (!description.failure.empty()) {
        std::fflush(stdout);
        Fail(description.failure);
        return kExitDecodeFailed;
    }
    return 0;
}

int Encode(const Options& options, const std::string& content) {
    tafjson::Json json;
    tafjson::JsonError jsonError;
    if (!tafjson::parseJson(content, json, jsonError)) {
        const std::string where =
            jsonError.offset ? " at byte offset " + std::to_string(*jsonError.offset) : "";
        Fail("invalid JSON" + where + ": " + jsonError.message);
        return kExitUsage;
    }
    std::vector<tafjson::TafField> fields;
    std::string error;
    if (!tafjson::treeFromJson(json, fields, error)) {
        Fail(error);
        return kExitUsage;
    }
    taf::TafOutputStream out;
    tafjson::encodeTree(out, fields);
    if (options.hex) {
        Write(tafjson::toHexLines(out.view()));
    } else {
        std::fwrite(out.data(), 1, out.size(), stdout);
    }
    return 0;
}

int Run(int argc, char** argv) {
    if (argc == 2 && (std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h")) {
        Write(kUsage);
        return 0;
    }
    Options options;
    if (!ParseArguments(argc, argv, options)) {
        std::fputs(kUsage, stderr);
        return kExitUsage;
    }
    UseBinaryStdio();
    std::string content;
    if (!ReadAll(options.input, content)) {
        Fail("cannot read " + options.input);
        return kExitUsage;
    }
    if (options.command == "frame") {
        return Frame(options, content);
    }
    return options.command == "dump" ? Dump(options, content) : Encode(options, content);
}

}  // namespace
}  // namespace taftool

// Nothing escapes as an abort: running out of memory, or any other failure, ends the tool with
// a message and the usage exit code.
int main(int argc, char** argv) {
    try {
        return taftool::Run(argc, argv);
    } catch (const std::exception& error) {
        taftool::Fail(std::string("stopped: ") + error.what());
    } catch (...) {
        taftool::Fail("stopped by an unknown failure");
    }
    return taftool::kExitUsage;
}
