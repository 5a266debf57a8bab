#pragma once

#include <string>

namespace tt {

// The settings store as the engine reads it: a string of section "Settings".
class SettingSource {
  public:
    virtual ~SettingSource() = default;
    virtual std::string ReadSettingString(const std::string& key,
                                          const std::string& defaultValue) = 0;
};

}  // namespace tt
