// HTML scanning and doorway templates: cleaning meta tags, injecting and pasting a block,
// and building a doorway page, on arbitrary documents, templates and values.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/text.h"
#include "doorways/doorwaybuilder.h"
#include "metatags/metahtml.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

bool HasMeta(std::string_view text) {
  for (size_t i = 0; i + 5 <= text.size(); ++i)
    if (qs::EqualsIgnoreCase(text.substr(i, 5), "<meta")) return true;
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  // The input is a document, then after the first NUL the values of a doorway page.
  const size_t nul = input.find('\0');
  const std::string_view document = input.substr(0, nul);
  const std::string_view values = nul == std::string_view::npos ? "" : input.substr(nul + 1);

  const std::string cleaned = qs::DeleteMetaTags(document);
  Check(cleaned.size() <= document.size());
  Check(!HasMeta(cleaned));

  const std::string block = qs::AsLineBreaks(values);
  bool injected = false;
  const std::string withBlock = qs::InjectAfterHead(document, block, &injected);
  Check(withBlock.size() == document.size() + (injected ? block.size() + 2 : 0));

  size_t caret = values.size();
  const std::string pasted = qs::InsertAt(document, caret, block);
  Check(pasted.size() == document.size() + block.size() && caret <= pasted.size());

  // A doorway page from the document as the template, the values as every text.
  if (document.size() <= 4096 && values.size() <= 256) {
    qs::TDoorwaySettings options;
    const std::string v(values);
    options.header = options.content = options.footer = v;
    options.titleFace = options.bodyFace = v;
    options.java = values.empty() ? "OFF" : "ON";
    qs::TDoorwayProject project{v, v, v, v, v, v, v};
    const std::string page = qs::BuildDoorwayPage(document, options, project, [] {});
    (void)page;
  }
  return 0;
}
