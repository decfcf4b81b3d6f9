#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The charset an HTML page declares for itself, found the way browsers find it
// before decoding: a look at the raw bytes of the page's start for
//   <meta charset="...">  or
//   <meta http-equiv="Content-Type" content="text/html; charset=...">
// in any letter case and attribute order, skipping comments and the
// attributes of other tags; failing that, the encoding="..." of an XML
// declaration at the very start (XHTML). A tag must begin within the first
// kHtmlCharsetScanBytes bytes. The label is returned as written, without
// surrounding blanks; whether it names a known charset is for the decoder to
// say. Nothing when the page declares nothing.
inline constexpr std::size_t kHtmlCharsetScanBytes = 1024;

std::optional<std::string> DeclaredHtmlCharset(std::string_view bytes);

// The encoding="..." of an XML declaration at the very start of the bytes, as
// written, without surrounding blanks; nothing when there is none.
std::optional<std::string> DeclaredXmlEncoding(std::string_view bytes);
