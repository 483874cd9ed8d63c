// Runs the fuzz harness NAME once on every file named on the command line
// after it, or on every file in a folder named there (the seed corpus and the
// reproducers), for builds without libFuzzer:
//
//   ormavex_fuzz_replay NAME FILE|FOLDER...

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

// Every harness's entry point, renamed from LLVMFuzzerTestOneInput to
// OrmavexFuzz_NAME when it is compiled into this program.
#define ORMAVEX_FUZZ_HARNESS(name)                                                                 \
    extern "C" int OrmavexFuzz_##name(const std::uint8_t* data, std::size_t size);
#include "FuzzHarnesses.inc"
#undef ORMAVEX_FUZZ_HARNESS

namespace {

using Harness = int (*)(const std::uint8_t* data, std::size_t size);

struct NamedHarness {
    std::string_view name;
    Harness run;
};

constexpr NamedHarness kHarnesses[] = {
#define ORMAVEX_FUZZ_HARNESS(name) {#name, &OrmavexFuzz_##name},
#include "FuzzHarnesses.inc"
#undef ORMAVEX_FUZZ_HARNESS
};

int RunOne(Harness harness, const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", file.c_str());
        return 1;
    }
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    harness(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    Harness harness = nullptr;
    for (const NamedHarness& h : kHarnesses) {
        if (argc > 1 && h.name == argv[1]) {
            harness = h.run;
        }
    }
    if (harness == nullptr) {
        std::fprintf(stderr, "usage: ormavex_fuzz_replay NAME FILE|FOLDER...; NAME is one of");
        for (const NamedHarness& h : kHarnesses) {
            std::fprintf(stderr, " %.*s", static_cast<int>(h.name.size()), h.name.data());
        }
        std::fprintf(stderr, "\n");
        return 2;
    }
    int failures = 0;
    int runs = 0;
    for (int i = 2; i < argc; ++i) {
        const std::filesystem::path p(argv[i]);
        std::vector<std::filesystem::path> files;
        if (std::filesystem::is_directory(p)) {
            for (const auto& e : std::filesystem::directory_iterator(p)) {
                if (e.is_regular_file()) {
                    files.push_back(e.path());
                }
            }
            std::sort(files.begin(), files.end());
        } else if (std::filesystem::exists(p)) {
            files.push_back(p);
        }
        for (const auto& f : files) {
            failures += RunOne(harness, f);
            ++runs;
        }
    }
    std::printf("%d inputs replayed\n", runs);
    return failures == 0 && runs > 0 ? 0 : 1;
}
