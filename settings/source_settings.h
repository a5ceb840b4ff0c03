#ifndef VLAU_SETTINGS_SOURCE_SETTINGS_H_
#define VLAU_SETTINGS_SOURCE_SETTINGS_H_

#include <cstdint>
#include <string>

namespace vlau {

// The settings of one named source, read from the section whose name is the
// kind's prefix followed by the name (SHARE_Main, PG_Central, ...). The
// subclasses are plain records: every value after construction is empty,
// false or 0 until the settings file loader fills it.
class TauSetting {
 public:
  explicit TauSetting(std::string AName) : FName(std::move(AName)) {}
  virtual ~TauSetting() = default;

  const std::string& Name() const { return FName; }
  virtual void SetName(std::string v) { FName = std::move(v); }

 private:
  std::string FName;
};

class TauSettingShare : public TauSetting {
 public:
  using TauSetting::TauSetting;
  const std::string& UNC() const { return FUNC; }
  virtual void SetUNC(std::string v) { FUNC = std::move(v); }

 private:
  std::string FUNC;
};

class TauSettingOracle : public TauSetting {
 public:
  using TauSetting::TauSetting;
  std::string SID, Password, UpdateSchema, TnsName, Host, Username;
  bool Net = false;
  int32_t Port = 0;
};

class TauSettingPG : public TauSetting {
 public:
  using TauSetting::TauSetting;
  std::string DataBase, Password, UpdateSchema, Host, Username;
  int32_t Port = 0;
};

class TauSettingFTP : public TauSetting {
 public:
  using TauSetting::TauSetting;
  std::string Password, Host, Username;
  int32_t Port = 0;
};

class TauSettingHttp : public TauSetting {
 public:
  using TauSetting::TauSetting;
  std::string Password, Url, Username;
};

}  // namespace vlau

#endif  // VLAU_SETTINGS_SOURCE_SETTINGS_H_
