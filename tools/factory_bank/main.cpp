// make-factory-bank: writes the effect's factory bank file from the program
// table, through the core's own chunk writer, so the resource holds exactly
// what a fresh instance writes back.
//
//   make-factory-bank OUTPUT       writes the bank file
//   make-factory-bank --check FILE compares FILE with a freshly made bank
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "core/bank_file.h"
#include "core/plug.h"
#include "effect/reed.h"
#include "effect/reed_parameters.h"
#include "formats/vst2/plug_shell.h"
#include "tools/factory_bank/factory_programs.h"

namespace {

static_assert(FactoryBank::kPrograms == Reed::kPrograms);
static_assert(FactoryBank::kParameters == ReedParams::kCount);

// A bare core with the effect's name and sizes: no audio, no files, no resources.
class BankBuilder : public PlugCore::Plug {
public:
    BankBuilder() : Plug(nullptr, Reed::kPrograms, ReedParams::kCount, Reed::kName, 1, 1) {}

    std::string bankFile() {
        using FactoryBank::kFactoryPrograms;
        for (int p = 0; p < FactoryBank::kPrograms; ++p) {
            std::memset(programs[p].name, 0, PlugCore::Program::kNameSize);
            std::strncpy(programs[p].name, kFactoryPrograms[p].name, PlugCore::Program::kNameSize - 1);
            for (int i = 0; i < FactoryBank::kParameters; ++i)
                programs[p].values[i] = PlugCore::stepValue(kFactoryPrograms[p].steps[i]);
        }
        for (int i = 0; i < FactoryBank::kParameters; ++i) params.set(i, programs[0].values[i]);
        curProgram = 0;
        std::string chunk;
        writeChunk(false, chunk);
        return PlugCore::bankfile::wrapBank(Vst2::hashName(Reed::kName), Reed::kPrograms, chunk);
    }

    void prepareProcessing() override {}
    void resetProcessing() override {}
    bool renderBlock(bool, const PlugCore::Transport*, double**, double**, std::uint32_t) override { return true; }
    void formatParameter(std::uint32_t, char* text, float) override { text[0] = 0; }
};

int check(const char* path, const std::string& expected) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "make-factory-bank: cannot read %s\n", path);
        return 1;
    }
    std::string actual((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (actual == expected) return 0;
    std::size_t at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) ++at;
    std::fprintf(stderr, "make-factory-bank: %s (%zu bytes) differs from the program table's bank (%zu bytes) at %zu\n",
                 path, actual.size(), expected.size(), at);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    const bool checking = argc == 3 && std::strcmp(argv[1], "--check") == 0;
    if (!checking && argc != 2) {
        std::fprintf(stderr, "usage: make-factory-bank OUTPUT | --check FILE\n");
        return 2;
    }
    const std::string bank = BankBuilder().bankFile();
    if (checking) return check(argv[2], bank);
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out.write(bank.data(), static_cast<std::streamsize>(bank.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "make-factory-bank: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
