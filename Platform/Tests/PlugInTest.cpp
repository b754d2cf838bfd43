// Plug-ins: the fixture bundle TestPlugIn.plugin, built beside the tests,
// registers two factories for one type; one of them has its function in the
// bundle's executable, the other names a function that is not there.
#include "TestSupport.h"

namespace {

#define kTypeText "2F8D4A61-3C7B-4D9E-8A15-0E6F7B8C9D21"
#define kFactoryText "6A4F1C2E-0B5D-4E8A-9C31-7D2E5F6A8B90"
#define kMissingFactoryText "9B3E5D7F-1A2C-4B6E-8D0F-2A4C6E8A0B1D"

class PlugInTest : public PlatformTest {
 protected:
  void SetUp() override {
    PlatformTest::SetUp();
    type_ = CFUUIDCreateFromString(nullptr, CFSTR(kTypeText));
    factory_ = CFUUIDCreateFromString(nullptr, CFSTR(kFactoryText));
    plugIn_ = CreateBundleAt(TEST_PLUGIN_BUNDLE);
    ASSERT_NE(nullptr, plugIn_);
  }
  void TearDown() override {
    if (plugIn_ != nullptr) CFRelease(plugIn_);
    CFRelease(factory_);
    CFRelease(type_);
    PlatformTest::TearDown();
  }

  // Calls the instance's Release through its own table.
  static ULONG ReleaseInstance(void* instance) {
    return (*static_cast<IUnknownVTbl**>(instance))->Release(instance);
  }

  CFUUIDRef type_ = nullptr;
  CFUUIDRef factory_ = nullptr;
  CFPlugInRef plugIn_ = nullptr;
};

TEST_F(PlugInTest, FactoriesAreFoundForTheirTypeInInfoPlistOrder) {
  EXPECT_EQ(CFBundleGetTypeID(), CFPlugInGetTypeID());
  CFArrayRef factories = CFPlugInFindFactoriesForPlugInType(type_);
  ASSERT_EQ(2, CFArrayGetCount(factories));
  EXPECT_TRUE(CFEqual(factory_, CFArrayGetValueAtIndex(factories, 0)));
  CFUUIDRef missing = CFUUIDCreateFromString(nullptr, CFSTR(kMissingFactoryText));
  EXPECT_TRUE(CFEqual(missing, CFArrayGetValueAtIndex(factories, 1)));
  CFRelease(missing);
  CFRelease(factories);

  CFArrayRef none = CFPlugInFindFactoriesForPlugInType(factory_);  // not a type
  EXPECT_EQ(0, CFArrayGetCount(none));
  CFRelease(none);
}

TEST_F(PlugInTest, RegistrationEndsWithTheBundle) {
  CFRelease(plugIn_);
  plugIn_ = nullptr;
  CFArrayRef factories = CFPlugInFindFactoriesForPlugInType(type_);
  EXPECT_EQ(0, CFArrayGetCount(factories));
  CFRelease(factories);
  EXPECT_EQ(nullptr, CFPlugInInstanceCreate(nullptr, factory_, type_));
}

TEST_F(PlugInTest, InstanceComesFromTheFactoryFunctionAndIsCounted) {
  EXPECT_EQ(0, SimGetFactoryInstanceCount(factory_));
  void* first = CFPlugInInstanceCreate(nullptr, factory_, type_);
  ASSERT_NE(nullptr, first);
  EXPECT_EQ(1, SimGetFactoryInstanceCount(factory_));

  IUnknownVTbl* table = *static_cast<IUnknownVTbl**>(first);
  LPVOID same = nullptr;
  CFUUIDBytes unknown = CFUUIDGetUUIDBytes(IUnknownUUID);
  EXPECT_EQ(S_OK, table->QueryInterface(first, unknown, &same));
  EXPECT_EQ(first, same);
  LPVOID other = &other;
  EXPECT_EQ(E_NOINTERFACE, table->QueryInterface(first, CFUUIDGetUUIDBytes(type_), &other));
  EXPECT_EQ(nullptr, other);
  EXPECT_EQ(1, SimGetFactoryInstanceCount(factory_));  // references are not instances

  void* second = CFPlugInInstanceCreate(nullptr, factory_, type_);
  ASSERT_NE(nullptr, second);
  EXPECT_NE(first, second);
  EXPECT_EQ(2, SimGetFactoryInstanceCount(factory_));

  EXPECT_EQ(1u, ReleaseInstance(first));
  EXPECT_EQ(0u, ReleaseInstance(first));
  EXPECT_EQ(1, SimGetFactoryInstanceCount(factory_));
  EXPECT_EQ(0u, ReleaseInstance(second));
  EXPECT_EQ(0, SimGetFactoryInstanceCount(factory_));
}

TEST_F(PlugInTest, InstancesKeepTheirBundleAlive) {
  void* instance = CFPlugInInstanceCreate(nullptr, factory_, type_);
  ASSERT_NE(nullptr, instance);
  CFRelease(plugIn_);  // the host lets go first
  plugIn_ = nullptr;
  EXPECT_NE(nullptr, CFBundleGetBundleWithIdentifier(CFSTR("com.zelvo.test.PlatformTestPlugIn")));
  EXPECT_EQ(0u, ReleaseInstance(instance));  // its code is still there to run
  EXPECT_EQ(nullptr, CFBundleGetBundleWithIdentifier(CFSTR("com.zelvo.test.PlatformTestPlugIn")));
}

TEST_F(PlugInTest, FactoryWhoseFunctionIsMissingMakesNothing) {
  CFUUIDRef missing = CFUUIDCreateFromString(nullptr, CFSTR(kMissingFactoryText));
  EXPECT_EQ(nullptr, CFPlugInInstanceCreate(nullptr, missing, type_));
  EXPECT_EQ(0, SimGetFactoryInstanceCount(missing));
  CFRelease(missing);
}

TEST_F(PlugInTest, FactoryIsNotAskedForATypeItDoesNotMake) {
  EXPECT_EQ(nullptr, CFPlugInInstanceCreate(nullptr, factory_, IUnknownUUID));
  EXPECT_EQ(0, SimGetFactoryInstanceCount(factory_));
}

TEST_F(PlugInTest, HostAndPlugInShareOneRegistryOfBundles) {
  auto ownBundle = reinterpret_cast<CFBundleRef (*)(void)>(
      CFBundleGetFunctionPointerForName(plugIn_, CFSTR("TestPlugInOwnBundle")));
  ASSERT_NE(nullptr, ownBundle);
  EXPECT_EQ(plugIn_, ownBundle());
  EXPECT_EQ(nullptr, CFBundleGetFunctionPointerForName(plugIn_, CFSTR("NoSuchFunction")));
}

TEST_F(PlugInTest, CountsAreKeptForFactoriesNoBundleRegisters) {
  CFUUIDRef loose = CFUUIDCreateFromString(nullptr, CFSTR("11111111-2222-3333-4444-555555555555"));
  CFPlugInRemoveInstanceForFactory(loose);  // nothing to remove: stays at 0
  EXPECT_EQ(0, SimGetFactoryInstanceCount(loose));
  CFPlugInAddInstanceForFactory(loose);
  CFPlugInAddInstanceForFactory(loose);
  EXPECT_EQ(2, SimGetFactoryInstanceCount(loose));
  CFPlugInRemoveInstanceForFactory(loose);
  CFPlugInRemoveInstanceForFactory(loose);
  CFPlugInRemoveInstanceForFactory(loose);
  EXPECT_EQ(0, SimGetFactoryInstanceCount(loose));
  CFRelease(loose);
}

}  // namespace
