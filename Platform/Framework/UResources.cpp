#include "Platform/Framework/UResources.h"

#include "Platform/Framework/LStream.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

#include <cstdlib>
#include <unistd.h>

namespace {

// The folder of the running program.
std::string ModuleDirectory() {
  char buffer[4096];
  ssize_t const n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return ".";
  std::string path(buffer, static_cast<std::size_t>(n));
  std::string::size_type const slash = path.rfind('/');
  return slash == std::string::npos || slash == 0 ? std::string(slash == 0 ? "" : ".")
                                                  : path.substr(0, slash);
}

QJsonObject sRoot;
bool sLoaded = false;

// Objects merge key by key; anything else in the overlay replaces the base.
QJsonObject Merge(QJsonObject base, QJsonObject const& overlay) {
  for (auto it = overlay.begin(); it != overlay.end(); ++it) {
    QJsonValue const old = base.value(it.key());
    if (old.isObject() && it.value().isObject())
      base.insert(it.key(), Merge(old.toObject(), it.value().toObject()));
    else
      base.insert(it.key(), it.value());
  }
  return base;
}

bool ReadJson(std::string const& path, QJsonObject& object, std::string& problem) {
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly)) {
    problem = "cannot be read";
    return false;
  }
  QJsonParseError error;
  QJsonDocument const doc = QJsonDocument::fromJson(file.readAll(), &error);
  if (error.error != QJsonParseError::NoError) {
    problem = "is not valid JSON at offset " + std::to_string(error.offset) + ": " +
              error.errorString().toStdString();
    return false;
  }
  if (!doc.isObject()) {
    problem = "does not hold a JSON object";
    return false;
  }
  object = doc.object();
  return true;
}

class CChecker {
public:
  std::string mProblem;

  bool Fail(std::string const& what) {
    if (mProblem.empty()) mProblem = what;
    return false;
  }

  bool Frame(QJsonObject const& o, std::string const& where) {
    QJsonArray const f = o.value("frame").toArray();
    if (f.size() != 4) return Fail(where + " has no frame of four numbers");
    for (QJsonValue const& v : f)
      if (!v.isDouble()) return Fail(where + " has no frame of four numbers");
    return true;
  }

  bool Pane(QJsonObject const& o, std::string const& where) {
    int32_t id = 0;
    if (!LStream::ParseId(o.value("class"), id) || !o.value("class").isString())
      return Fail(where + " has no four-character class");
    if (o.contains("id") && !LStream::ParseId(o.value("id"), id))
      return Fail(where + " has an id that is neither a number nor four characters");
    if (!Frame(o, where)) return false;
    return Panes(o, where);
  }

  bool Panes(QJsonObject const& o, std::string const& where) {
    if (!o.contains("panes")) return true;
    if (!o.value("panes").isArray()) return Fail(where + " has panes that are not a list");
    int n = 0;
    for (QJsonValue const& v : o.value("panes").toArray()) {
      ++n;
      std::string const here = where + " pane " + std::to_string(n);
      if (!v.isObject()) return Fail(here + " is not an object");
      if (!Pane(v.toObject(), here)) return false;
    }
    return true;
  }

  bool Window(QJsonObject const& o, std::string const& where) {
    QJsonArray const size = o.value("size").toArray();
    if (size.size() != 2 || !size[0].isDouble() || !size[1].isDouble())
      return Fail(where + " has no size of two numbers");
    return Panes(o, where);
  }

  bool StringList(QJsonValue const& v, std::string const& where) {
    if (!v.isArray()) return Fail(where + " is not a list");
    for (QJsonValue const& s : v.toArray())
      if (!s.isString()) return Fail(where + " holds something that is not a text");
    return true;
  }

  bool DialogItems(QJsonObject const& o, std::string const& where) {
    if (!o.value("width").isDouble() || !o.value("height").isDouble())
      return Fail(where + " has no width and height");
    if (!o.value("items").isArray()) return Fail(where + " has no item list");
    int n = 0;
    for (QJsonValue const& v : o.value("items").toArray()) {
      std::string const here = where + " item " + std::to_string(++n);
      QString const type = v.toObject().value("type").toString();
      if (type != "label" && type != "value" && type != "button" && type != "popup")
        return Fail(here + " has no type label, value, button or popup");
      if (!Frame(v.toObject(), here)) return false;
    }
    return true;
  }

  // Every entry of the section is an object (or a list for lists) and is checked.
  template <typename F>
  bool Section(QJsonObject const& root, char const* name, F check) {
    QJsonValue const v = root.value(name);
    if (v.isUndefined()) return true;
    if (!v.isObject()) return Fail(std::string("section \"") + name + "\" is not an object");
    QJsonObject const section = v.toObject();
    for (auto it = section.begin(); it != section.end(); ++it) {
      bool ok = false;
      it.key().toInt(&ok);
      std::string const where = std::string(name) + " " + it.key().toStdString();
      if (!ok) return Fail(where + ": the id is not a number");
      if (!check(it.value(), where)) return false;
    }
    return true;
  }

  bool All(QJsonObject const& root) {
    auto object = [this](QJsonValue const& v, std::string const& where) {
      return v.isObject() || Fail(where + " is not an object");
    };
    return Section(root, "windows",
                   [&](QJsonValue const& v, std::string const& w) {
                     return object(v, w) && Window(v.toObject(), w);
                   }) &&
           Section(root, "strings",
                   [&](QJsonValue const& v, std::string const& w) { return StringList(v, w); }) &&
           Section(root, "menus",
                   [&](QJsonValue const& v, std::string const& w) {
                     return object(v, w) && StringList(v.toObject().value("items"), w + " items");
                   }) &&
           Section(root, "listeners",
                   [&](QJsonValue const& v, std::string const& w) {
                     if (!v.isArray()) return Fail(w + " is not a list");
                     int32_t id = 0;
                     for (QJsonValue const& p : v.toArray())
                       if (!LStream::ParseId(p, id)) return Fail(w + " holds a bad pane id");
                     return true;
                   }) &&
           Section(root, "dialogItems",
                   [&](QJsonValue const& v, std::string const& w) {
                     return object(v, w) && DialogItems(v.toObject(), w);
                   }) &&
           Section(root, "textTraits", object) && Section(root, "cursors", object);
  }
};

}  // namespace

std::string UResources::Load(std::string const& path, bool japanese,
                             std::vector<Requirement> const& required) {
  Unload();
  QJsonObject root;
  std::string problem;
  if (!ReadJson(path, root, problem)) return "resource file " + path + " " + problem;
  if (japanese) {
    std::string const overlayPath = OverlayPath(path);
    QJsonObject overlay;
    if (!ReadJson(overlayPath, overlay, problem))
      return "resource file " + overlayPath + " " + problem;
    root = Merge(root, overlay);
  }
  CChecker checker;
  if (!checker.All(root)) return "resource file " + path + ": " + checker.mProblem;
  for (Requirement const& r : required) {
    QJsonValue const v = root.value(r.first).toObject().value(QString::number(r.second));
    if (v.isUndefined())
      return "resource file " + path + ": " + r.first + " " + std::to_string(r.second) +
             " is missing";
  }
  sRoot = root;
  sLoaded = true;
  return std::string();
}

void UResources::Unload() {
  sRoot = QJsonObject();
  sLoaded = false;
}

bool UResources::IsLoaded() { return sLoaded; }

std::string UResources::DefaultPath() { return ModuleDirectory() + "/VQ7Converter.json"; }

bool UResources::IsJapaneseLocale() {
  for (char const* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    char const* value = std::getenv(name);
    if (value && *value) return value[0] == 'j' && value[1] == 'a';
  }
  return false;
}

std::string UResources::OverlayPath(std::string const& path) {
  std::string::size_type const dot = path.rfind('.');
  std::string::size_type const slash = path.rfind('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return path + ".ja";
  return path.substr(0, dot) + ".ja" + path.substr(dot);
}

QJsonObject UResources::Find(char const* section, ResIDT id) {
  return sRoot.value(section).toObject().value(QString::number(id)).toObject();
}

bool UResources::Has(char const* section, ResIDT id) {
  return sRoot.value(section).toObject().contains(QString::number(id));
}

QJsonObject UResources::Texts(char const* section, ResIDT id) {
  return Find(section, id).value("texts").toObject();
}

std::string UResources::GetIndString(ResIDT id, int index) {
  QJsonArray const list = sRoot.value("strings").toObject().value(QString::number(id)).toArray();
  if (index < 1 || index > list.size()) return std::string();
  return list[index - 1].toString().toStdString();
}

bool UResources::GetMenuItems(ResIDT id, QStringList& items) {
  items.clear();
  if (!Has("menus", id)) return false;
  for (QJsonValue const& v : Find("menus", id).value("items").toArray()) items << v.toString();
  return true;
}

std::vector<PaneIDT> UResources::GetListenerList(ResIDT id) {
  std::vector<PaneIDT> ids;
  for (QJsonValue const& v :
       sRoot.value("listeners").toObject().value(QString::number(id)).toArray()) {
    int32_t pane = 0;
    if (LStream::ParseId(v, pane)) ids.push_back(pane);
  }
  return ids;
}

std::string UResources::ApplicationIdentifier() {
  return sRoot.value("identifier").toString().toStdString();
}

QString UResources::MenuBarText(char const* key, QString const& fallback) {
  QJsonValue const v = sRoot.value("menuBar").toObject().value(key);
  return v.isString() ? v.toString() : fallback;
}
