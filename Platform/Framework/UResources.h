#pragma once

#include "Platform/Framework/FrameworkTypes.h"

#include <QJsonObject>
#include <QStringList>

#include <string>
#include <utility>
#include <vector>

// The application's resource file: window layouts (pane trees by class id and
// pane id), string lists, menus, listener lists, custom dialog item lists,
// text traits and cursors, in JSON. A Japanese overlay beside it ("name.ja.json")
// replaces the texts when the locale asks for Japanese.
class UResources {
public:
  typedef std::pair<char const*, ResIDT> Requirement;  // section, id

  // Loads and checks the file (and the overlay when japanese); "" on success,
  // else one line saying what is wrong. On failure nothing stays loaded.
  static std::string Load(std::string const& path, bool japanese,
                          std::vector<Requirement> const& required = {});
  static void Unload();
  static bool IsLoaded();

  // The resource file beside the program.
  static std::string DefaultPath();
  // Whether LC_ALL, LC_MESSAGES or LANG, the first one set, starts with "ja".
  static bool IsJapaneseLocale();
  // The overlay path of a resource file: "x.json" -> "x.ja.json".
  static std::string OverlayPath(std::string const& path);

  // A section's entry by id; an empty object when absent.
  static QJsonObject Find(char const* section, ResIDT id);
  static bool Has(char const* section, ResIDT id);
  // Localised texts of a window or dialog item list, by pane key.
  static QJsonObject Texts(char const* section, ResIDT id);
  // Item `index` (1-based) of string list `id`; "" when absent.
  static std::string GetIndString(ResIDT id, int index);
  // The items of menu `id`; false when the menu does not exist.
  static bool GetMenuItems(ResIDT id, QStringList& items);
  // The pane ids of listener list `id` (the controls a window listens to).
  static std::vector<PaneIDT> GetListenerList(ResIDT id);
  // The application's identifier ("identifier"); "" when absent.
  static std::string ApplicationIdentifier();
  // A text of the menu bar by key ("file", "quit", "help", "about").
  static QString MenuBarText(char const* key, QString const& fallback);
};
