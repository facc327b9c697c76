// The document path at size: loading a plain file into the document, Encrypt through the document's
// lines, saving, and the stream cipher of zozuz-cli without its file access.
//
// Run without arguments for the benchmarks. With --document-path IN OUT [--decrypt] [--times] it
// runs the program's path once on a file (open, cipher, save), for timing from a script; with
// --load IN it only opens the file as a plain file, for measuring what loading costs.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>

#include "base/Exception.h"
#include "document/LineBreaks.h"
#include "document/LineCipher.h"
#include "document/StreamCipher.h"
#include "document/TMemoStrings.h"
#include "document/TextFile.h"
#include "editor/EditControl.h"

namespace {

using namespace zozuz;

constexpr std::int64_t kMiB = 1 << 20;

// GBK-like text: lines of 20 to 200 bytes of double-byte characters, ASCII words and spaces, each
// ending in CR LF. Deterministic, so every run measures the same bytes.
std::string gbkText(std::size_t size) {
    std::string text;
    text.reserve(size);
    std::uint64_t state = 88172645463325252ULL;
    const auto next = [&state] {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    };
    while (text.size() < size) {
        const std::size_t length = 20 + next() % 181;
        std::size_t start = text.size();
        while (text.size() - start + 2 <= length) {
            if (next() % 4 == 0) {
                text += static_cast<char>('a' + next() % 26);
            } else {
                text += static_cast<char>(0xB0 + next() % 40);
                text += static_cast<char>(0xA1 + next() % 94);
            }
        }
        text += "\r\n";
    }
    text.resize(size);
    return text;
}

std::map<std::int64_t, std::string>& writtenFiles() {
    static std::map<std::int64_t, std::string> files;
    return files;
}

// One file per size, written once per process.
const std::string& inputFile(std::int64_t mebibytes) {
    auto& name = writtenFiles()[mebibytes];
    if (name.empty()) {
        name = (std::filesystem::temp_directory_path() / ("zozuz-bench-" + std::to_string(mebibytes) + ".txt")).string();
        const std::string text = gbkText(static_cast<std::size_t>(mebibytes * kMiB));
        std::ofstream(name, std::ios::binary).write(text.data(), static_cast<std::streamsize>(text.size()));
    }
    return name;
}

void BM_LoadPlainFile(benchmark::State& state) {
    const std::string& file = inputFile(state.range(0));
    for (auto _ : state) {
        EditControl editor;
        TMemoStrings document(editor);
        TextFile().load(document, file);
        benchmark::DoNotOptimize(editor.textLength());
    }
    state.SetBytesProcessed(state.iterations() * state.range(0) * kMiB);
}

void BM_EncryptDocument(benchmark::State& state) {
    EditControl editor;
    TMemoStrings document(editor);
    TextFile().load(document, inputFile(state.range(0)));
    int progress = 0;
    bool encrypt = true;
    for (auto _ : state) {
        // Alternating keeps the text the same from one round to the next.
        LineCipher(encrypt ? CipherDirection::Encrypt : CipherDirection::Decrypt).run(document, [&progress](int value) {
            progress = value;
        });
        encrypt = !encrypt;
    }
    benchmark::DoNotOptimize(progress);
    state.SetBytesProcessed(state.iterations() * state.range(0) * kMiB);
}

void BM_SaveDocument(benchmark::State& state) {
    EditControl editor;
    TMemoStrings document(editor);
    TextFile().load(document, inputFile(state.range(0)));
    const std::string out = inputFile(state.range(0)) + ".saved";
    for (auto _ : state) TextFile().save(document, out);
    std::remove(out.c_str());
    state.SetBytesProcessed(state.iterations() * state.range(0) * kMiB);
}

void BM_StreamCipher(benchmark::State& state) {
    std::string text = gbkText(static_cast<std::size_t>(state.range(0) * kMiB));
    std::size_t written = 0;
    bool encrypt = true;
    for (auto _ : state) {
        // The text is shifted in place; alternating the directions brings it back each second round.
        StreamCipher cipher(encrypt ? CipherDirection::Encrypt : CipherDirection::Decrypt, encrypt,
                            [&written](std::string_view bytes) { written += bytes.size(); });
        encrypt = !encrypt;
        for (std::size_t at = 0; at < text.size(); at += kMiB) {
            cipher.feed(text.data() + at, std::min<std::size_t>(kMiB, text.size() - at));
        }
        cipher.finish();
    }
    benchmark::DoNotOptimize(written);
    state.SetBytesProcessed(state.iterations() * state.range(0) * kMiB);
}

void BM_CountLoneBreaks(benchmark::State& state) {
    const std::string text = gbkText(static_cast<std::size_t>(state.range(0) * kMiB));
    const LineBreaks breaks;
    for (auto _ : state) benchmark::DoNotOptimize(breaks.countLoneBreaks(text));
    state.SetBytesProcessed(state.iterations() * state.range(0) * kMiB);
}

BENCHMARK(BM_LoadPlainFile)->Arg(16)->Arg(256)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EncryptDocument)->Arg(16)->Arg(256)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveDocument)->Arg(16)->Arg(256)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StreamCipher)->Arg(16)->Arg(256)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CountLoneBreaks)->Arg(16)->Arg(256)->Unit(benchmark::kMillisecond);

// Open plain file (or open encrypted file with --decrypt), run the cipher, save: what the program
// does, on one file.
int documentPath(int argc, char** argv) {
    if (argc < 4) {
        std::fputs("usage: document_bench --document-path IN OUT [--decrypt] [--times]\n", stderr);
        return 2;
    }
    bool decrypt = false;
    bool times = false;
    for (int i = 4; i < argc; ++i) {
        decrypt = decrypt || std::strcmp(argv[i], "--decrypt") == 0;
        times = times || std::strcmp(argv[i], "--times") == 0;
    }
    try {
        using Clock = std::chrono::steady_clock;
        const auto t0 = Clock::now();
        EditControl editor;
        TMemoStrings document(editor);
        const TextFile files;
        if (decrypt) {
            files.loadEncrypted(document, argv[2]);
        } else {
            files.load(document, argv[2]);
        }
        const auto t1 = Clock::now();
        LineCipher(decrypt ? CipherDirection::Decrypt : CipherDirection::Encrypt).run(document, {});
        const auto t2 = Clock::now();
        files.save(document, argv[3]);
        const auto t3 = Clock::now();
        if (times) {
            const auto ms = [](auto d) { return std::chrono::duration<double, std::milli>(d).count(); };
            std::fprintf(stderr, "load %.1f ms  cipher %.1f ms  save %.1f ms\n", ms(t1 - t0), ms(t2 - t1), ms(t3 - t2));
        }
    } catch (const Exception& error) {
        std::fprintf(stderr, "document_bench: %s\n", error.message().c_str());
        return 1;
    }
    return 0;
}

// Open plain file and nothing else; prints the time it took and the lines it gave.
int loadOnly(const char* file) {
    try {
        const auto t0 = std::chrono::steady_clock::now();
        EditControl editor;
        TMemoStrings document(editor);
        TextFile().load(document, file);
        const auto t1 = std::chrono::steady_clock::now();
        std::printf("load %.1f ms, %lld bytes in %lld lines\n", std::chrono::duration<double, std::milli>(t1 - t0).count(),
                    static_cast<long long>(editor.textLength()), static_cast<long long>(editor.editorLineCount()));
    } catch (const Exception& error) {
        std::fprintf(stderr, "document_bench: %s\n", error.message().c_str());
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--document-path") == 0) return documentPath(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], "--load") == 0) return loadOnly(argv[2]);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (const auto& [size, name] : writtenFiles()) std::remove(name.c_str());
    return 0;
}
