// Text operations on an HTML document held as text: removing its meta elements and title,
// and putting a meta tag block into it. Nothing is parsed beyond the searches described at
// each operation; letter case is ignored (ASCII letters) only where stated.
#pragma once

#include <string>
#include <string_view>

namespace qs {

// Removes every "<meta" element (any letter case) through its ">" with one line break
// directly after it (CR LF, CR or LF), or through the end of the text when no ">" follows;
// then the first "<title>" (any letter case, no attributes) through the first "</title>"
// after it. The line break after "</title>" stays.
std::string DeleteMetaTags(std::string_view text);

// The block's line ends as the document's line breaks: every CR not followed by LF, and
// every LF not preceded by CR, becomes CR LF.
std::string AsLineBreaks(std::string_view block);

// The text with `insert` put in at `caret` (a byte offset; beyond the end means the end,
// inside a UTF-8 sequence means before it). `caret` is moved after the inserted text.
std::string InsertAt(std::string_view text, size_t& caret, std::string_view insert);

// The text with CR LF and `block` put in directly after the ">" that ends the first "<head"
// (any letter case). Without "<head", or without a ">" after it, the text is returned as it
// is and `injected` is false.
std::string InjectAfterHead(std::string_view text, std::string_view block, bool* injected = nullptr);

}  // namespace qs
