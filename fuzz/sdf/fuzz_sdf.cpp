// Feeds an SDF table arbitrary file bytes and a random sequence of table operations, then
// checks what closing and reopening gives back.
//
// Input: two bytes giving the length of the file part, the file bytes, then operation bytes.
#include <fuzzer/FuzzedDataProvider.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "app/errors.h"
#include "store/sdfdataset.h"

namespace {

const std::string& Folder() {
  static const std::string folder = [] {
    char pattern[] = "/tmp/qs-fuzz-sdf-XXXXXX";
    if (!::mkdtemp(pattern)) std::abort();
    return std::string(pattern);
  }();
  return folder;
}

std::string ReadAll(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const std::string path = Folder() + "/t.czc";
  const std::string file = in.ConsumeBytesAsString(in.ConsumeIntegralInRange<size_t>(0, 1 << 16));
  {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(file.data(), static_cast<std::streamsize>(file.size()));
  }

  qs::TSdfDataSet t;
  t.SetFileName(path);
  const int fields = in.ConsumeIntegralInRange<int>(0, 6);
  std::vector<std::string> schema;
  for (int i = 0; i < fields; ++i)
    schema.push_back("f" + std::to_string(i) + (in.ConsumeBool() ? "=" + std::to_string(in.ConsumeIntegralInRange<int>(0, 40)) : ""));
  t.SetSchema(schema);
  t.SetTrimSpace(in.ConsumeBool());
  t.SetFirstLineAsSchema(in.ConsumeBool());
  if (in.ConsumeBool()) t.SetDelimiter(in.ConsumeBool() ? ';' : '\t');
  t.SetFiltered(in.ConsumeBool());
  t.OnFilterRecord = [](qs::TFixedFormatDataSet& table, bool& accept) {
    accept = table.Filter().empty() || table.Fields(0).AsString() == table.Filter();
  };
  t.Open();

  bool changed = false;
  while (in.remaining_bytes() > 0) {
    try {
      switch (in.ConsumeIntegralInRange<int>(0, 13)) {
        case 0: t.First(); break;
        case 1: t.Next(); break;
        case 2: t.Prior(); break;
        case 3: t.Last(); break;
        case 4: t.Insert(); break;
        case 5: t.Append(); break;
        case 6: t.Edit(); break;
        case 7: {
          const int f = in.ConsumeIntegralInRange<int>(0, std::max(0, t.FieldCount() - 1));
          t.Fields(f).SetAsString(in.ConsumeRandomLengthString(300));
          changed = true;
          break;
        }
        case 8:
          t.Post();
          changed = true;
          break;
        case 9: t.Cancel(); break;
        case 10:
          t.Delete();
          changed = true;
          break;
        case 11: {
          const std::string key = in.ConsumeRandomLengthString(20);
          t.Locate(t.FieldName(0), {key}, {in.ConsumeBool(), in.ConsumeBool()});
          break;
        }
        case 12:
          t.SetFilter(in.ConsumeRandomLengthString(10));
          t.Refresh();
          break;
        case 13:
          for (int i = 0; i < t.FieldCount(); ++i) {
            t.Fields(i).AsString();
            try {
              t.Fields(i).AsInteger();
            } catch (const qs::ConversionError&) {
            }
          }
          break;
      }
    } catch (const qs::DatabaseError&) {
      // Operations the state does not allow.
    }
    Check(t.RecordCount() >= 0);
  }

  // Every line the table holds comes back as one record: no value can split a line.
  t.First();  // posts or drops a pending record
  const int held = t.RecordCount();
  t.Close();
  const std::string written = ReadAll(path);
  if (!changed) Check(written == file);  // a table without changes is never rewritten

  t.SetFiltered(false);
  t.Open();
  const int count = t.RecordCount();
  Check(count == held);
  std::vector<std::vector<std::string>> rows;
  for (t.First(); !t.Eof(); t.Next()) {
    std::vector<std::string> row;
    for (int i = 0; i < t.FieldCount(); ++i) row.push_back(t.Fields(i).AsString());
    rows.push_back(std::move(row));
  }
  Check(static_cast<int>(rows.size()) == count);
  t.Close();
  // Closing without a change never rewrites the file; a second round reads the same.
  Check(ReadAll(path) == written);
  t.Open();
  Check(t.RecordCount() == count);
  int k = 0;
  for (t.First(); !t.Eof(); t.Next(), ++k)
    for (int i = 0; i < t.FieldCount(); ++i) Check(t.Fields(i).AsString() == rows[static_cast<size_t>(k)][static_cast<size_t>(i)]);
  t.Close();
  return 0;
}
