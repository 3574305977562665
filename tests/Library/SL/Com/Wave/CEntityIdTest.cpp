#include "SL/Com/Wave/CEntityId.h"

#include <gtest/gtest.h>

#include <sstream>

#include "SL/Com/Wave/IChannel.h"
#include "SL/Com/Wave/IEntity.h"
#include "SL/Com/Wave/IEnvelope.h"
#include "SL/Com/Wave/ILoop.h"
#include "SL/Com/Wave/IWave.h"

namespace {

using SL::CEntityId;

CEntityId LoopId(int mask) { return CEntityId().Set<SL::ILoop>(0).Attribute(mask); }
CEntityId WaveLoop(int mask) {
  return CEntityId().Set<SL::IWave>(0).Set<SL::ILoop>(0).Attribute(mask);
}

int ElementCount(CEntityId const& id) {
  int n = 0;
  for (auto it = id.Begin(); it != id.End(); ++it) ++n;
  return n;
}

TEST(CEntityId, EmptyIdIsCopyAll) {
  CEntityId id;
  EXPECT_TRUE(id.IsEmpty());
  EXPECT_EQ(0, ElementCount(id));
  EXPECT_EQ(0, id.GetAttributes());
  EXPECT_TRUE(id.IsAttributeNull());
  EXPECT_TRUE(id == SL::IEntity::sCopyAll);
  EXPECT_FALSE(CEntityId().Set<SL::ILoop>(0) == SL::IEntity::sCopyAll);
  EXPECT_FALSE(id.Intersects(LoopId(0), false));
}

TEST(CEntityId, IntersectsByMaskWithZeroAsWildcard) {
  EXPECT_TRUE(CEntityId().Set<SL::ILoop>(0).Intersects(LoopId(-1), false));
  EXPECT_TRUE(LoopId(0x20).Intersects(LoopId(0x60), false));
  EXPECT_FALSE(LoopId(0x20).Intersects(LoopId(0x40), false));
  EXPECT_FALSE(LoopId(0x20).Intersects(CEntityId().Set<SL::IEnvelope>(0).Attribute(0x20), false));
  // A leaf against a node with children: only when not strict and the leaf is whole.
  CEntityId wave = CEntityId().Set<SL::IWave>(0);
  EXPECT_TRUE(wave.Intersects(WaveLoop(0x20), false));
  EXPECT_FALSE(wave.Intersects(WaveLoop(0x20), true));
  EXPECT_FALSE(CEntityId().Set<SL::IWave>(0).Attribute(1).Intersects(WaveLoop(0x20), false));
}

TEST(CEntityId, AnyIndexMatchesEveryIndex) {
  CEntityId any = CEntityId().Set<SL::IChannel>(-1);
  CEntityId three = CEntityId().Set<SL::IChannel>(3).Attribute(0x80);
  EXPECT_TRUE(any.Intersects(three, false));
  EXPECT_TRUE(any.Includes(three, false));
  EXPECT_TRUE(three.Intersects(any, false));
  EXPECT_FALSE(CEntityId().Set<SL::IChannel>(2).Intersects(three, false));
}

TEST(CEntityId, IncludesNeedsEveryBit) {
  EXPECT_TRUE(LoopId(0x60).Includes(LoopId(0x20), false));
  EXPECT_FALSE(LoopId(0x20).Includes(LoopId(0x60), false));
  EXPECT_TRUE(LoopId(0).Includes(LoopId(0x20), false));
  EXPECT_FALSE(LoopId(0x20).Includes(LoopId(0), false));
  // A node with children never covers a leaf; a whole leaf covers a subtree unless strict.
  EXPECT_FALSE(WaveLoop(0x20).Includes(CEntityId().Set<SL::IWave>(0), false));
  EXPECT_TRUE(CEntityId().Set<SL::IWave>(0).Includes(WaveLoop(0x20), false));
  EXPECT_FALSE(CEntityId().Set<SL::IWave>(0).Includes(WaveLoop(0x20), true));
}

TEST(CEntityId, MergeJoinsPathsAndOrsMasks) {
  CEntityId id = WaveLoop(0x20);
  id.Merge(WaveLoop(0x40));
  EXPECT_TRUE(id == WaveLoop(0x60));
  EXPECT_EQ(1, ElementCount(id));
  EXPECT_EQ(0x60, id.GetAttributes());
}

TEST(CEntityId, NormaliseSortsByTypeNumber) {
  CEntityId id = CEntityId().Set<SL::IWave>(0).Set<SL::ILoop>(0);
  id.Merge(CEntityId().Set<SL::IWave>(0).Set<SL::IEnvelope>(0));
  id.Merge(CEntityId().Set<SL::IWave>(0).Set<SL::IChannel>(1));
  std::vector<CEntityId> elements;
  for (auto it = id.Begin(); it != id.End(); ++it) elements.push_back(*it);
  ASSERT_EQ(3u, elements.size());
  EXPECT_TRUE(elements[0] == CEntityId().Set<SL::IWave>(0).Set<SL::IChannel>(1));
  EXPECT_TRUE(elements[1] == CEntityId().Set<SL::IWave>(0).Set<SL::IEnvelope>(0));
  EXPECT_TRUE(elements[2] == CEntityId().Set<SL::IWave>(0).Set<SL::ILoop>(0));
}

TEST(CEntityId, ShrinkLiftsSubtreesOfTheType) {
  CEntityId id = WaveLoop(0x20);
  id.Shrink(typeid(SL::ILoop));
  EXPECT_TRUE(id == LoopId(0x20));

  CEntityId mixed =
      CEntityId().Set<SL::IWave>(0).Set<SL::IChannel>(1).Set<SL::IEnvelope>(0).Attribute(16);
  mixed.Merge(CEntityId().Set<SL::IWave>(0).Attribute(2));
  mixed.Shrink(typeid(SL::IEnvelope));
  CEntityId expected = CEntityId().Set<SL::IWave>(0).Attribute(2);
  expected.Merge(CEntityId().Set<SL::IEnvelope>(0).Attribute(16));
  EXPECT_TRUE(mixed == expected);
}

TEST(CEntityId, ExtractKeepsTheElementsTheSelectionIncludes) {
  CEntityId id = WaveLoop(0x20);
  id.Merge(CEntityId().Set<SL::IChannel>(2).Attribute(0x80));
  CEntityId loops = id.Extract(CEntityId().Set<SL::IWave>(-1).Set<SL::ILoop>(0));
  EXPECT_TRUE(loops == WaveLoop(0x20));
  EXPECT_TRUE(id.Extract(CEntityId().Set<SL::IEnvelope>(0)).IsEmpty());
  EXPECT_TRUE(CEntityId().Extract(LoopId(0)).IsEmpty());
}

TEST(CEntityId, BelowNarrowsASelectionToTheEntityUnderAPath) {
  CEntityId const path = CEntityId().Set<SL::IWave>(-1).Set<SL::ILoop>(0);
  // Naming the wave alone selects the whole loop.
  EXPECT_TRUE(CEntityId().Set<SL::IWave>(0).Below(path) == LoopId(0));
  // A part of the loop comes back headed by the loop.
  EXPECT_TRUE(WaveLoop(0x40).Below(path) == LoopId(0x40));
  // A selection of other attributes of the wave reaches no loop.
  EXPECT_TRUE(CEntityId().Set<SL::IWave>(0).Attribute(0x10).Below(path).IsEmpty());
  CEntityId const channels = CEntityId().Set<SL::IWave>(0).Set<SL::IChannel>(1).Attribute(0x80);
  EXPECT_TRUE(channels.Below(path).IsEmpty());
  EXPECT_TRUE(channels.Below(CEntityId().Set<SL::IWave>(-1).Set<SL::IChannel>(-1)) ==
              CEntityId().Set<SL::IChannel>(1).Attribute(0x80));
}

TEST(CEntityId, CopiesAreDeepAndDoNotBuild) {
  CEntityId original;
  original.Set<SL::IChannel>(0);
  CEntityId copy(original);
  copy.Set<SL::IWave>(0);
  EXPECT_TRUE(copy == original);
  copy.Attribute(4);
  EXPECT_TRUE(copy == original);
  CEntityId assigned;
  assigned = original;
  original.Attribute(8);
  EXPECT_EQ(0, assigned.GetAttributes());
  EXPECT_EQ(8, original.GetAttributes());
}

TEST(CEntityId, SetAttributesChangesOnlyANonZeroFirstLeaf) {
  CEntityId whole = LoopId(0);
  whole.SetAttributes(4);
  EXPECT_EQ(0, whole.GetAttributes());
  CEntityId some = LoopId(2);
  some.SetAttributes(4);
  EXPECT_EQ(4, some.GetAttributes());
}

TEST(CEntityId, ConstraintNumbersTypesAndChecksNesting) {
  EXPECT_EQ(0, SL::CEntityIdConstraint::ToTypeId(typeid(SL::IWave)));
  EXPECT_EQ(3, SL::CEntityIdConstraint::ToTypeId(typeid(SL::ILoop)));
  EXPECT_EQ(-1, SL::CEntityIdConstraint::ToTypeId(typeid(int)));
  EXPECT_EQ(&typeid(SL::IEnvelope), SL::CEntityIdConstraint::ToTypeInfo(2));
  EXPECT_EQ(nullptr, SL::CEntityIdConstraint::ToTypeInfo(7));
  EXPECT_TRUE(SL::CEntityIdConstraint::ClassInvariant(WaveLoop(1)));
  EXPECT_TRUE(SL::CEntityIdConstraint::ClassInvariant(
      CEntityId().Set<SL::IWave>(0).Set<SL::IChannel>(0).Set<SL::IEnvelope>(0)));
  EXPECT_FALSE(
      SL::CEntityIdConstraint::ClassInvariant(CEntityId().Set<SL::ILoop>(0).Set<SL::IWave>(0)));
  EXPECT_FALSE(
      SL::CEntityIdConstraint::ClassInvariant(CEntityId().Set<SL::IChannel>(0).Set<SL::ILoop>(0)));
}

TEST(CEntityId, PrintsElementsAndAttributeTexts) {
  std::ostringstream text;
  SL::CEntityId::CNode node(&typeid(SL::ILoop), 0, 0x60);
  SL::CEntityIdConstraint::PrintElement(node, 0x60, text);
  EXPECT_EQ(", (LoopFrame)(JumpFrame)", text.str());
  std::ostringstream none;
  SL::CEntityIdConstraint::PrintElement(node, -1, none);
  EXPECT_EQ("", none.str());
  std::ostringstream invalid;
  SL::CEntityIdConstraint::PrintElement(SL::CEntityId::CNode(), 1, invalid);
  EXPECT_EQ(", Invalid", invalid.str());
  std::ostringstream root;
  root << SL::CEntityId::CNode();
  EXPECT_EQ("NULL, -2, 0\n", root.str());
}

}  // namespace
