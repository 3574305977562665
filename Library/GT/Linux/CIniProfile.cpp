#include "GT/Linux/CIniProfile.h"

#include <QByteArray>
#include <QSettings>
#include <QString>
#include <QVariant>

#include <sys/stat.h>

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

// The file as an object: every write that lands makes a new one, as it is
// written beside and renamed over the old.
bool SameFile(struct stat const& a, struct stat const& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Stores the value and flushes it to the file. The settings of one file are
// cached for the whole process: when the file cannot take the value, the old
// one goes back into the cache, so that reads agree with the file.
bool Store(QString const& key, QVariant const& value) {
  std::string const path = CIniProfile::FilePath();
  struct stat before, after;
  bool const existed = ::stat(path.c_str(), &before) == 0;
  QSettings settings(SettingsPath(), QSettings::IniFormat);
  QVariant const old = settings.value(key);
  settings.setValue(key, value);
  settings.sync();
  // A file that could not be read keeps its format error as the status, and
  // a failed write then no longer shows in it.
  QSettings::Status const status = settings.status();
  bool const replaced = ::stat(path.c_str(), &after) == 0 && (!existed || !SameFile(before, after));
  if (status == QSettings::NoError || (status == QSettings::FormatError && replaced)) return true;
  if (old.isValid())
    settings.setValue(key, old);
  else
    settings.remove(key);
  return false;
}

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

bool CIniProfile::Write(std::string const& key, std::string const& value) {
  QString qkey;
  if (!ToKey(key, qkey)) return false;
  return Store(qkey, QByteArray(value.data(), static_cast<qsizetype>(value.size())));
}

bool CIniProfile::Write(std::string const& key, long value) {
  QString qkey;
  if (!ToKey(key, qkey)) return false;
  // The store keeps 32-bit numbers; a wider value cannot be kept without loss.
  if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max())
    return false;
  return Store(qkey, QString::number(static_cast<qlonglong>(value)));
}

CIniProfile& IniProfile() {
  static CIniProfile sProfile;
  return sProfile;
}

CIniProfile& IniProfileA() { return IniProfile(); }

}  // namespace GT
