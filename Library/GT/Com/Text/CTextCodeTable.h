#pragma once

#include <map>
#include <string>

namespace GT {

// Messages by id on two language pages; filled once at start-up, read afterwards.
class CTextCodeTable {
public:
  enum EPage : int { PageEnglish = 0, PageJapanese = 1 };

  CTextCodeTable();
  CTextCodeTable(CTextCodeTable const&) = delete;
  CTextCodeTable& operator=(CTextCodeTable const&) = delete;

  void Initialize();
  void SetPage(EPage page);
  void Add(EPage page, int id, std::string const& text);
  void Remove(EPage page, int id);
  std::string const& ToText(EPage page, int id) const;
  std::string const& ToText(int id) const;
  bool ArePagesEquivalent() const;

private:
  typedef std::map<int, std::string> CPage;

  CPage const* PageOf(EPage page) const;
  CPage* PageOf(EPage page);

  EPage mPage;
  CPage mPages[2];
};

}  // namespace GT
