#pragma once

#include "Platform/Framework/FrameworkTypes.h"

#include <QJsonObject>
#include <QRect>

#include <string>

// The description of one pane, window or dialog item read from the resource
// file; panes are built from it by class id.
class LStream {
public:
  // texts: the overlay of localised texts by pane key, may be empty.
  LStream(QJsonObject const& object, QJsonObject const& texts);

  QJsonObject const& Object() const { return mObject; }
  ClassIDT ClassId() const;
  PaneIDT PaneId() const;
  QRect Frame() const;
  // The localised text when the overlay holds one for this pane, else "text".
  QString Text() const;
  bool Flag(char const* key, bool fallback) const;
  int32_t Int(char const* key, int32_t fallback) const;
  QString String(char const* key) const;
  // A number, or four characters such as "Impt".
  int32_t Id(char const* key, int32_t fallback) const;
  QJsonObject const& Texts() const { return mTexts; }

  // The key of a pane id in text overlays: its four characters, or its number.
  static QString KeyOf(PaneIDT id);
  // A JSON id: a number, or a string of exactly four characters; false otherwise.
  static bool ParseId(QJsonValue const& value, int32_t& id);

private:
  QJsonObject mObject;
  QJsonObject mTexts;
};
