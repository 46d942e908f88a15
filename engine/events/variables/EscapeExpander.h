#pragma once
// Escape codes of the texts that events show or use. ExpandMessageText first
// replaces the references (\v[n], \self[n], \s[n], database cells...) by the
// values they name, read from the global store, then turns every formatting
// escape (\c[n], \f[n], <C>, ...) into a control sequence of the text layout
// (MessageTextScan.h). RewriteEscapes turns the argument-less sequences back
// into escape text.

#include <cstddef>
#include <cstdint>
#include <string>

// The most times one kind of reference is replaced in one text, and the
// most a text may grow by all its replacements. A string variable that contains its
// own reference is expanded that often and no more; escapes left over stay
// as text.
inline constexpr int32_t kMaxReferencesPerKind = 10000;
inline constexpr int32_t kMaxRescansPerKind = 64;
inline constexpr size_t kMaxExpandedGrowth = size_t{1} << 20;

// mapEventId, commonEventNumber and mapId are the running event's (they
// resolve \self[n] and \cself[n]). With referencesOnly the text is returned
// after the references. With wrap the text is put between prefix and suffix
// first. With leadingNumberLine a first line "@number" sets system variable 0
// and is removed.
std::string ExpandMessageText(std::string text, int32_t mapEventId, int32_t commonEventNumber, int32_t mapId,
                              bool referencesOnly = false, bool wrap = false, const std::string& prefix = "",
                              const std::string& suffix = "", bool leadingNumberLine = false);

std::string RewriteEscapes(std::string text);

// A number written in text: leading spaces, one sign, then digits up to the
// first other byte; no digits give 0. At most 9 digits are exact; more
// saturate to INT32_MAX (INT32_MIN with a minus sign).
int32_t ReadTextNumber(const char* text, size_t length);
