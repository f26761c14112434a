#pragma once

#include <QtGlobal>

class PageImage;

// The print module's one entry point, which SystemDesktop looks up by name when the first page
// is printed. Declared once here, so that the two ends cannot drift apart.
extern "C" Q_DECL_EXPORT bool quilvanePrintPage(const PageImage& page);

namespace print_module {
using PrintPage = decltype(&quilvanePrintPage);
inline constexpr char kFileName[] = "quilvane-print";
inline constexpr char kPrintPage[] = "quilvanePrintPage";
}  // namespace print_module
