// The plug-in's JSON document parser, on text from server replies (the start configuration's
// banner and updater list): print, parse the printed text, print again gives the same text.
#include <string>

#include "commands/start_config_parse.h"
#include "core/json_parse.h"
#include "core/json_print.h"
#include "fuzz_target.h"

namespace kinetra::fuzz {
namespace {

struct Printed {
    char* text = nullptr;
    explicit Printed(const meru::json_node* node, bool formatted)
        : text(meru::json_print(node, formatted)) {}
    ~Printed() { meru::json_free(text); }
    Printed(const Printed&) = delete;
    Printed& operator=(const Printed&) = delete;
};

struct Tree {
    meru::json_node* root = nullptr;
    explicit Tree(const char* text) : root(meru::json_parse(text)) {}
    ~Tree() { meru::json_delete(root); }
    Tree(const Tree&) = delete;
    Tree& operator=(const Tree&) = delete;
};

// Printing `tree` and reading the text back gives a tree that prints as `compact`.
void ExpectReprints(const meru::json_node* tree, const std::string& compact, bool formatted) {
    const Printed printed(tree, formatted);
    Expect(printed.text != nullptr);
    const Tree again(printed.text);
    Expect(again.root != nullptr);
    const Printed reprinted(again.root, false);
    Expect(reprinted.text != nullptr && compact == reprinted.text);
}

}  // namespace

void FuzzCoreJson(Input input) {
    const std::string text(input.begin(), input.end());
    const Tree tree(text.c_str());
    if (tree.root != nullptr) {
        const Printed compact(tree.root, false);
        Expect(compact.text != nullptr);
        ExpectReprints(tree.root, compact.text, false);
        ExpectReprints(tree.root, compact.text, true);
    }
    MeruKinetra::StartConfigMsg banner;
    ReadBannerTips(text, banner);
    MeruKinetra::UpdaterConfig updater;
    static_cast<void>(ReadUpdaterConfig(text, updater));
}

}  // namespace kinetra::fuzz
