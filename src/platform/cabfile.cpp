#include "platform/cabfile.h"

#include <fcntl.h>
#include <mspack.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <set>

#include "app/errors.h"
#include "platform/filesystem.h"

namespace qs {
namespace {

constexpr uint16_t kFlagPrevCabinet = 0x0001;
constexpr uint16_t kFlagNextCabinet = 0x0002;
constexpr uint16_t kFlagReserve = 0x0004;
constexpr uint16_t kAttribExec = 0x40;
constexpr uint16_t kAttribUtfName = 0x80;
constexpr size_t kHeaderSize = 36;

uint16_t U16(std::string_view b, size_t at) {
  return static_cast<uint16_t>(static_cast<unsigned char>(b[at]) |
                               static_cast<unsigned char>(b[at + 1]) << 8);
}
uint32_t U32(std::string_view b, size_t at) {
  return static_cast<uint32_t>(U16(b, at)) | static_cast<uint32_t>(U16(b, at + 2)) << 16;
}

// A NUL-terminated text at `at`; false when it runs past the end.
bool ReadZ(std::string_view b, size_t& at, std::string& out) {
  const size_t end = b.find('\0', at);
  if (end == std::string_view::npos) return false;
  out.assign(b.substr(at, end - at));
  at = end + 1;
  return true;
}

std::string Latin1ToUtf8(std::string_view s) {
  std::string out;
  for (unsigned char c : s) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

// The DOS date and time of an entry, as local time.
QDateTime DosDateTime(uint16_t date, uint16_t time) {
  const QDate d(1980 + (date >> 9), (date >> 5) & 0x0F, date & 0x1F);
  const QTime t((time >> 11) & 0x1F, (time >> 5) & 0x3F, (time & 0x1F) * 2);
  if (!d.isValid() || !t.isValid()) return {};
  return QDateTime(d, t, Qt::LocalTime);
}

struct ParsedEntry {
  TCabEntry entry;
  uint32_t offset = 0;
  uint16_t folder = 0;
};

mode_t CurrentUmask() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return mask;
}

std::string Parent(const std::string& path) { return path.substr(0, path.find_last_of('/')); }

bool Inside(const std::string& folder, const std::string& root) {
  return folder == root || (folder.size() > root.size() && folder.compare(0, root.size(), root) == 0 &&
                            folder[root.size()] == '/');
}

std::string RealPath(const std::string& path) {
  char* resolved = ::realpath(path.c_str(), nullptr);
  if (!resolved) return {};
  std::string out(resolved);
  std::free(resolved);
  return out;
}

}  // namespace

// libmspack reads the archive from memory and writes each entry through one sink; it opens
// nothing else.
struct TCABFile::Decoder {
  static constexpr const char* kArchiveName = "archive";
  static constexpr const char* kSinkName = "entry";

  struct File {
    Decoder* owner;
    bool sink;
    size_t pos;
  };

  mspack_system sys{};
  std::string_view bytes;
  // The entry being extracted.
  int fd = -1;
  uint64_t limit = 0, written = 0;
  int writeErrno = 0;
  bool overrun = false;

  explicit Decoder(std::string_view archive) : bytes(archive) {
    sys.open = &Open;
    sys.close = &Close;
    sys.read = &Read;
    sys.write = &WriteTo;
    sys.seek = &Seek;
    sys.tell = &Tell;
    sys.message = &Message;
    sys.alloc = &Alloc;
    sys.free = &Free;
    sys.copy = &Copy;
    sys.null_ptr = nullptr;
  }
  static Decoder* Of(mspack_system* self) {
    return reinterpret_cast<Decoder*>(reinterpret_cast<char*>(self) - offsetof(Decoder, sys));
  }
  static mspack_file* Open(mspack_system* self, const char* name, int mode) {
    Decoder* d = Of(self);
    const bool sink = std::strcmp(name, kSinkName) == 0;
    if (sink ? mode != MSPACK_SYS_OPEN_WRITE
             : (mode != MSPACK_SYS_OPEN_READ || std::strcmp(name, kArchiveName) != 0))
      return nullptr;
    return reinterpret_cast<mspack_file*>(new File{d, sink, 0});
  }
  static void Close(mspack_file* file) { delete reinterpret_cast<File*>(file); }
  static int Read(mspack_file* file, void* buffer, int count) {
    File* f = reinterpret_cast<File*>(file);
    if (f->sink || count < 0) return -1;
    const std::string_view b = f->owner->bytes;
    const size_t n = std::min(static_cast<size_t>(count), b.size() - std::min(f->pos, b.size()));
    if (n) std::memcpy(buffer, b.data() + f->pos, n);
    f->pos += n;
    return static_cast<int>(n);
  }
  static int WriteTo(mspack_file* file, void* buffer, int count) {
    File* f = reinterpret_cast<File*>(file);
    Decoder* d = f->owner;
    if (!f->sink || count < 0 || d->fd < 0) return -1;
    if (d->written + static_cast<uint64_t>(count) > d->limit) {
      d->overrun = true;
      return -1;
    }
    const char* p = static_cast<const char*>(buffer);
    size_t left = static_cast<size_t>(count);
    while (left > 0) {
      const ssize_t n = ::write(d->fd, p, left);
      if (n < 0) {
        if (errno == EINTR) continue;
        d->writeErrno = errno;
        return -1;
      }
      p += n;
      left -= static_cast<size_t>(n);
    }
    d->written += static_cast<uint64_t>(count);
    return count;
  }
  static int Seek(mspack_file* file, off_t offset, int mode) {
    File* f = reinterpret_cast<File*>(file);
    if (f->sink) return -1;
    const off_t size = static_cast<off_t>(f->owner->bytes.size());
    off_t to = offset;
    if (mode == MSPACK_SYS_SEEK_CUR) to += static_cast<off_t>(f->pos);
    else if (mode == MSPACK_SYS_SEEK_END) to += size;
    else if (mode != MSPACK_SYS_SEEK_START) return -1;
    if (to < 0 || to > size) return -1;
    f->pos = static_cast<size_t>(to);
    return 0;
  }
  static off_t Tell(mspack_file* file) {
    return static_cast<off_t>(reinterpret_cast<File*>(file)->pos);
  }
  static void Message(mspack_file*, const char*, ...) {}
  static void* Alloc(mspack_system*, size_t bytes) { return std::malloc(bytes); }
  static void Free(void* p) { std::free(p); }
  static void Copy(void* src, void* dest, size_t bytes) { std::memmove(dest, src, bytes); }
};

TCABFile::TCABFile(std::string archivePath) : archivePath_(std::move(archivePath)) {}

bool TCABFile::Fail(std::string text) {
  errorText_ = std::move(text);
  return false;
}

std::string TCABFile::SafeRelativePath(std::string_view storedName) {
  if (storedName.empty()) return {};
  if (storedName.size() >= 2 && storedName[1] == ':') return {};  // a drive letter
  std::string out;
  size_t start = 0;
  for (;;) {
    size_t end = storedName.find_first_of("\\/", start);
    const std::string_view part =
        storedName.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    // An empty part is a leading separator (an absolute path), a doubled one or a trailing one.
    if (part.empty() || part == "." || part == "..") return {};
    for (unsigned char c : part)
      if (c < 0x20 || c == 0x7F) return {};
    if (!out.empty()) out += '/';
    out += part;
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return out;
}

bool TCABFile::ListBytes(std::string_view b, std::vector<TCabEntry>& entries) {
  entries.clear();
  errorText_.clear();
  const std::string name = archivePath_.empty() ? std::string("the archive") : archivePath_;
  if (b.size() < kHeaderSize || b.substr(0, 4) != "MSCF")
    return Fail(name + " is not a cabinet file");
  if (U32(b, 8) != b.size())
    return Fail(name + " is damaged: its header gives " + std::to_string(U32(b, 8)) +
                " bytes, the file has " + std::to_string(b.size()));
  const uint16_t folders = U16(b, 26), files = U16(b, 28), flags = U16(b, 30);
  if (flags & (kFlagPrevCabinet | kFlagNextCabinet))
    return Fail(name + " is part of a set of cabinets, which is not supported");
  size_t at = kHeaderSize;
  size_t folderReserve = 0, dataReserve = 0;
  if (flags & kFlagReserve) {
    if (b.size() < at + 4) return Fail(name + " is damaged: its header is cut short");
    const size_t headerReserve = U16(b, at);
    folderReserve = static_cast<unsigned char>(b[at + 2]);
    dataReserve = static_cast<unsigned char>(b[at + 3]);
    at += 4 + headerReserve;
  }
  if (files > 0 && folders == 0) return Fail(name + " is damaged: its entries have no data");

  // The folders: where their data blocks lie, and how many bytes they unpack to.
  std::vector<uint64_t> folderBytes(folders, 0);
  // Blocks of a sound cabinet never overlap, so there are at most size / 8 of them; folders
  // pointing at the same blocks again and again are refused before they cost much time.
  uint64_t blocksWalked = 0;
  for (uint16_t i = 0; i < folders; ++i) {
    if (b.size() < at + 8 + folderReserve) return Fail(name + " is damaged: a folder is cut short");
    size_t block = U32(b, at);
    const uint16_t blocks = U16(b, at + 4);
    at += 8 + folderReserve;
    blocksWalked += blocks;
    if (blocksWalked > b.size() / 8) return Fail(name + " is damaged: its data blocks overlap");
    for (uint16_t k = 0; k < blocks; ++k) {
      if (block > b.size() || b.size() - block < 8 + dataReserve)
        return Fail(name + " is damaged: a data block lies outside the file");
      const size_t data = U16(b, block + 4);
      folderBytes[i] += U16(b, block + 6);
      block += 8 + dataReserve;
      if (b.size() - block < data) return Fail(name + " is damaged: a data block is cut short");
      block += data;
    }
  }

  // The entries, with their stored paths checked.
  std::vector<ParsedEntry> parsed;
  std::vector<uint64_t> covered(folders, 0);
  std::set<std::string> filePaths, folderPaths;
  uint64_t total = 0;
  at = U32(b, 16);
  for (uint16_t i = 0; i < files; ++i) {
    if (at > b.size() || b.size() - at < 16) return Fail(name + " is damaged: an entry is cut short");
    ParsedEntry p;
    p.entry.length = U32(b, at);
    p.offset = U32(b, at + 4);
    p.folder = U16(b, at + 8);
    const uint16_t date = U16(b, at + 10), time = U16(b, at + 12), attribs = U16(b, at + 14);
    at += 16;
    std::string raw;
    if (!ReadZ(b, at, raw)) return Fail(name + " is damaged: an entry's name is cut short");
    p.entry.storedName = (attribs & kAttribUtfName) ? raw : Latin1ToUtf8(raw);
    p.entry.path = SafeRelativePath(p.entry.storedName);
    if (p.entry.path.empty())
      return Fail(name + " is refused: the entry \"" + p.entry.storedName +
                  "\" would be written outside the target folder");
    if (p.folder >= folders)
      return Fail(name + " is refused: the entry \"" + p.entry.storedName +
                  "\" continues in another cabinet");
    const uint64_t end = static_cast<uint64_t>(p.offset) + p.entry.length;
    if (end > folderBytes[p.folder])
      return Fail(name + " is damaged: the entry \"" + p.entry.storedName +
                  "\" claims more data than the archive holds");
    covered[p.folder] = std::max(covered[p.folder], end);
    total += p.entry.length;
    if (total > static_cast<uint64_t>(kMaxExtractedBytes))
      return Fail(name + " is refused: its entries unpack to more than " +
                  std::to_string(kMaxExtractedBytes) + " bytes");
    p.entry.modified = DosDateTime(date, time);
    p.entry.executable = (attribs & kAttribExec) != 0;
    filePaths.insert(p.entry.path);
    for (size_t slash = p.entry.path.find('/'); slash != std::string::npos;
         slash = p.entry.path.find('/', slash + 1))
      folderPaths.insert(p.entry.path.substr(0, slash));
    parsed.push_back(std::move(p));
  }
  for (const std::string& f : filePaths)
    if (folderPaths.count(f))
      return Fail(name + " is refused: \"" + f + "\" is both a file and a folder in it");
  for (uint16_t i = 0; i < folders; ++i)
    if (covered[i] != folderBytes[i])
      return Fail(name + " is damaged: its data is larger than its entries claim");
  for (auto& p : parsed) entries.push_back(std::move(p.entry));
  return true;
}

bool TCABFile::List(std::vector<TCabEntry>& entries) {
  std::optional<std::string> bytes;
  try {
    bytes = ReadFileBytes(archivePath_);
  } catch (const IoError& e) {
    return Fail(e.what());
  }
  if (!bytes) return Fail(OsErrorText("Cannot open", archivePath_, ENOENT));
  if (static_cast<int64_t>(bytes->size()) > kMaxArchiveBytes)
    return Fail(archivePath_ + " is refused: it is larger than " + std::to_string(kMaxArchiveBytes) +
                " bytes");
  return ListBytes(*bytes, entries);
}

bool TCABFile::ExtractTo(const std::string& targetFolder) {
  extracted_.clear();
  errorText_.clear();
  std::optional<std::string> bytes;
  try {
    bytes = ReadFileBytes(archivePath_);
  } catch (const IoError& e) {
    return Fail(e.what());
  }
  if (!bytes) return Fail(OsErrorText("Cannot open", archivePath_, ENOENT));
  if (static_cast<int64_t>(bytes->size()) > kMaxArchiveBytes)
    return Fail(archivePath_ + " is refused: it is larger than " +
                std::to_string(kMaxArchiveBytes) + " bytes");
  std::vector<TCabEntry> entries;
  if (!ListBytes(*bytes, entries)) return false;

  std::string root = targetFolder;
  while (root.size() > 1 && root.back() == '/') root.pop_back();
  const std::string realRoot = RealPath(root);
  if (realRoot.empty() || !FolderExists(realRoot))
    return Fail(OsErrorText("Cannot open folder", root, errno ? errno : ENOTDIR));

  // Everything made so far, undone unless the whole archive goes in.
  std::vector<std::string> createdFolders;
  std::vector<std::string> temps;
  bool committed = false;
  struct Undo {
    std::vector<std::string>& folders;
    std::vector<std::string>& temps;
    bool& committed;
    ~Undo() {
      for (const auto& t : temps) ::unlink(t.c_str());
      if (committed) return;
      for (auto it = folders.rbegin(); it != folders.rend(); ++it) ::rmdir(it->c_str());
    }
  } undo{createdFolders, temps, committed};

  auto writeError = [this](const std::string& text) {
    if (OnWriteError) OnWriteError(text);
    return Fail(text);
  };

  Decoder decoder(*bytes);
  int selftest = MSPACK_ERR_OK;
  MSPACK_SYS_SELFTEST(selftest);
  if (selftest != MSPACK_ERR_OK) return Fail("The cabinet library does not match this program");
  std::unique_ptr<mscab_decompressor, void (*)(mscab_decompressor*)> cabd(
      mspack_create_cab_decompressor(&decoder.sys), &mspack_destroy_cab_decompressor);
  if (!cabd) return Fail("The cabinet library could not be started");
  mscabd_cabinet* cab = cabd->open(cabd.get(), Decoder::kArchiveName);
  if (!cab) return Fail(archivePath_ + " is not a cabinet file or is damaged");
  struct CloseCab {
    mscab_decompressor* d;
    mscabd_cabinet* c;
    ~CloseCab() { d->close(d, c); }
  } closeCab{cabd.get(), cab};

  std::vector<mscabd_file*> files;
  for (mscabd_file* f = cab->files; f; f = f->next) files.push_back(f);
  if (files.size() != entries.size())
    return Fail(archivePath_ + " is damaged: its list of entries cannot be read");

  const mode_t baseMode = 0666 & ~CurrentUmask();
  std::vector<std::string> destinations;
  for (size_t i = 0; i < entries.size(); ++i) {
    const TCabEntry& e = entries[i];
    if (files[i]->length != e.length)
      return Fail(archivePath_ + " is damaged: its list of entries cannot be read");
    const std::string dest = root + "/" + e.path;
    const std::string folder = Parent(dest);
    // Create the missing folders one by one, each only after its parent proved to lie inside
    // the target (a link must not lead the archive elsewhere), so each new one can be removed.
    for (size_t slash = e.path.find('/'); slash != std::string::npos;
         slash = e.path.find('/', slash + 1)) {
      const std::string step = root + "/" + e.path.substr(0, slash);
      const std::string realParent = RealPath(Parent(step));
      if (realParent.empty() || !Inside(realParent, realRoot))
        return Fail(archivePath_ + " is refused: the entry \"" + e.storedName +
                    "\" would be written outside the target folder");
      if (FolderExists(step)) continue;
      if (::mkdir(step.c_str(), 0777) != 0)
        return writeError(OsErrorText("Cannot create folder", step, errno));
      createdFolders.push_back(step);
    }
    const std::string realFolder = RealPath(folder);
    if (realFolder.empty() || !Inside(realFolder, realRoot))
      return Fail(archivePath_ + " is refused: the entry \"" + e.storedName +
                  "\" would be written outside the target folder");
    struct stat old {};
    if (::lstat(dest.c_str(), &old) == 0 && S_ISDIR(old.st_mode))
      return writeError(OsErrorText("Cannot write", dest, EISDIR));

    std::string temp = folder + "/.cab-" + dest.substr(dest.find_last_of('/') + 1) + ".XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) return writeError(OsErrorText("Cannot write", dest, errno));
    temps.push_back(temp);
    decoder.fd = fd;
    decoder.limit = e.length;
    decoder.written = 0;
    decoder.writeErrno = 0;
    decoder.overrun = false;
    const int result = cabd->extract(cabd.get(), files[i], Decoder::kSinkName);
    decoder.fd = -1;
    int err = 0;
    if (result == MSPACK_ERR_OK && decoder.written == e.length) {
      mode_t mode = S_ISREG(old.st_mode) ? (old.st_mode & 07777) : baseMode;
      if (e.executable) mode |= (0111 & ~CurrentUmask());
      if (::fchmod(fd, mode) != 0) err = errno;
      if (!err && e.modified.isValid()) {
        const timespec times[2] = {{static_cast<time_t>(e.modified.toSecsSinceEpoch()), 0},
                                   {static_cast<time_t>(e.modified.toSecsSinceEpoch()), 0}};
        if (::futimens(fd, times) != 0) err = errno;
      }
      if (!err && ::fsync(fd) != 0) err = errno;
    }
    if (::close(fd) != 0 && !err) err = errno;
    if (decoder.writeErrno) return writeError(OsErrorText("Cannot write", dest, decoder.writeErrno));
    if (decoder.overrun || (result == MSPACK_ERR_OK && decoder.written != e.length))
      return Fail(archivePath_ + " is damaged: the entry \"" + e.storedName +
                  "\" does not hold the size it claims");
    if (result != MSPACK_ERR_OK)
      return Fail(archivePath_ + " is damaged: the entry \"" + e.storedName +
                  "\" cannot be unpacked (error " + std::to_string(result) + ")");
    if (err) return writeError(OsErrorText("Cannot write", dest, err));
    destinations.push_back(dest);
  }

  // Every entry is unpacked: put them in place, in archive order (a later entry of the same
  // name wins).
  committed = true;
  for (size_t i = 0; i < destinations.size(); ++i) {
    if (::rename(temps[i].c_str(), destinations[i].c_str()) != 0)
      return writeError(OsErrorText("Cannot write", destinations[i], errno));
  }
  temps.clear();
  extracted_ = std::move(entries);
  return true;
}

}  // namespace qs
