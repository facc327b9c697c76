// The Qt host's code-page codec over 16 MiB of mixed GBK text, each way, next to the C library's iconv
// (CP936) on the same text in the same run:
// - GBK to Unicode as Copy makes the clipboard's text (every character, a box byte now and then);
// - Unicode to GBK as Paste takes another program's text (now and then a character GBK cannot hold).
// Times are the thread's processor time, so other processes on a shared machine do not count.

#include <benchmark/benchmark.h>
#include <iconv.h>
#include <time.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>

#include <QCoreApplication>

#include "base/LeadByteSet.h"
#include "editor/CharacterKinds.h"
#include "editor/ClipboardText.h"
#include "hosts/qt/QtCodePageCodec.h"

namespace {

using namespace zozuz;

constexpr std::size_t kTextBytes = 16u << 20;

double cpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

void ensureApplication() {
    static int argc = 1;
    static char name[] = "code_page_codec_bench";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* const app = QCoreApplication::instance() ? nullptr : new QCoreApplication(argc, argv);
    (void)app;
}

// Lines of ASCII words, common Chinese characters, full-width punctuation and characters of GBK's
// extension, with tabs and CR LF breaks; every few hundred lines a byte that is no character.
const std::string& gbkText() {
    static const std::string text = [] {
        std::string result;
        result.reserve(kTextBytes + 256);
        std::mt19937 random(936);
        std::size_t lines = 0;
        while (result.size() < kTextBytes) {
            const std::size_t length = 10 + random() % 70;
            for (std::size_t i = 0; i < length; ++i) {
                const unsigned pick = random() % 16;
                if (pick < 8) {
                    // GB2312's characters, rows 0xB0 to 0xD6 (0xD7 has holes at its end).
                    result.push_back(static_cast<char>(0xB0 + random() % 0x27));
                    result.push_back(static_cast<char>(0xA1 + random() % 0x5E));
                } else if (pick == 8) {
                    result += "\xA3\xAC";  // full-width comma
                } else if (pick == 9) {
                    // The extension below GB2312: lead 0x81..0xA0, trail 0x40..0x7E.
                    result.push_back(static_cast<char>(0x81 + random() % 0x20));
                    result.push_back(static_cast<char>(0x40 + random() % 0x3F));
                } else if (pick == 10) {
                    result.push_back(random() % 4 == 0 ? '\t' : ' ');
                } else {
                    result.push_back(static_cast<char>('a' + random() % 26));
                }
            }
            if (++lines % 300 == 0) result.push_back(static_cast<char>(0xFF));
            result += "\r\n";
        }
        return result;
    }();
    return text;
}

// Converts a whole buffer with iconv; a sequence it cannot convert becomes `replacement` and the
// conversion goes on after it (one byte on, or one UTF-8 character on).
std::string iconvConvert(iconv_t d, const std::string& in, const std::string& replacement, bool utf8Input) {
    iconv(d, nullptr, nullptr, nullptr, nullptr);
    std::string out(in.size() * 2 + 16, '\0');
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    while (inLeft > 0) {
        if (iconv(d, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1)) break;
        if (errno == E2BIG) break;  // sized generously above; never happens
        std::size_t skip = 1;
        if (utf8Input) {
            const auto lead = static_cast<unsigned char>(*inPtr);
            skip = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
            if (skip > inLeft) skip = inLeft;
        }
        inPtr += skip;
        inLeft -= skip;
        for (const char c : replacement) {
            *outPtr++ = c;
            --outLeft;
        }
        iconv(d, nullptr, nullptr, nullptr, nullptr);
    }
    out.resize(out.size() - outLeft);
    return out;
}

// The same text as another program's Unicode text: every few thousand characters one that GBK
// cannot hold.
const std::string& unicodeText() {
    static const std::string text = [] {
        const iconv_t d = iconv_open("UTF-8", "CP936");
        std::string utf8 = iconvConvert(d, gbkText(), "\xEF\xBF\xBD", false);
        iconv_close(d);
        std::string result;
        result.reserve(utf8.size() + utf8.size() / 1000);
        std::size_t breaks = 0;
        for (std::size_t i = 0; i < utf8.size(); ++i) {
            result.push_back(utf8[i]);
            if (utf8[i] == '\n' && ++breaks % 97 == 0) result += "\xF0\x9F\x98\x80";  // an emoji
        }
        return result;
    }();
    return text;
}

void report(benchmark::State& state, const char* what, double qt, double glibc, std::size_t bytes) {
    const double runs = static_cast<double>(state.iterations());
    state.counters["qt_s"] = qt / runs;
    state.counters["iconv_s"] = glibc / runs;
    state.counters["ratio"] = glibc > 0 ? qt / glibc : 0;
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(bytes));
    std::printf("%s of %zu MiB: Qt codec %.3f s, iconv CP936 %.3f s, ratio %.2f\n", what, bytes >> 20, qt / runs,
                glibc / runs, glibc > 0 ? qt / glibc : 0.0);
}

void BM_GbkToUnicode16MiB(benchmark::State& state) {
    ensureApplication();
    const std::string& bytes = gbkText();
    QtCodePageCodec codec;
    const CharacterKinds kinds(LeadByteSet::codePage936(), codec);
    const iconv_t d = iconv_open("UTF-8", "CP936");
    double qt = 0;
    double glibc = 0;
    for (auto _ : state) {
        double start = cpuSeconds();
        std::string text = clipboard_text::fromBytes(bytes, kinds, codec);
        qt += cpuSeconds() - start;
        benchmark::DoNotOptimize(text.data());
        start = cpuSeconds();
        std::string reference = iconvConvert(d, bytes, "\xEF\xBF\xBD", false);
        glibc += cpuSeconds() - start;
        benchmark::DoNotOptimize(reference.data());
    }
    iconv_close(d);
    report(state, "GBK to Unicode", qt, glibc, bytes.size());
}
BENCHMARK(BM_GbkToUnicode16MiB)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_UnicodeToGbk16MiB(benchmark::State& state) {
    ensureApplication();
    const std::string& text = unicodeText();
    QtCodePageCodec codec;
    const iconv_t d = iconv_open("CP936", "UTF-8");
    double qt = 0;
    double glibc = 0;
    for (auto _ : state) {
        double start = cpuSeconds();
        std::string bytes = codec.encode(text);
        qt += cpuSeconds() - start;
        benchmark::DoNotOptimize(bytes.data());
        start = cpuSeconds();
        std::string reference = iconvConvert(d, text, "?", true);
        glibc += cpuSeconds() - start;
        benchmark::DoNotOptimize(reference.data());
    }
    iconv_close(d);
    // Measured, like the other way, by the GBK text's size (its UTF-8 is about a third longer).
    report(state, "Unicode to GBK", qt, glibc, gbkText().size());
}
BENCHMARK(BM_UnicodeToGbk16MiB)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
