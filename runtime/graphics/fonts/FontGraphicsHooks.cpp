#include "runtime/graphics/fonts/FontGraphicsHooks.h"

namespace {
constexpr FontGraphicsHooks kNone = {nullptr, nullptr, nullptr};
const FontGraphicsHooks* gHooks = &kNone;
}  // namespace

const FontGraphicsHooks* CurrentFontGraphicsHooks() { return gHooks; }

void SetFontGraphicsHooks(const FontGraphicsHooks* hooks) { gHooks = hooks ? hooks : &kNone; }
