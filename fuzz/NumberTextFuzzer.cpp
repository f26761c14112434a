// libFuzzer target fuzz_number_text: NumberText of any double (the input's raw bytes), read
// back by LocaleNumber and LeadingNumber, compared with printf's %.15G.

#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "FuzzInput.h"
#include "NumberConversions.h"
#include "ReferenceConversions.h"

using namespace quilvane;
using namespace quilvane::fuzz;
using quilvane::reference::printfGeneral;

namespace {

void checkRoundTrip(double value, NumberFormat format) {
    const std::u16string text = NumberText(value, format);
    const std::optional<double> back = LocaleNumber(text, format);
    if (!std::isfinite(value)) {
        require(!text.empty(), "a non-finite value is still written");
        require(!back, "a non-finite value's text is no number");
        return;
    }
    require(text == printfGeneral(value, format), "NumberText writes %.15G");
    require(back.has_value(), "every finite value's text reads back");
    require(NumberText(*back, format) == text, "the value reads back to 15 significant digits");
    require(std::fabs(*back - value) <= 1e-14 * std::fabs(value),
            "the value read back lies within the fifteenth digit");
    if (format.decimalSeparator == u'.') {
        require(LeadingNumber(text) == back, "LeadingNumber reads the English text alike");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const double value = input.takeDouble();
    checkRoundTrip(value, kItalian);
    checkRoundTrip(value, kEnglish);
    if (!input.empty()) {
        const NumberFormat format = input.takeFormat();
        if (isModelFormat(format)) checkRoundTrip(value, format);
    }
    return 0;
}
