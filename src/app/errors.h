// Failures that abandon the command in progress. Each carries the text shown to the user.
#pragma once

#include <stdexcept>
#include <string>

namespace qs {

// A file that cannot be read, written, created or renamed. The text names the file and
// carries the operating system's own description of the failure.
class IoError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A stored text that cannot be converted to the number, date, time or colour it should hold.
class ConversionError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A table operation that the table's state does not allow ("Dataset not in edit or insert
// mode", "No Records", ...).
class DatabaseError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A name taken from user input (a domain, a listed name, a key) that cannot be used as a file
// name inside the application folder.
class NameError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Text for an operating-system failure: "<what> <path>: <strerror(err)>".
std::string OsErrorText(const std::string& what, const std::string& path, int err);

}  // namespace qs
