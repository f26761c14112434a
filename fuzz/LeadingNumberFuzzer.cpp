// libFuzzer target fuzz_leading_number: LeadingNumber on any text, checked against a model.

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
    const std::u16string text = input.takeText();

    const std::optional<double> result = LeadingNumber(text);
    require(!result || std::isfinite(*result), "LeadingNumber is never NaN nor infinite");
    requireLeadingNumberModel(text, result);

    // What follows the number cannot change it.
    require(LeadingNumber(text + u"#9") == result, "a trailing # changes nothing");
    require(LeadingNumber(text + u",5") == result, "a trailing comma changes nothing");

    // A minus in front of a number negates it.
    std::size_t first = text.find_first_not_of(u" \t\n");
    if (first != std::u16string::npos &&
        ((text[first] >= u'0' && text[first] <= u'9') || text[first] == u'.')) {
        const std::optional<double> negated = LeadingNumber(u"-" + text);
        require(negated.has_value() == result.has_value(), "a minus changes no range");
        if (result) require(*negated == -*result, "a minus negates");
    }
    return 0;
}
