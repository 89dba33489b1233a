// Writing and reading the largest document the editor holds (50 nodes of 1000 entries), in
// memory and through files; checking that file as `skyvane-key check` does (check_speed.py
// times the program itself against a plain C loader); a field of 50 million digits; and the
// tokenizer on pathological lines.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "fulldocument.h"
#include "core/keyfile.h"
#include "core/linetokens.h"
#include "core/numbers.h"
#include "core/validation.h"

namespace {

using namespace skyvane;

const TKeyDocument& document() {
    static const TKeyDocument full = bench::fullDocument();
    return full;
}

const std::string& text() {
    static const std::string written = keyFileText(document(), "bench.KEY", "d", "t");
    return written;
}

std::string tempKeyPath(const char* name = "skyvane_key_bench.KEY") {
    return (std::filesystem::temp_directory_path() / name).string();
}

void BM_keyFileText(benchmark::State& state) {
    text(); // builds the document outside the timing
    for (auto _ : state)
        benchmark::DoNotOptimize(keyFileText(document(), "bench.KEY", "d", "t"));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text().size()));
}
BENCHMARK(BM_keyFileText)->Unit(benchmark::kMillisecond);

void BM_readKeyText(benchmark::State& state) {
    text();
    for (auto _ : state) {
        const KeyReadResult read = readKeyText(text());
        if (!read.ok)
            state.SkipWithError(read.reason.c_str());
        benchmark::DoNotOptimize(read);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text().size()));
}
BENCHMARK(BM_readKeyText)->Unit(benchmark::kMillisecond);

void BM_saveKeyFile(benchmark::State& state) {
    const std::string path = tempKeyPath();
    document();
    for (auto _ : state)
        saveKeyFile(path, document(), "d", "t");
    std::filesystem::remove(path);
}
BENCHMARK(BM_saveKeyFile)->Unit(benchmark::kMillisecond);

void BM_readKeyFile(benchmark::State& state) {
    const std::string path = tempKeyPath();
    saveKeyFile(path, document(), "d", "t");
    for (auto _ : state) {
        const KeyReadResult read = readKeyFile(path);
        if (!read.ok)
            state.SkipWithError(read.reason.c_str());
        benchmark::DoNotOptimize(read);
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_readKeyFile)->Unit(benchmark::kMillisecond);

// A file whose one field holds 50 million digits: a value that reads, a value that does not
// convert (the reason quotes its start), and a Frame kept as it stands.
void BM_readHugeField(benchmark::State& state) {
    const std::string digits(50'000'000, '7');
    const std::string fields[] = {"0 0 0." + digits + " 0 0 0 0 0", "0 0 " + digits + "x 0 0 0 0 0",
                                  digits + " 0 0 0 0 0 0 0"};
    const std::string input = "SECTION: HEADER\r\nFPS 15\r\nJOINTS 1\r\nSECTION: KEYFRAME NODES\r\n"
                              "NODE 0\r\nMESH NAME m\r\nENTRIES 1\r\n 0: " +
                              fields[state.range(0)] + "\r\n";
    for (auto _ : state)
        benchmark::DoNotOptimize(readKeyText(input));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * input.size()));
}
BENCHMARK(BM_readHugeField)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

// A file of the full document for as long as the program runs.
class FullDocumentFile {
public:
    FullDocumentFile() { saveKeyFile(path_, document(), "d", "t"); }
    ~FullDocumentFile() { std::filesystem::remove(path_); }
    FullDocumentFile(const FullDocumentFile&) = delete;
    FullDocumentFile& operator=(const FullDocumentFile&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_ = tempKeyPath("skyvane_check_bench.KEY");
};

const std::string& fullDocumentFile() {
    static const FullDocumentFile file;
    return file.path();
}

// What `skyvane-key check FILE` does apart from printing its verdict: read, then check every
// node's entries and mesh name.
void BM_checkKeyFile(benchmark::State& state) {
    const std::string& path = fullDocumentFile();
    for (auto _ : state) {
        const KeyReadResult read = readKeyFile(path);
        if (!read.ok || !documentFaults(read.document).empty())
            state.SkipWithError("the full document does not read back without a fault");
        benchmark::DoNotOptimize(read);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text().size()));
}
BENCHMARK(BM_checkKeyFile)->Unit(benchmark::kMillisecond);

// Searching through 100 MB that never match: one line of fields, one line of delimiters only,
// and nothing but line ends. Each must stay linear.
void BM_searchPathological(benchmark::State& state) {
    const std::size_t size = 100u << 20;
    std::string input;
    switch (state.range(0)) {
    case 0:
        for (std::size_t i = 0; input.size() < size; ++i)
            input += "a,";
        break;
    case 1:
        input.assign(size, ',');
        break;
    default:
        input.assign(size, '\n');
        break;
    }
    for (auto _ : state) {
        LineSearch lines(input);
        benchmark::DoNotOptimize(lines.find(2, {"JOINTS"}));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * input.size()));
}
BENCHMARK(BM_searchPathological)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

} // namespace
