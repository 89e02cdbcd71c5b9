// The engine's start-up: parts start in the order given and stop in reverse,
// nested scopes share a running part, a failed start leaves nothing running, and
// the driver's registry lives exactly as long as the framework's part.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "forms/DriverProperties.h"
#include "forms/EngineScope.h"
#include "forms/CustomLabel.h"

namespace {

std::vector<std::string> gEvents;

TEnginePart Recording(const std::string& name) {
  if (name == "a") return {name, [] { gEvents.push_back("start a"); }, [] { gEvents.push_back("stop a"); }};
  if (name == "b") return {name, [] { gEvents.push_back("start b"); }, [] { gEvents.push_back("stop b"); }};
  if (name == "c") return {name, [] { gEvents.push_back("start c"); }, [] { gEvents.push_back("stop c"); }};
  return {name, [] { throw std::runtime_error("cannot start"); }, [] { gEvents.push_back("stop broken"); }};
}

class EngineScopeTest : public ::testing::Test {
protected:
  void SetUp() override { gEvents.clear(); }
};

TEST_F(EngineScopeTest, StartsInOrderAndStopsInReverse) {
  {
    TEngineScope scope({Recording("a"), Recording("b"), Recording("c")});
    EXPECT_TRUE(TEngineScope::Running("b"));
    EXPECT_EQ(gEvents, (std::vector<std::string>{"start a", "start b", "start c"}));
  }
  EXPECT_EQ(gEvents, (std::vector<std::string>{"start a", "start b", "start c", "stop c", "stop b", "stop a"}));
  EXPECT_FALSE(TEngineScope::Running("a"));
}

TEST_F(EngineScopeTest, AnInnerScopeNeitherRestartsNorStopsARunningPart) {
  {
    TEngineScope outer({Recording("a")});
    {
      TEngineScope inner({Recording("a"), Recording("b")});
      EXPECT_EQ(gEvents, (std::vector<std::string>{"start a", "start b"}));
    }
    EXPECT_EQ(gEvents, (std::vector<std::string>{"start a", "start b", "stop b"}));
    EXPECT_TRUE(TEngineScope::Running("a"));
  }
  EXPECT_EQ(gEvents.back(), "stop a");
  EXPECT_FALSE(TEngineScope::Running("a"));
}

TEST_F(EngineScopeTest, AFailedStartStopsWhatStartedBeforeItAndPassesTheError) {
  EXPECT_THROW(TEngineScope({Recording("a"), Recording("b"), Recording("broken"), Recording("c")}), std::runtime_error);
  // The broken part never ran, so it is not stopped; c was never reached.
  EXPECT_EQ(gEvents, (std::vector<std::string>{"start a", "start b", "stop b", "stop a"}));
  for (const char* name : {"a", "b", "broken", "c"}) EXPECT_FALSE(TEngineScope::Running(name)) << name;
}

TEST_F(EngineScopeTest, TheRegistryHoldsTheFrameworksPropertiesOnlyWhileItsPartRuns) {
  TLabel label(nullptr);
  label.SetCaption("Вход");
  {
    TEngineScope scope({FormsEnginePart()});
    EXPECT_EQ(TDriverProperties::Read(label, "Caption").value_or("?"), "Вход");
    // Started once although asked twice.
    TEngineScope again({FormsEnginePart()});
    TDriverProperties::Register<TLabel>("Extra", [](TLabel&) { return std::string("x"); });
  }
  EXPECT_FALSE(TDriverProperties::Read(label, "Caption").has_value());
  EXPECT_FALSE(TDriverProperties::Read(label, "Extra").has_value());
  TEngineScope restarted({FormsEnginePart()});
  EXPECT_EQ(TDriverProperties::Read(label, "Caption").value_or("?"), "Вход");
  EXPECT_FALSE(TDriverProperties::Read(label, "Extra").has_value());
}

// A later layer that gives a dumped member again is read and dumped the same way:
// its registration, at the place the member first appeared.
TEST_F(EngineScopeTest, ReadAndDumpAgreeOnTheLatestRegistrationOfAMember) {
  TEngineScope scope({FormsEnginePart()});
  TDriverProperties::Register<TLabel>("Kind", [](TLabel&) { return std::string("first"); }, TDumpAs::Text, "kind");
  TDriverProperties::Register<TLabel>("Level", [](TLabel&) { return std::string("7"); }, TDumpAs::Raw, "level");
  TDriverProperties::Register<TLabel>("Kind", [](TLabel&) { return std::string("later"); }, TDumpAs::Text, "kind");
  TLabel label(nullptr);
  EXPECT_EQ(TDriverProperties::Read(label, "Kind").value_or(""), "later");
  const std::string dump = TDriverProperties::DumpMembers(label);
  EXPECT_NE(dump.find(",\"kind\":\"later\",\"level\":7"), std::string::npos) << dump;
  EXPECT_EQ(dump.find("first"), std::string::npos) << dump;
}

}  // namespace
