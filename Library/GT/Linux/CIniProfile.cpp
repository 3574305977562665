#include "GT/Linux/CIniProfile.h"

#include <QByteArray>
#include <QSettings>
#include <QString>
#include <QVariant>

#include <cstdint>
#include <cstdlib>
#include <limits>

namespace GT {
namespace {

char const nFolderName[] = "VQ7Converter";
char const nFileName[] = "VQ7Converter.ini";

// Keys must survive the trip to UTF-16 unchanged, or they could alias another key.
bool ToKey(std::string const& key, QString& out) {
  if (key.empty()) return false;
  QString const converted = QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()));
  QByteArray const back = converted.toUtf8();
  if (back.size() != static_cast<qsizetype>(key.size()) ||
      std::string(back.constData(), static_cast<std::size_t>(back.size())) != key)
    return false;
  out = converted;
  return true;
}

QString SettingsPath() { return QString::fromUtf8(CIniProfile::FilePath().c_str()); }

}  // namespace

std::string CIniProfile::FilePath() {
  std::string base;
  char const* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && xdg[0] == '/') {
    base = xdg;
  } else {
    char const* home = std::getenv("HOME");
    base = std::string(home && home[0] ? home : ".") + "/.config";
  }
  return base + "/" + nFolderName + "/" + nFileName;
}

std::string CIniProfile::Read(std::string const& key, std::string const& defaultValue) const {
  QString qkey;
  if (!ToKey(key, qkey)) return defaultValue;
  QSettings settings(SettingsPath(), QSettings::IniFormat);
  QVariant const value = settings.value(qkey);
  if (value.typeId() != QMetaType::QByteArray) return defaultValue;
  QByteArray const bytes = value.toByteArray();
  if (static_cast<std::size_t>(bytes.size()) > nMaxStringBytes) return defaultValue;
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

long CIniProfile::Read(std::string const& key, long defaultValue) const {
  QString qkey;
  if (!ToKey(key, qkey)) return defaultValue;
  QSettings settings(SettingsPath(), QSettings::IniFormat);
  QVariant const value = settings.value(qkey);
  if (value.typeId() != QMetaType::QString) return defaultValue;
  QString const text = value.toString();
  // Only a plain decimal number of 32 bits is a stored long.
  bool ok = false;
  qlonglong const number = text.toLongLong(&ok, 10);
  if (!ok || text.trimmed() != text || number < std::numeric_limits<int32_t>::min() ||
      number > std::numeric_limits<int32_t>::max())
    return defaultValue;
  return static_cast<long>(number);
}

void CIniProfile::Write(std::string const& key, std::string const& value) {
  QString qkey;
  if (!ToKey(key, qkey)) return;
  QSettings settings(SettingsPath(), QSettings::IniFormat);
  settings.setValue(qkey, QByteArray(value.data(), static_cast<qsizetype>(value.size())));
  settings.sync();
}

void CIniProfile::Write(std::string const& key, long value) {
  QString qkey;
  if (!ToKey(key, qkey)) return;
  // The store keeps 32-bit numbers; a wider value cannot be kept without loss.
  if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max())
    return;
  QSettings settings(SettingsPath(), QSettings::IniFormat);
  settings.setValue(qkey, QString::number(static_cast<qlonglong>(value)));
  settings.sync();
}

CIniProfile& IniProfile() {
  static CIniProfile sProfile;
  return sProfile;
}

CIniProfile& IniProfileA() { return IniProfile(); }

}  // namespace GT
