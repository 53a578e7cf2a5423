#include "platform/DrawContext.h"

namespace platform {

namespace {

// Replaced by tests only, on the user-interface thread that also measures.
const TTextMetrics* Replacement = nullptr;

} // namespace

const TTextMetrics& TextMetrics() { return Replacement ? *Replacement : SystemTextMetrics(); }

void SetTextMetrics(const TTextMetrics* Metrics) { Replacement = Metrics; }

} // namespace platform
