// TCABFile: extraction of a cabinet (.cab) archive into a folder, over libmspack.
//
// The archives come from the network, so nothing in them is trusted: before a single byte is
// written the whole archive is checked (the cabinet signature, the header's own size against
// the file's, a single cabinet rather than part of a set, every data block inside the file,
// every entry inside the data of its folder and the data of each folder exactly covered by
// its entries) and every stored path is checked (no absolute path, no drive letter, no "."
// or ".." component, no control character). Each entry is then extracted to a temporary
// file beside its destination; only when every entry has been extracted are they renamed
// into place, so a refused or broken archive writes nothing and leaves no new folder behind.
// A destination whose folder resolves outside the target folder (a link pointing elsewhere)
// is refused as well.
#pragma once

#include <QDateTime>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qs {

struct TCabEntry {
  std::string storedName;  // as stored, "\" separating folders (UTF-8)
  std::string path;        // the checked relative path, "/" separating folders
  uint32_t length = 0;     // the size the entry declares
  QDateTime modified;      // the stored date and time, as local time; invalid when unusable
  bool executable = false;
};

class TCABFile {
 public:
  // Upper bounds for one archive: its own size and the bytes all its entries declare.
  static constexpr int64_t kMaxArchiveBytes = 512ll * 1024 * 1024;
  static constexpr int64_t kMaxExtractedBytes = 1024ll * 1024 * 1024;

  explicit TCABFile(std::string archivePath);

  // Checks the archive and extracts every entry to `targetFolder` + its stored path,
  // creating missing folders; an existing file of that name is replaced. Each file gets the
  // stored date and time. True when every entry was written; otherwise ErrorText() says why
  // and nothing of the archive has been written.
  bool ExtractTo(const std::string& targetFolder);

  // Checks the archive and lists its entries without writing anything; false (with
  // ErrorText()) for an archive that ExtractTo would refuse before writing.
  bool List(std::vector<TCabEntry>& entries);

  const std::string& ErrorText() const { return errorText_; }
  // The entries of the last successful ExtractTo, in archive order.
  const std::vector<TCabEntry>& Extracted() const { return extracted_; }

  // Told when an extracted file cannot be written, closed or positioned, with the operating
  // system's text (the program shows it in a box captioned "Error").
  std::function<void(const std::string& text)> OnWriteError;

  // The relative path ("/" separated) a stored name stands for, or an empty text when the
  // name must be refused: empty, absolute ("\x", "/x"), a drive letter ("C:"), a "." or ".."
  // component, an empty component, or a control character.
  static std::string SafeRelativePath(std::string_view storedName);

  // The same checks as List() on a cabinet held in memory.
  bool ListBytes(std::string_view bytes, std::vector<TCabEntry>& entries);

 private:
  struct Decoder;
  bool Fail(std::string text);

  std::string archivePath_;
  std::string errorText_;
  std::vector<TCabEntry> extracted_;
};

}  // namespace qs
