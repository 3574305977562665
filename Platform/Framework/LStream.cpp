#include "Platform/Framework/LStream.h"

#include <QJsonArray>

LStream::LStream(QJsonObject const& object, QJsonObject const& texts)
    : mObject(object), mTexts(texts) {}

bool LStream::ParseId(QJsonValue const& value, int32_t& id) {
  if (value.isDouble()) {
    double const d = value.toDouble();
    if (d != static_cast<double>(static_cast<int32_t>(d))) return false;
    id = static_cast<int32_t>(d);
    return true;
  }
  if (!value.isString()) return false;
  QByteArray const bytes = value.toString().toLatin1();
  if (bytes.size() != 4 || value.toString().size() != 4) return false;
  uint32_t bits = 0;
  for (char c : bytes) bits = (bits << 8) | static_cast<uint8_t>(c);
  id = static_cast<int32_t>(bits);
  return true;
}

QString LStream::KeyOf(PaneIDT id) {
  uint32_t const bits = static_cast<uint32_t>(id);
  QString key;
  for (int shift = 24; shift >= 0; shift -= 8) {
    char const c = static_cast<char>((bits >> shift) & 0xFFu);
    if (c < 0x20 || c >= 0x7F) return QString::number(id);
    key += QLatin1Char(c);
  }
  return key;
}

int32_t LStream::Id(char const* key, int32_t fallback) const {
  int32_t id = fallback;
  return ParseId(mObject.value(QLatin1String(key)), id) ? id : fallback;
}

ClassIDT LStream::ClassId() const { return Id("class", 0); }

PaneIDT LStream::PaneId() const { return Id("id", 0); }

QRect LStream::Frame() const {
  QJsonArray const f = mObject.value(QLatin1String("frame")).toArray();
  if (f.size() != 4) return QRect();
  return QRect(f[0].toInt(), f[1].toInt(), f[2].toInt(), f[3].toInt());
}

QString LStream::Text() const {
  QJsonValue const local = mTexts.value(KeyOf(PaneId()));
  if (local.isString()) return local.toString();
  return mObject.value(QLatin1String("text")).toString();
}

bool LStream::Flag(char const* key, bool fallback) const {
  return mObject.value(QLatin1String(key)).toBool(fallback);
}

int32_t LStream::Int(char const* key, int32_t fallback) const {
  return mObject.value(QLatin1String(key)).toInt(fallback);
}

QString LStream::String(char const* key) const {
  return mObject.value(QLatin1String(key)).toString();
}
