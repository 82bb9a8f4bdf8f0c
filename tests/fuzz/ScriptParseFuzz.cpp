// Any bytes as a script text: the tokenizer and parser either read it or
// throw SyntaxError; nothing else may happen.
#include "engine/script/Parser.h"
#include "engine/script/Tokenizer.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        vistrel::engine::parseScript(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const vistrel::engine::SyntaxError&) {}
    return 0;
}
