// Amount and whole-number text: whatever is typed, reading never crashes,
// a number read is within the bound, and what the program shows reads back
// as the same number (so normalising a box twice changes nothing).
#include "core/Helpers.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

using namespace modGlobal;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), int(size));
    double v = 0;
    if (ParseNumber(text, &v)) {
        if (!std::isfinite(v) || std::fabs(RoundCents(v)) > kLargestAmount)
            std::abort();
    }
    const QString shown = AmountText(text);
    double back = 0;
    if (!ParseNumber(shown, &back) || FormatAmount(back) != shown || AmountText(shown) != shown)
        std::abort();
    const QString whole = WholeNumberText(text);
    if (WholeNumberText(whole) != whole)
        std::abort();
    return 0;
}
