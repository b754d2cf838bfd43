// Reference counting, equality, arrays, numbers, Booleans and UUIDs.
#include <cstring>

#include "TestSupport.h"

namespace {

using CFTypesTest = PlatformTest;

TEST_F(CFTypesTest, ReferenceCountsComeOutEvenAndTheLastReleaseFrees) {
  const CFIndex before = SimGetLiveCFObjectCount();
  CFStringRef string = MakeString("text");
  EXPECT_EQ(before + 1, SimGetLiveCFObjectCount());
  EXPECT_EQ(1, CFGetRetainCount(string));
  EXPECT_EQ(string, CFRetain(string));
  EXPECT_EQ(2, CFGetRetainCount(string));
  CFRelease(string);
  EXPECT_EQ(1, CFGetRetainCount(string));
  CFRelease(string);
  EXPECT_EQ(before, SimGetLiveCFObjectCount());
}

TEST_F(CFTypesTest, ConstantsAreInternedAndOutliveAnyRelease) {
  const CFIndex before = SimGetLiveCFObjectCount();
  CFStringRef a = CFSTR("Job Log");
  CFStringRef b = CFSTR("Job Log");
  EXPECT_EQ(a, b);
  CFRelease(CFRetain(a));
  CFRelease(a);  // one release too many for a normal object, none for a constant
  EXPECT_EQ("Job Log", Str(a));
  EXPECT_EQ(before, SimGetLiveCFObjectCount());
  EXPECT_NE(CFSTR("Job Log"), CFSTR("Job log"));
}

TEST_F(CFTypesTest, ArrayWithTypeCallBacksRetainsWhatIsAppendedAndReleasesItWhenFreed) {
  const CFIndex before = SimGetLiveCFObjectCount();
  CFMutableArrayRef array = CFArrayCreateMutable(kCFAllocatorDefault, 0, &kCFTypeArrayCallBacks);
  CFStringRef string = MakeString("title");
  CFArrayAppendValue(array, string);
  EXPECT_EQ(2, CFGetRetainCount(string));
  CFRelease(string);  // the caller's reference, released right after appending
  ASSERT_EQ(1, CFArrayGetCount(array));
  EXPECT_EQ("title", Str(static_cast<CFStringRef>(CFArrayGetValueAtIndex(array, 0))));
  CFRelease(array);
  EXPECT_EQ(before, SimGetLiveCFObjectCount());  // the string went with the array
}

TEST_F(CFTypesTest, ArrayWithoutCallBacksStoresPointersAsTheyAre) {
  CFMutableArrayRef array = CFArrayCreateMutable(kCFAllocatorDefault, 0, nullptr);
  CFStringRef string = MakeString("borrowed");
  CFArrayAppendValue(array, string);
  EXPECT_EQ(1, CFGetRetainCount(string));
  CFRelease(array);
  EXPECT_EQ(1, CFGetRetainCount(string));
  CFRelease(string);
}

TEST_F(CFTypesTest, EqualityFollowsTypeAndContent) {
  CFStringRef text = MakeString("3");
  CFStringRef sameText = MakeString("3");
  SInt32 three = 3;
  double threeReal = 3.0;
  double threeAndABit = 3.5;
  CFNumberRef integer = CFNumberCreate(nullptr, kCFNumberSInt32Type, &three);
  CFNumberRef real = CFNumberCreate(nullptr, kCFNumberDoubleType, &threeReal);
  CFNumberRef other = CFNumberCreate(nullptr, kCFNumberDoubleType, &threeAndABit);
  EXPECT_TRUE(CFEqual(text, sameText));
  EXPECT_TRUE(CFEqual(integer, real));
  EXPECT_FALSE(CFEqual(integer, other));
  EXPECT_FALSE(CFEqual(text, integer));
  EXPECT_FALSE(CFEqual(kCFBooleanTrue, kCFBooleanFalse));
  EXPECT_EQ(CFStringGetTypeID(), CFGetTypeID(text));
  EXPECT_EQ(CFNumberGetTypeID(), CFGetTypeID(real));
  EXPECT_EQ(CFBooleanGetTypeID(), CFGetTypeID(kCFBooleanTrue));
  EXPECT_NE(CFStringGetTypeID(), CFNumberGetTypeID());
  for (CFTypeRef object : {CFTypeRef(text), CFTypeRef(sameText), CFTypeRef(integer), CFTypeRef(real),
                           CFTypeRef(other)}) {
    CFRelease(object);
  }
}

TEST_F(CFTypesTest, BooleansAreConstants) {
  EXPECT_TRUE(CFBooleanGetValue(kCFBooleanTrue));
  EXPECT_FALSE(CFBooleanGetValue(kCFBooleanFalse));
  CFRelease(kCFBooleanTrue);
  EXPECT_TRUE(CFBooleanGetValue(kCFBooleanTrue));
}

// A number made from 64 bits, read back as another type.
struct NumberCase {
  const char* name;
  bool real;
  int64_t integer;
  double realValue;
  CFNumberType readAs;
  bool exact;
  double expected;  // the value stored, whatever its exactness
};

// Names the case in the test's name.
void PrintTo(const NumberCase& c, std::ostream* os) { *os << c.name; }

class NumberConversionTest : public PlatformTest, public ::testing::WithParamInterface<NumberCase> {};

TEST_P(NumberConversionTest, GetValueStoresTheConvertedValueAndReportsLoss) {
  const NumberCase& c = GetParam();
  CFNumberRef number = c.real ? CFNumberCreate(nullptr, kCFNumberFloat64Type, &c.realValue)
                              : CFNumberCreate(nullptr, kCFNumberSInt64Type, &c.integer);
  ASSERT_NE(nullptr, number);
  union {
    SInt8 s8;
    SInt16 s16;
    SInt32 s32;
    SInt64 s64;
    long l;
    float f;
    double d;
  } out;
  std::memset(&out, 0, sizeof out);
  EXPECT_EQ(c.exact, CFNumberGetValue(number, c.readAs, &out));
  double got;
  switch (c.readAs) {
    case kCFNumberSInt8Type: got = out.s8; break;
    case kCFNumberSInt16Type: got = out.s16; break;
    case kCFNumberSInt32Type: got = out.s32; break;
    case kCFNumberSInt64Type: got = static_cast<double>(out.s64); break;
    case kCFNumberLongType: got = static_cast<double>(out.l); break;
    case kCFNumberFloat32Type: got = out.f; break;
    default: got = out.d; break;
  }
  EXPECT_EQ(c.expected, got);
  CFRelease(number);
}

INSTANTIATE_TEST_SUITE_P(
    Conversions, NumberConversionTest,
    ::testing::Values(
        NumberCase{"SmallIntoSInt8", false, 100, 0, kCFNumberSInt8Type, true, 100},
        NumberCase{"TooBigForSInt8", false, 300, 0, kCFNumberSInt8Type, false, 44},
        NumberCase{"NegativeIntoSInt16", false, -2, 0, kCFNumberSInt16Type, true, -2},
        NumberCase{"AddressAbove4GiBIntoSInt32", false, 0x123456789AB, 0, kCFNumberSInt32Type, false,
                   static_cast<double>(static_cast<SInt32>(0x456789AB))},
        NumberCase{"AddressAbove4GiBIntoLong", false, 0x123456789AB, 0, kCFNumberLongType, true,
                   static_cast<double>(0x123456789AB)},
        NumberCase{"FractionIntoSInt32", true, 0, 2.5, kCFNumberSInt32Type, false, 2},
        NumberCase{"WholeRealIntoSInt32", true, 0, -7.0, kCFNumberSInt32Type, true, -7},
        NumberCase{"BeyondDoublePrecision", false, (int64_t{1} << 53) + 1, 0, kCFNumberFloat64Type,
                   false, 9007199254740992.0},
        NumberCase{"TenthIntoFloat32", true, 0, 0.1, kCFNumberFloat32Type, false,
                   static_cast<double>(0.1f)},
        NumberCase{"HalfIntoFloat32", true, 0, 0.5, kCFNumberFloat32Type, true, 0.5}),
    CaseName<NumberCase>);

TEST_F(CFTypesTest, UnknownNumberTypeMakesNoNumber) {
  int value = 1;
  EXPECT_EQ(nullptr, CFNumberCreate(nullptr, 99, &value));
}

TEST_F(CFTypesTest, UUIDsFromTextAndBytesAreEqualByTheirBytes) {
  CFUUIDRef upper = CFUUIDCreateFromString(nullptr, CFSTR("BDB091F4-E57F-11D3-B5CC-0050E4603277"));
  CFUUIDRef lower = CFUUIDCreateFromString(nullptr, CFSTR("bdb091f4-e57f-11d3-b5cc-0050e4603277"));
  ASSERT_NE(nullptr, upper);
  ASSERT_NE(nullptr, lower);
  EXPECT_NE(upper, lower);
  EXPECT_TRUE(CFEqual(upper, lower));
  CFUUIDBytes bytes = CFUUIDGetUUIDBytes(upper);
  EXPECT_EQ(0xBD, bytes.byte0);
  EXPECT_EQ(0x77, bytes.byte15);
  CFUUIDRef fromBytes = CFUUIDCreateFromUUIDBytes(nullptr, bytes);
  EXPECT_TRUE(CFEqual(upper, fromBytes));
  EXPECT_EQ("BDB091F4-E57F-11D3-B5CC-0050E4603277", Take(CFUUIDCreateString(nullptr, lower)));
  CFUUIDRef other = CFUUIDCreateFromString(nullptr, CFSTR("A996FD7E-B738-11D3-8519-0050E4603277"));
  EXPECT_FALSE(CFEqual(upper, other));
  for (CFTypeRef uuid : {CFTypeRef(upper), CFTypeRef(lower), CFTypeRef(fromBytes), CFTypeRef(other)}) {
    CFRelease(uuid);
  }
}

TEST_F(CFTypesTest, MalformedUUIDTextGivesNull) {
  const char* const malformed[] = {
      "",
      "BDB091F4-E57F-11D3-B5CC-0050E460327",    // one digit short
      "BDB091F4-E57F-11D3-B5CC-0050E46032770",  // one digit more
      "BDB091F4E57F-11D3-B5CC-0050E4603277-",   // dash out of place
      "BDB091F4-E57F-11D3-B5CC-0050E460327G",   // not hex
      "{BDB091F4-E57F-11D3-B5CC-0050E4603277}",
      "BDB091F4 E57F 11D3 B5CC 0050E4603277",
  };
  for (const char* text : malformed) {
    CFStringRef string = MakeString(text);
    EXPECT_EQ(nullptr, CFUUIDCreateFromString(nullptr, string)) << text;
    CFRelease(string);
  }
  EXPECT_EQ(nullptr, CFUUIDCreateFromString(nullptr, nullptr));
}

TEST_F(CFTypesTest, ConstantUUIDIsMadeOnceAndNeverFreed) {
  CFUUIDRef first = IUnknownUUID;
  CFUUIDRef second = IUnknownUUID;
  EXPECT_EQ(first, second);
  CFRelease(first);
  CFUUIDBytes bytes = CFUUIDGetUUIDBytes(second);
  const UInt8 expected[16] = {0, 0, 0, 0, 0, 0, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46};
  EXPECT_EQ(0, std::memcmp(&bytes, expected, sizeof expected));
  CFUUIDRef made = CFUUIDCreateFromString(nullptr, CFSTR("00000000-0000-0000-C000-000000000046"));
  EXPECT_TRUE(CFEqual(made, first));
  CFRelease(made);
}

using CFTypesDeathTest = PlatformTest;

TEST_F(CFTypesDeathTest, ReleasingNullStopsWithAMessage) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_DEATH(CFRelease(nullptr), "CFRelease\\(NULL\\)");
}

TEST_F(CFTypesDeathTest, IndexOutsideAnArrayStopsWithAMessage) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  CFMutableArrayRef array = CFArrayCreateMutable(nullptr, 0, &kCFTypeArrayCallBacks);
  EXPECT_DEATH(CFArrayGetValueAtIndex(array, 0), "index 0 outside an array of 0");
  CFRelease(array);
}

}  // namespace
