// The plug-in's JSON document parser, on text from server replies (the start configuration's
// banner and updater list): printed text reads back, and printing what it reads is stable.
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

// The compact text of what `printed` reads back as; the text must read.
std::string Reprinted(const char* printed) {
    Expect(printed != nullptr);
    const Tree again(printed);
    Expect(again.root != nullptr);
    const Printed compact(again.root, false);
    Expect(compact.text != nullptr);
    return compact.text;
}

// Printing writes reals with six decimals, so a value such as 1e-9 prints as 0.000000 and
// reads back as 0: the text may change in the first round, never after it. Compact and
// formatted text read back the same.
void ExpectReprints(const meru::json_node* tree) {
    const Printed compact(tree, false);
    const Printed formatted(tree, true);
    const std::string once = Reprinted(compact.text);
    Expect(Reprinted(formatted.text) == once);
    Expect(Reprinted(once.c_str()) == once);
}

}  // namespace

void FuzzCoreJson(Input input) {
    const std::string text(input.begin(), input.end());
    const Tree tree(text.c_str());
    if (tree.root != nullptr) {
        ExpectReprints(tree.root);
    }
    MeruKinetra::StartConfigMsg banner;
    ReadBannerTips(text, banner);
    MeruKinetra::UpdaterConfig updater;
    static_cast<void>(ReadUpdaterConfig(text, updater));
}

}  // namespace kinetra::fuzz
