// dfmconvert's reader over any bytes: a binary form file is converted to its
// text form, a text form copied; anything else is refused with
// FormFormatError. What the converter writes is a text form, so converting it
// again must copy it unchanged.

#include "FuzzCheck.h"
#include "tools/DfmFile.h"
#include "tools/FormFormatError.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>

using namespace pembrill;

namespace {

constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";

bool Convert(std::string_view form, std::string& text) {
    std::ostringstream out;
    try {
        ConvertForm(form, out);
    } catch (const FormFormatError&) {
        return false;
    }
    text = out.str();
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text;
    if (!Convert(std::string_view(reinterpret_cast<const char*>(data), size), text))
        return 0;
    // A second mark would be dropped the second time round.
    if (text.starts_with(Utf8Bom))
        return 0;
    std::string again;
    FUZZ_CHECK(Convert(text, again));
    FUZZ_CHECK(again == text);
    return 0;
}
