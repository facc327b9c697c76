#!/usr/bin/env bash
# Writes the program's icon resource (src/hosts/win32/resources/zozuz.ico) from the program's own
# 32-pixel icon picture (applicationIcon): one 32 x 32 image in the 16 colours of the standard
# palette. Run it after changing that picture; a Windows test checks that the two agree.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat >"$work/make_icon.cpp" <<'CPP'
#include <cstdint>
#include <cstdio>
#include <vector>
#include "app/ApplicationIcon.h"

namespace {
// The 16 colours of the standard palette, in their usual order.
const std::uint32_t kPalette[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
                                    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
void put16(std::vector<unsigned char>& out, unsigned v) { out.push_back(v & 0xFF); out.push_back((v >> 8) & 0xFF); }
void put32(std::vector<unsigned char>& out, std::uint32_t v) { put16(out, v & 0xFFFF); put16(out, v >> 16); }
}  // namespace

int main() {
    const int size = 32;
    const zozuz::Image icon = zozuz::applicationIcon(size);
    const int xorRow = size / 2, andRow = 4;  // bytes per row: 4 bits per pixel, 1-bit mask padded to 4 bytes
    const std::uint32_t imageBytes = 40 + 16 * 4 + (xorRow + andRow) * size;
    std::vector<unsigned char> out;
    put16(out, 0); put16(out, 1); put16(out, 1);                        // icon directory, one image
    out.push_back(size); out.push_back(size); out.push_back(16); out.push_back(0);
    put16(out, 1); put16(out, 4); put32(out, imageBytes); put32(out, 22);
    put32(out, 40); put32(out, size); put32(out, size * 2); put16(out, 1); put16(out, 4);
    put32(out, 0); put32(out, (xorRow + andRow) * size); put32(out, 0); put32(out, 0); put32(out, 16); put32(out, 0);
    for (std::uint32_t c : kPalette) { out.push_back(c & 0xFF); out.push_back((c >> 8) & 0xFF); out.push_back(c >> 16); out.push_back(0); }
    for (int y = size - 1; y >= 0; --y) {                              // bottom-up rows
        for (int x = 0; x < size; x += 2) {
            unsigned char pair = 0;
            for (int half = 0; half < 2; ++half) {
                int index = -1;
                for (int i = 0; i < 16; ++i) if (kPalette[i] == icon.pixel(x + half, y)) index = i;
                if (index < 0) { std::fprintf(stderr, "colour outside the palette\n"); return 1; }
                pair |= static_cast<unsigned char>(index << (half ? 0 : 4));
            }
            out.push_back(pair);
        }
    }
    out.insert(out.end(), static_cast<std::size_t>(andRow) * size, 0);  // fully opaque
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}
CPP
# The picture comes from the program's own library, which holds the drawn pictures.
build="${ZOZUZ_BUILD_DIR:-$root/build}"
cmake -S "$root" -B "$build" >/dev/null
cmake --build "$build" --target zozuz_app >/dev/null
g++ -std=c++20 -I"$root/src" "$work/make_icon.cpp" -o "$work/make_icon" "$build/src/app/libzozuz_app.a" \
  "$build/src/document/libzozuz_document.a" "$build/src/platform/libzozuz_platform.a" "$build/src/base/libzozuz_base.a"
"$work/make_icon" >"$root/src/hosts/win32/resources/zozuz.ico"
echo "wrote src/hosts/win32/resources/zozuz.ico"
