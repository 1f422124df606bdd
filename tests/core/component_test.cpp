// Components: holders are told when what they refer to goes away; properties round-trip through files.
#include "core/component.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <sstream>

#include "support/core_helper.h"

namespace zel::test {
namespace {

// A holder that remembers what it was told, and a property set with data and settings.
class Probe : public TZelComponent {
 public:
  std::vector<TZelComponent*> removed;
  std::string setting = "fast";
  std::string data = "line 1\nline 2 \\ end\r";
  void ReferenceRemoved(TZelComponent* c) override { removed.push_back(c); }
  void WriteProperties(TProperties& dst) const override {
    TZelComponent::WriteProperties(dst);
    dst.emplace_back("Setting", setting);
    if (!TemplateMode()) dst.emplace_back("Data", data);
  }
  void ReadProperties(const TProperties& src) override {
    TZelComponent::ReadProperties(src);
    if (auto* v = FindProperty(src, "Setting")) setting = *v;
    if (auto* v = FindProperty(src, "Data")) data = *v;
  }
  std::string ClassName() const override { return "Probe"; }
};

TEST(Component, HoldersAreToldWhenTheSourceGoes) {
  Probe holder, other;
  auto source = std::make_unique<Probe>();
  source->AddReference(&holder);
  source->AddReference(&holder);  // one entry
  source->AddReference(&other);
  EXPECT_EQ(source->HolderCount(), 2);
  source->RemoveReference(&other, false);
  EXPECT_TRUE(other.removed.empty());
  TZelComponent* raw = source.get();
  source.reset();
  EXPECT_EQ(holder.removed, std::vector<TZelComponent*>{raw});
  EXPECT_TRUE(other.removed.empty());

  // A holder destroyed first leaves the source's list: destroying the source later touches nothing freed.
  auto second = std::make_unique<Probe>();
  {
    Probe shortLived;
    second->AddReference(&shortLived);
    second->AddReference(&holder);
  }
  EXPECT_EQ(second->HolderCount(), 1);
  second->RemoveReference(&holder, true);
  EXPECT_EQ(holder.removed.size(), 2u);
}

TEST(Component, PropertiesRoundTripThroughAFile) {
  const std::string file = ::testing::TempDir() + "component_test.cfg";
  Probe saved;
  saved.SetName("probe 1");
  saved.SaveToFile(file);
  Probe loaded;
  loaded.setting = loaded.data = "";
  loaded.LoadFromFile(file);
  EXPECT_EQ(loaded.Name(), "probe 1");
  EXPECT_EQ(loaded.setting, saved.setting);
  EXPECT_EQ(loaded.data, saved.data);

  // A template carries the settings only.
  saved.setting = "slow";
  saved.SetTemplateMode(true);
  saved.SaveToFile(file);
  loaded.LoadFromFile(file);
  EXPECT_EQ(loaded.setting, "slow");
  EXPECT_EQ(loaded.data, saved.data);  // kept from before: the template has no data
  std::remove(file.c_str());
}

TEST(Component, RefusesOtherClassesAndBrokenStreams) {
  Probe p;
  const struct {
    const char* text;
    const char* message;
  } cases[] = {
      {"object Other\nend\n", "Cannot load Other into a Probe"},
      {"", "Cannot load no component into a Probe"},
      {"object Probe\nName\nend\n", "Component stream read error: \"Name\" is not name=value"},
      {"object Probe\nName=x\n", "Component stream read error: the stream ends before \"end\""},
  };
  for (const auto& c : cases) {
    std::istringstream in(c.text);
    EXPECT_EQ(MessageOf([&] { p.LoadFromStream(in); }), c.message);
  }
  EXPECT_EQ(MessageOf([&] { p.LoadFromFile("/nonexistent/x.cfg"); }), "File not found: /nonexistent/x.cfg");
  EXPECT_EQ(MessageOf([&] { p.SaveToFile("/nonexistent/x.cfg"); }), "Cannot create file: /nonexistent/x.cfg");
}

}  // namespace
}  // namespace zel::test
