#include "SL/Com/Wave/CEntityId.h"

#include "SL/Com/Wave/IChannel.h"
#include "SL/Com/Wave/IEnvelope.h"
#include "SL/Com/Wave/ILoop.h"
#include "SL/Com/Wave/IWave.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Id = SL::CEntityId;

// Writes and reads ids in a short notation: W wave, C channel, E envelope,
// L loop, X a type that is none of them; then the index, ":" and the mask
// in hex when it is not 0, and the children in brackets. "W0[C-1[E0:10]],L0:20".
class CTextId : public Id {
public:
  explicit CTextId(std::string const& text) {
    char const* at = text.c_str();
    if (*at) ParseList(at, Root().node);
  }
  explicit CTextId(Id const& id) : Id(id) {}

  std::string Text() const {
    std::string text;
    WriteList(Root().node, text);
    return text;
  }

private:
  static std::type_info const* TypeOf(char letter) {
    switch (letter) {
      case 'W':
        return &typeid(SL::IWave);
      case 'C':
        return &typeid(SL::IChannel);
      case 'E':
        return &typeid(SL::IEnvelope);
      case 'L':
        return &typeid(SL::ILoop);
      default:
        return &typeid(int);
    }
  }

  void ParseList(char const*& at, CTreeNode* parent) {
    for (;;) {
      CNode node(TypeOf(*at++), 0, 0);
      char* end = nullptr;
      node.mIndex = static_cast<int>(std::strtol(at, &end, 10));
      at = end;
      if (*at == ':') {
        node.mElement = static_cast<int>(std::strtoul(at + 1, &end, 16));
        at = end;
      }
      CPosition added = mTree->append_child(CPosition(parent), node);
      if (*at == '[') {
        ParseList(++at, added.node);
        ++at;  // ']'
      }
      if (*at != ',') return;
      ++at;
    }
  }

  static void WriteList(CTreeNode const* parent, std::string& text) {
    for (CTreeNode const* n = parent->first_child; n; n = n->next_sibling) {
      if (n != parent->first_child) text += ',';
      static char const letters[] = "XWCEL";
      text += letters[SL::CEntityIdConstraint::ToTypeId(*n->data.mType) + 1];
      text += std::to_string(n->data.mIndex);
      if (n->data.mElement != 0) {
        std::ostringstream hex;
        hex << std::hex << static_cast<unsigned>(n->data.mElement);
        text += ":" + hex.str();
      }
      if (n->first_child) {
        text += '[';
        WriteList(n, text);
        text += ']';
      }
    }
  }
};

std::string Text(Id const& id) { return CTextId(id).Text(); }

}  // namespace

TEST(CEntityId, NotationRoundTripsAndTheBuilderAgrees) {
  for (char const* text : {"", "L0", "W0[C-1[E0:10]],L0:20", "X3:ffffffff"})
    EXPECT_EQ(text, CTextId(text).Text());
  EXPECT_EQ(
      "W0[C1[E0:30]]",
      Text(Id().Set<SL::IWave>(0).Set<SL::IChannel>(1).Set<SL::IEnvelope>(0).Attribute(0x30)));
  EXPECT_EQ("L0:ffffffff", Text(Id().Set<SL::ILoop>(0).Attribute(-1)));
}

TEST(CEntityId, EmptyIdIsTheCopyAllId) {
  Id const id;
  EXPECT_TRUE(id.IsEmpty());
  EXPECT_TRUE(id.Begin() == id.End());
  EXPECT_EQ(0, id.GetAttributes());
  EXPECT_TRUE(id.IsAttributeNull());
  EXPECT_TRUE(id == SL::IEntity::sCopyAll);
  EXPECT_FALSE(Id().Set<SL::IWave>(0) == SL::IEntity::sCopyAll);
}

TEST(CEntityId, EqualityNeedsTheSameShape) {
  EXPECT_TRUE(CTextId("W0[L0]") == CTextId("W0[L0]"));
  EXPECT_FALSE(CTextId("W0[L0]") == CTextId("W0,L0"));  // same nodes in pre-order
  EXPECT_FALSE(CTextId("W0[L0:1]") == CTextId("W0[L0:2]"));
  EXPECT_FALSE(CTextId("W0[L0]") == CTextId("W0[L0],E0"));
  EXPECT_TRUE(CTextId("W0[L0]") != CTextId("W1[L0]"));
}

TEST(CEntityId, CopiesAreDeepAndBuildNothing) {
  Id original;
  original.Set<SL::IWave>(0);
  Id copy(original);
  copy.Set<SL::IWave>(0).Attribute(5);
  EXPECT_EQ("W0", Text(copy));
  Id assigned;
  assigned = original;
  assigned.Set<SL::ILoop>(0);
  EXPECT_EQ("W0", Text(assigned));
  // The original still builds below its last node.
  original.Set<SL::ILoop>(0).Attribute(0x20);
  EXPECT_EQ("W0[L0:20]", Text(original));
  EXPECT_EQ("W0", Text(copy));
}

TEST(CEntityId, AttributesOfTheFirstLeaf) {
  CTextId id("W0[L0:20,E0:10],C1:4");
  EXPECT_EQ(0x20, id.GetAttributes());
  EXPECT_FALSE(id.IsAttributeNull());
  id.SetAttributes(0x40);
  EXPECT_EQ("W0[L0:40,E0:10],C1:4", id.Text());
  CTextId whole("W0[L0,E0:10]");
  whole.SetAttributes(0x40);  // a whole-entity leaf stays whole
  EXPECT_EQ("W0[L0,E0:10]", whole.Text());
  EXPECT_TRUE(whole.IsAttributeNull());
}

TEST(CEntityId, Intersects) {
  struct {
    char const *a, *b;
    bool strict, intersects;
  } const rows[] = {
      {"L0", "L0:ffffffff", true, true},
      {"L0:20", "L0:60", true, true},
      {"L0:20", "L0:40", false, false},
      {"C-1", "C3", true, true},
      {"C3", "C-1", true, true},
      {"C2", "C3", false, false},
      {"L0", "E0", false, false},
      {"W0[L0:20]", "W0[L0:60]", true, true},
      {"W0[L0:20]", "W0[L0:40]", false, false},
      {"W0[L0:20]", "W1[L0:20]", false, false},
      {"W0", "W0[L0:20]", false, true},
      {"W0", "W0[L0:20]", true, false},
      {"W0[L0:20]", "W0", false, true},
      {"W0:1", "W0[L0]", false, false},
      {"W0[L0:20],E0", "C0,E0:10", true, true},
      {"", "L0", false, false},
      {"L0", "", false, false},
      {"W0[C1[E0:10]]", "W0[C-1[E0:30]]", true, true},
  };
  for (auto const& row : rows)
    EXPECT_EQ(row.intersects, CTextId(row.a).Intersects(CTextId(row.b), row.strict))
        << row.a << " ^ " << row.b << (row.strict ? " strict" : "");
}

TEST(CEntityId, Includes) {
  struct {
    char const *a, *b;
    bool strict, includes;
  } const rows[] = {
      {"L0:60", "L0:20", true, true},
      {"L0:20", "L0:60", true, false},
      {"L0", "L0:20", true, true},
      {"L0:20", "L0", true, false},
      {"C-1", "C3", true, true},
      {"C3", "C-1", true, true},
      {"L1", "L0", false, false},
      {"W0", "W0[L0:20]", false, true},
      {"W0", "W0[L0:20]", true, false},
      {"W0:1", "W0[L0:20]", false, false},
      {"W0[L0:20]", "W0", false, false},
      {"W0[L0:60,E0]", "W0[L0:20]", true, true},
      {"W0[L0:20]", "W0[L0:20,E0]", true, false},
      {"L0:20,E0", "E0:10,L0:20", true, true},
      {"L0:20", "", true, true},
      {"", "L0", false, false},
  };
  for (auto const& row : rows)
    EXPECT_EQ(row.includes, CTextId(row.a).Includes(CTextId(row.b), row.strict))
        << row.a << " > " << row.b << (row.strict ? " strict" : "");
}

TEST(CEntityId, NormalizeJoinsSiblingsAndSortsEveryLevel) {
  struct {
    char const *in, *out;
  } const rows[] = {
      {"L0,E0,C1,W2", "W2,C1,E0,L0"},
      {"L0:20,L0:40,L1:1", "L0:60,L1:1"},
      {"L-1:1,L0:2", "L-1:1,L0:2"},
      {"L0:20,L0", "L0,L0:20"},
      {"W0[L0:20],W0[E0:1,L0:40]", "W0[E0:1,L0:60]"},
      {"W0[C1:1],W0:2", "W0[C1:1],W0:2"},
      {"C2[E0:10],C1[E0:20],C2[E0:1]", "C1[E0:20],C2[E0:11]"},
      {"X0,W0", "X0,W0"},
      {"", ""},
  };
  for (auto const& row : rows) {
    CTextId id(row.in);
    id.Normalize();
    EXPECT_EQ(row.out, id.Text()) << row.in;
  }
}

TEST(CEntityId, MergeAppendsThenNormalizes) {
  struct {
    char const *a, *b, *merged;
  } const rows[] = {
      {"W0[L0:20]", "W0[L0:40]", "W0[L0:60]"},       {"L0", "E0", "E0,L0"},
      {"W0[L0:20]", "W0[E0:10]", "W0[E0:10,L0:20]"}, {"L0", "L0:20", "L0,L0:20"},
      {"", "C1[E0:10],C0", "C0,C1[E0:10]"},          {"C1", "", "C1"},
  };
  for (auto const& row : rows) {
    CTextId id(row.a);
    id.Merge(CTextId(row.b));
    EXPECT_EQ(row.merged, id.Text()) << row.a << " + " << row.b;
  }
}

TEST(CEntityId, MergingItselfKeepsItsSelection) {
  CTextId id("W0[L0:20],E0:10");
  id.Merge(id);
  EXPECT_EQ("W0[L0:20],E0:10", id.Text());
}

TEST(CEntityId, ShrinkLiftsTheTypeToTheTop) {
  struct {
    char const* in;
    std::type_info const& type;
    char const* out;
  } const rows[] = {
      {"W0[L0:20]", typeid(SL::ILoop), "L0:20"},
      {"W0[L0:20,E0:10]", typeid(SL::ILoop), "W0[E0:10],L0:20"},
      {"W0[C1[E0:10],C2]", typeid(SL::IChannel), "C1[E0:10],C2"},
      {"W0[C1[E0:10]],W1[C1[E0:20]]", typeid(SL::IChannel), "C1[E0:30]"},
      {"W0[C1[E0:10]]", typeid(SL::IEnvelope), "E0:10"},
      {"W0:1,L0", typeid(SL::IChannel), "W0:1,L0"},
      {"W0[L0:20],L0:40", typeid(SL::ILoop), "L0:60"},
      {"", typeid(SL::ILoop), ""},
  };
  for (auto const& row : rows) {
    CTextId id(row.in);
    id.Shrink(row.type);
    EXPECT_EQ(row.out, id.Text()) << row.in << " / " << row.type.name();
  }
}

TEST(CEntityId, ExtractKeepsTheElementsTheSelectionIncludes) {
  struct {
    char const *id, *selection, *extracted;
  } const rows[] = {
      {"W0[L0:20],L0:40,E0", "L0", "L0:40"},
      {"L0:20,L1:40", "L-1", "L0:20,L1:40"},
      {"C1,C2", "C1", "C1"},
      {"L0:20", "E0", ""},
      {"", "L0", ""},
      {"L0:20", "", ""},
      {"W0[C1[E0:10],C2:1]", "W0[C-1[E0]]", "W0[C1[E0:10]]"},
      // Each element of the selection that includes an element merges it again.
      {"L0:20", "L0,L-1", "L0:20"},
      {"E0", "E0,E-1", "E0,E0"},
  };
  for (auto const& row : rows)
    EXPECT_EQ(row.extracted, Text(CTextId(row.id).Extract(CTextId(row.selection))))
        << row.id << " / " << row.selection;
}

TEST(CEntityId, ElementsAreThePathsToTheLeaves) {
  CTextId const id("W0[C1[E0:10],L0:20],E0");
  std::vector<std::string> all, envelopes, loops;
  for (auto e = id.Begin(); e != id.End(); ++e) all.push_back(Text(*e));
  for (auto e = id.Begin(typeid(SL::IEnvelope)); e != id.End(); ++e) envelopes.push_back(Text(*e));
  for (auto e = id.Begin(typeid(SL::ILoop)); e != id.End(); ++e) loops.push_back(Text(*e));
  EXPECT_EQ((std::vector<std::string>{"W0[C1[E0:10]]", "W0[L0:20]", "E0"}), all);
  EXPECT_EQ((std::vector<std::string>{"W0[C1[E0:10]]", "E0"}), envelopes);
  EXPECT_EQ((std::vector<std::string>{"W0[L0:20]"}), loops);
}

TEST(CEntityId, BelowNarrowsASelectionToAPath) {
  struct {
    char const *selection, *path, *below;
  } const rows[] = {
      {"W0[C1[E0:10]]", "W0[C-1]", "C1[E0:10]"},
      {"W0", "W0[L0]", "L0"},
      {"W-1[L0:20]", "W0[L0]", "L0:20"},
      {"W0:1", "W0[L0]", ""},
      {"W0[L0:20]", "W0[C-1]", ""},
      {"W0[C1[E0:10],C2]", "W0[C-1[E0]]", "E0:10"},
  };
  for (auto const& row : rows)
    EXPECT_EQ(row.below, Text(CTextId(row.selection).Below(CTextId(row.path))))
        << row.selection << " below " << row.path;
}

TEST(CEntityIdConstraint, TypeNumbersAndNesting) {
  using C = SL::CEntityIdConstraint;
  std::type_info const* const types[] = {&typeid(SL::IWave), &typeid(SL::IChannel),
                                         &typeid(SL::IEnvelope), &typeid(SL::ILoop)};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(i, C::ToTypeId(*types[i]));
    EXPECT_EQ(types[i], C::ToTypeInfo(i));
  }
  EXPECT_EQ(-1, C::ToTypeId(typeid(int)));
  EXPECT_EQ(nullptr, C::ToTypeInfo(4));
  EXPECT_EQ(nullptr, C::ToTypeInfo(-1));

  struct {
    char const* id;
    bool valid;
  } const rows[] = {
      {"", true},        {"W0[C1[E0],E0,L0]", true}, {"C1[E0],E0,L0", true},    {"L0[E0]", false},
      {"E0[L0]", false}, {"C1[L0]", false},          {"W0[W0]", false},         {"C1[W0]", false},
      {"X0", false},     {"W0[X0]", false},          {"W0[C1[E0[E0]]]", false},
  };
  for (auto const& row : rows) EXPECT_EQ(row.valid, C::ClassInvariant(CTextId(row.id))) << row.id;
}

TEST(CEntityIdConstraint, PrintsNodesAndAttributes) {
  using Node = Id::CNode;
  struct {
    Node node;
    int attributes;
    char const* text;
  } const rows[] = {
      {Node(&typeid(SL::ILoop), 0, 0), 0x60, ", (LoopFrame)(JumpFrame)"},
      {Node(&typeid(SL::IEnvelope), 0, 0), 48, ", (Point)(Selection)"},
      {Node(&typeid(SL::IWave), 0, 0), 2, ", (Name)"},
      {Node(&typeid(SL::IChannel), 0, 0), 1, ", (Activity)"},
      {Node(&typeid(SL::IChannel), 0, 0), -1, ""},
      {Node(&typeid(int), 0, 0), 4, ", Invalid"},
      {Node(), 4, ", Invalid"},
  };
  for (auto const& row : rows) {
    std::ostringstream out;
    SL::CEntityIdConstraint::PrintElement(row.node, row.attributes, out);
    EXPECT_EQ(row.text, out.str());
  }
  std::ostringstream out;
  out << Node(&typeid(SL::ILoop), -1, 32) << Node();
  EXPECT_EQ(std::string(typeid(SL::ILoop).name()) + ", -1, 32\nNULL, -2, 0\n", out.str());
}

TEST(CEntityIdConstraint, NodesOrderByTypeNumberIndexAndElement) {
  using Node = Id::CNode;
  Node const ordered[] = {
      Node(&typeid(int), 5, 5),           Node(&typeid(SL::IWave), 0, 9),
      Node(&typeid(SL::IChannel), -1, 0), Node(&typeid(SL::IChannel), 2, 0),
      Node(&typeid(SL::IChannel), 2, 1),  Node(&typeid(SL::ILoop), 0, 0),
  };
  for (int i = 0; i < 6; ++i)
    for (int j = 0; j < 6; ++j) {
      EXPECT_EQ(i < j, ordered[i] < ordered[j]) << i << " < " << j;
      EXPECT_EQ(i == j, ordered[i] == ordered[j]) << i << " == " << j;
    }
  Node a(&typeid(SL::IWave), 1, 2);
  Node b;
  a.Swap(b);
  EXPECT_EQ(Node(), a);
  EXPECT_EQ(Node(&typeid(SL::IWave), 1, 2), b);
  EXPECT_TRUE(a != b);
}
