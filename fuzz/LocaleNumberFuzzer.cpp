// libFuzzer target fuzz_locale_number: LocaleNumber on any text in any format, checked against
// a model, and read back through NumberText.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "FuzzInput.h"
#include "NumberConversions.h"
#include "ReferenceConversions.h"

using namespace quilvane;
using namespace quilvane::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const NumberFormat format = input.takeFormat();
    const std::u16string text = input.takeText();

    const std::optional<double> result = LocaleNumber(text, format);
    require(!result || std::isfinite(*result), "LocaleNumber is never NaN nor infinite");
    const bool isNumberText = IsLocaleNumberText(text, format);
    require(!result || isNumberText, "what LocaleNumber reads is number text");
    if (isModelFormat(format)) requireLocaleNumberModel(text, format, result, isNumberText);

    require(LocaleNumber(u" " + text + u"\t", format) == result, "surrounding blanks are free");

    if (result && isModelFormat(format)) {
        // What it reads, written again in the same format, reads back unchanged.
        const std::u16string written = NumberText(*result, format);
        const std::optional<double> again = LocaleNumber(written, format);
        require(again.has_value(), "a written number reads back");
        require(NumberText(*again, format) == written, "a written number reads back the same");
    }
    return 0;
}
