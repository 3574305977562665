#include "GT/Com/Text/CTextCodeTable.h"

namespace GT {
namespace {
std::string const& EmptyText() {
  static std::string const sEmpty;
  return sEmpty;
}
}  // namespace

CTextCodeTable::CTextCodeTable() : mPage(PageEnglish) {}

void CTextCodeTable::Initialize() {
  mPages[0].clear();
  mPages[1].clear();
}

// A page outside the two known ones is ignored rather than indexing past the array.
CTextCodeTable::CPage const* CTextCodeTable::PageOf(EPage page) const {
  return (page == PageEnglish || page == PageJapanese) ? &mPages[page] : nullptr;
}

CTextCodeTable::CPage* CTextCodeTable::PageOf(EPage page) {
  return (page == PageEnglish || page == PageJapanese) ? &mPages[page] : nullptr;
}

void CTextCodeTable::SetPage(EPage page) {
  if (PageOf(page)) mPage = page;
}

void CTextCodeTable::Add(EPage page, int id, std::string const& text) {
  if (CPage* p = PageOf(page)) (*p)[id] = text;
}

void CTextCodeTable::Remove(EPage page, int id) {
  if (CPage* p = PageOf(page)) p->erase(id);
}

std::string const& CTextCodeTable::ToText(EPage page, int id) const {
  CPage const* p = PageOf(page);
  if (!p) return EmptyText();
  CPage::const_iterator it = p->find(id);
  return it == p->end() ? EmptyText() : it->second;
}

std::string const& CTextCodeTable::ToText(int id) const { return ToText(mPage, id); }

bool CTextCodeTable::ArePagesEquivalent() const {
  for (CPage::const_iterator it = mPages[0].begin(); it != mPages[0].end(); ++it) {
    if (mPages[1].find(it->first) == mPages[1].end()) return false;
  }
  return true;
}

}  // namespace GT
