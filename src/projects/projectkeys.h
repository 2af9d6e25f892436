// The keys of a project section: what project creation writes and what a missing key reads
// as. Flags are stored "-1"/"0" in project files.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace qs {

enum class ProjectValueType { Text, Flag, DatabaseChoice, DateText, TimeText, IntegerText };

enum class ProjectDefault {
  Fixed,
  Today,
  Now,             // the current time of day
  OneYearBack,     // today one year back
  OneMonthBack,
  SevenDaysBack,
};

struct ProjectKeyDef {
  std::string_view key;
  ProjectValueType type;
  // Written when a project is created: `fromRecord` when the value comes from the new
  // project record, else `createdValue` when it is a fixed text; neither when not written.
  bool fromRecord;
  std::optional<std::string_view> createdValue;
  std::string_view fixedDefault;
  ProjectDefault rule = ProjectDefault::Fixed;
};

inline constexpr std::string_view kProjectTrue = "-1";
inline constexpr std::string_view kProjectFalse = "0";
inline constexpr std::string_view kMetaTagsSection = "MetaTags";

// Every key of the project section, in the order of the description of the project file.
std::span<const ProjectKeyDef> ProjectKeys();
const ProjectKeyDef* FindProjectKey(std::string_view key);

// The keys a new project file is written with, in the order they are written.
std::span<const std::string_view> CreatedKeyOrder();

// The text a missing key reads as (dates and times in the regional formats).
std::string ProjectDefaultText(const ProjectKeyDef& def);

}  // namespace qs
