// Random keys, mouse events, clipboard contents, input-method text, word-wrap and read-only changes
// driven through the editor's view, each checked against a plain byte string: every byte the events
// did not touch must survive, the caret never stands inside a character, and navigation keys put
// the caret and the anchor where the model does. Any difference aborts.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "../../tests/editor/EditViewModel.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zozuz::view_model::Checker checker([](const std::string& what) {
        std::fprintf(stderr, "edit view differs from the model: %s\n", what.c_str());
        std::abort();
    });
    zozuz::model::ByteStream in(std::string_view(reinterpret_cast<const char*>(data), size));
    checker.run(in, 2048);
    return 0;
}
