// The plug-in instance, the dialog-extension interface records and the
// dispatchers, driven as the printing system drives them, with a pane that
// records which of its operations ran and with what.
#include <string>
#include <vector>

#include "CPDEPlugin.h"
#include "FaultInjection.h"
#include "PDEInterface.h"
#include "PluginTestSupport.h"

namespace {

#define kTestFactoryText "3E8A1C52-7B64-4F0D-9A2E-5C1B7D9F0E34"

// What the recording pane saw, and what its operations answer.
struct Recorder {
  std::vector<std::string> calls;
  PMPDEFlags* flags = nullptr;
  PMPDERef ref = nullptr;
  ControlRef parentUserPane = nullptr;
  PMPrintSession session = nullptr;
  CFMutableArrayRef titles = nullptr;
  CFMutableArrayRef values = nullptr;
  OSStatus result = noErr;  // what every operation returns
  bool appendToSummary = false;
};
Recorder gRecorder;

class RecordingPane : public CPDEPlugin {
 public:
  RecordingPane() : CPDEPlugin(CFSTR("com.zelvo.test.NoSuchBundle")) {}
  ~RecordingPane() override { gRecorder.calls.push_back("destroyed"); }

  OSStatus CreateUI(PMPDEFlags* flags, PMPDERef ref, ControlRef parentUserPane,
                    PMPrintSession printSession) override {
    gRecorder.calls.push_back("CreateUI");
    gRecorder.flags = flags;
    gRecorder.ref = ref;
    gRecorder.parentUserPane = parentUserPane;
    gRecorder.session = printSession;
    return gRecorder.result;
  }
  OSStatus OnOpenUI() override { return Record("OnOpenUI"); }
  OSStatus OnCloseUI() override { return Record("OnCloseUI"); }
  OSStatus GetSummaryText(CFMutableArrayRef titleArray, CFMutableArrayRef summaryArray) override {
    gRecorder.titles = titleArray;
    gRecorder.values = summaryArray;
    if (gRecorder.appendToSummary) {
      CFArrayAppendValue(titleArray, CFSTR("Title"));
      CFArrayAppendValue(summaryArray, CFSTR("Value"));
    }
    return Record("GetSummaryText");
  }
  OSStatus TicketToUI(PMPrintSession session) override {
    gRecorder.session = session;
    return Record("TicketToUI");
  }
  OSStatus UIToTicket(PMPrintSession session) override {
    gRecorder.session = session;
    return Record("UIToTicket");
  }

 private:
  static OSStatus Record(const char* call) {
    gRecorder.calls.push_back(call);
    return gRecorder.result;
  }
};

OSStatus RecordingPrologue(PMPDEContext* context, OSType* creator, CFStringRef* userOptionKind,
                           CFStringRef* title, UInt32* maxH, UInt32* maxV) {
  *context = reinterpret_cast<PMPDEContext>(static_cast<CPDEPlugin*>(new RecordingPane()));
  *creator = 0;
  *userOptionKind = CFSTR("com.zelvo.test.Kind");
  *title = CFSTR("Recording");
  *maxH = 1;
  *maxV = 2;
  return noErr;
}

OSStatus OtherPrologue(PMPDEContext*, OSType*, CFStringRef*, CFStringRef*, UInt32*, UInt32*) {
  return -1;
}

IUnknownVTbl* UnknownTable(void* instance) { return *static_cast<IUnknownVTbl**>(instance); }

class PDEInterfaceTest : public LeakCheckedTest {
 protected:
  void SetUp() override {
    LeakCheckedTest::SetUp();
    gRecorder = Recorder();
    factory_.reset(CFUUIDCreateFromString(nullptr, CFSTR(kTestFactoryText)));
    pdeType_.reset(CFUUIDCreateFromString(nullptr, CFSTR(kPDEPlugInTypeIDString)));
    pdeInterface_.reset(CFUUIDCreateFromString(nullptr, CFSTR(kPDEInterfaceIDString)));
  }
  void TearDown() override {
    FailCallocAfter(-1);
    factory_.reset();
    pdeType_.reset();
    pdeInterface_.reset();
    LeakCheckedTest::TearDown();
  }

  void* MakeInstance(PrologueProcPtr prologue = RecordingPrologue) {
    return PluginFactory(nullptr, pdeType_.get(), CFSTR(kTestFactoryText), prologue);
  }
  static ULONG ReleaseInstance(void* instance) { return UnknownTable(instance)->Release(instance); }

  PlugInIntf* QueryDialogExtension(void* instance, HRESULT* result = nullptr) {
    LPVOID interface = &interface;  // must be overwritten
    HRESULT status = UnknownTable(instance)->QueryInterface(
        instance, CFUUIDGetUUIDBytes(pdeInterface_.get()), &interface);
    if (result != nullptr) *result = status;
    return static_cast<PlugInIntf*>(interface);
  }
  static void ReleaseInterface(PlugInIntf* interface) {
    PMPlugInHeaderInterface* header = reinterpret_cast<PMPlugInHeaderInterface*>(interface);
    interface->vtable->plugInHeader.Release(&header);
  }

  long InstanceCount() const { return SimGetFactoryInstanceCount(factory_.get()); }

  Owned<CFUUIDRef> factory_;
  Owned<CFUUIDRef> pdeType_;
  Owned<CFUUIDRef> pdeInterface_;
};

// ---- The instance ----

TEST_F(PDEInterfaceTest, FactoryMakesOneCountedInstanceForTheDialogExtensionType) {
  void* instance = MakeInstance();
  ASSERT_NE(nullptr, instance);
  EXPECT_EQ(1, InstanceCount());
  EXPECT_EQ(0u, ReleaseInstance(instance));
  EXPECT_EQ(0, InstanceCount());
}

TEST_F(PDEInterfaceTest, FactoryRefusesOtherTypesAndRegistersNothing) {
  Owned<CFUUIDRef> other(CFUUIDCreateFromString(nullptr, CFSTR("0B6C2F4E-1D3A-4E5B-8C7D-9E0F1A2B3C4D")));
  EXPECT_EQ(nullptr, PluginFactory(nullptr, IUnknownUUID, CFSTR(kTestFactoryText), RecordingPrologue));
  EXPECT_EQ(nullptr, PluginFactory(nullptr, other.get(), CFSTR(kTestFactoryText), RecordingPrologue));
  EXPECT_EQ(nullptr, PluginFactory(nullptr, pdeInterface_.get(), CFSTR(kTestFactoryText), RecordingPrologue));
  EXPECT_EQ(nullptr, PluginFactory(nullptr, nullptr, CFSTR(kTestFactoryText), RecordingPrologue));
  EXPECT_EQ(0, InstanceCount());
}

TEST_F(PDEInterfaceTest, FactoryIDThatIsNoUUIDMakesNothing) {
  EXPECT_EQ(nullptr, PluginFactory(nullptr, pdeType_.get(), CFSTR("not a UUID"), RecordingPrologue));
  EXPECT_EQ(nullptr, PluginFactory(nullptr, pdeType_.get(), nullptr, RecordingPrologue));
}

TEST_F(PDEInterfaceTest, FactoryOnAnExhaustedHeapMakesNothing) {
  FailCallocAfter(0);
  EXPECT_EQ(nullptr, MakeInstance());
  EXPECT_EQ(0, InstanceCount());
}

TEST_F(PDEInterfaceTest, IUnknownQueryGivesTheInstanceWithOneMoreReference) {
  void* instance = MakeInstance();
  LPVOID same = nullptr;
  EXPECT_EQ(S_OK, UnknownTable(instance)->QueryInterface(instance, CFUUIDGetUUIDBytes(IUnknownUUID), &same));
  EXPECT_EQ(instance, same);
  EXPECT_EQ(3u, UnknownTable(instance)->AddRef(instance));
  EXPECT_EQ(2u, ReleaseInstance(instance));
  EXPECT_EQ(1u, ReleaseInstance(instance));
  EXPECT_EQ(1, InstanceCount());  // references are not instances
  EXPECT_EQ(0u, ReleaseInstance(instance));
  EXPECT_EQ(0, InstanceCount());
}

TEST_F(PDEInterfaceTest, NullInstanceIsNeitherCountedNorFreed) {
  void* instance = MakeInstance();
  EXPECT_EQ(0u, UnknownTable(instance)->AddRef(nullptr));
  EXPECT_EQ(0u, UnknownTable(instance)->Release(nullptr));
  EXPECT_EQ(0u, ReleaseInstance(instance));
}

TEST_F(PDEInterfaceTest, EachInterfaceQueryGivesANewRecordAroundTheSamePrologue) {
  void* instance = MakeInstance();
  HRESULT firstResult = -1, secondResult = -1;
  PlugInIntf* first = QueryDialogExtension(instance, &firstResult);
  PlugInIntf* second = QueryDialogExtension(instance, &secondResult);
  EXPECT_EQ(S_OK, firstResult);
  EXPECT_EQ(S_OK, secondResult);
  ASSERT_NE(nullptr, first);
  ASSERT_NE(nullptr, second);
  EXPECT_NE(first, second);
  EXPECT_NE(first->vtable, second->vtable);
  EXPECT_EQ(&RecordingPrologue, first->vtable->Prologue);
  EXPECT_EQ(&RecordingPrologue, second->vtable->Prologue);
  EXPECT_EQ(1, InstanceCount());

  // The records outlive the instance.
  EXPECT_EQ(0u, ReleaseInstance(instance));
  PMPlugInAPIVersion version = {9, 9, 9, 9};
  EXPECT_EQ(noErr, first->vtable->plugInHeader.GetAPIVersion(
                       reinterpret_cast<PMPlugInHeaderInterface*>(first), &version));
  ReleaseInterface(first);
  ReleaseInterface(second);
}

TEST_F(PDEInterfaceTest, EveryTableEntryIsFilled) {
  void* instance = MakeInstance(OtherPrologue);
  PlugInIntf* interface = QueryDialogExtension(instance);
  ASSERT_NE(nullptr, interface);
  const PlugInIntfVTable* table = interface->vtable;
  EXPECT_EQ(&OtherPrologue, table->Prologue);
  EXPECT_NE(nullptr, table->plugInHeader.Retain);
  EXPECT_NE(nullptr, table->plugInHeader.Release);
  EXPECT_NE(nullptr, table->plugInHeader.GetAPIVersion);
  EXPECT_NE(nullptr, table->Initialize);
  EXPECT_NE(nullptr, table->Sync);
  EXPECT_NE(nullptr, table->GetSummaryText);
  EXPECT_NE(nullptr, table->Open);
  EXPECT_NE(nullptr, table->Close);
  EXPECT_NE(nullptr, table->Terminate);
  ReleaseInterface(interface);
  ReleaseInstance(instance);
}

TEST_F(PDEInterfaceTest, UnknownInterfaceIsRefused) {
  void* instance = MakeInstance();
  LPVOID interface = &interface;
  EXPECT_EQ(E_NOINTERFACE,
            UnknownTable(instance)->QueryInterface(instance, CFUUIDGetUUIDBytes(pdeType_.get()), &interface));
  EXPECT_EQ(nullptr, interface);
  EXPECT_EQ(1, InstanceCount());
  ReleaseInstance(instance);
}

// With no memory for the record or for its table, the query says so; it
// does not answer success with no interface.
TEST_F(PDEInterfaceTest, InterfaceQueryOnAnExhaustedHeapReportsOutOfMemory) {
  void* instance = MakeInstance();
  for (int skip : {0, 1}) {  // the record, then its table
    SCOPED_TRACE(skip);
    FailCallocAfter(skip);
    HRESULT result = S_OK;
    EXPECT_EQ(nullptr, QueryDialogExtension(instance, &result));
    EXPECT_EQ(kPDEInterfaceOutOfMemory, result);
    EXPECT_TRUE(FAILED(result));
  }
  PlugInIntf* interface = QueryDialogExtension(instance);  // the heap is back
  ASSERT_NE(nullptr, interface);
  ReleaseInterface(interface);
  ReleaseInstance(instance);
}

TEST_F(PDEInterfaceTest, ReleaseClearsTheCallersPointerAndFreesAtZero) {
  void* instance = MakeInstance();
  PlugInIntf* interface = QueryDialogExtension(instance);
  PMPlugInHeaderInterface* header = reinterpret_cast<PMPlugInHeaderInterface*>(interface);
  const PMPlugInHeader* table = &interface->vtable->plugInHeader;

  EXPECT_EQ(noErr, table->Retain(header));  // count 2
  PMPlugInHeaderInterface* mine = header;
  EXPECT_EQ(noErr, table->Release(&mine));
  EXPECT_EQ(nullptr, mine);  // cleared although the record lives on
  PMPlugInAPIVersion version;
  EXPECT_EQ(noErr, table->GetAPIVersion(header, &version));

  PMPlugInHeaderInterface* none = nullptr;
  EXPECT_EQ(noErr, table->Release(&none));
  EXPECT_EQ(noErr, table->Retain(nullptr));

  mine = header;
  EXPECT_EQ(noErr, table->Release(&mine));  // count 0: freed (LeakSanitizer checks)
  EXPECT_EQ(nullptr, mine);
  ReleaseInstance(instance);
}

TEST_F(PDEInterfaceTest, APIVersionIsOneZeroOneZero) {
  void* instance = MakeInstance();
  PlugInIntf* interface = QueryDialogExtension(instance);
  PMPlugInAPIVersion version = {7, 7, 7, 7};
  EXPECT_EQ(noErr, interface->vtable->plugInHeader.GetAPIVersion(
                       reinterpret_cast<PMPlugInHeaderInterface*>(interface), &version));
  EXPECT_EQ(1u, version.buildVersionMajor);
  EXPECT_EQ(0u, version.buildVersionMinor);
  EXPECT_EQ(1u, version.baseVersionMajor);
  EXPECT_EQ(0u, version.baseVersionMinor);
  ReleaseInterface(interface);
  ReleaseInstance(instance);
}

// ---- The dispatchers ----

// A dialog extension as the printing system holds it: instance, interface
// and the context from the prologue.
class DispatcherTest : public PDEInterfaceTest {
 protected:
  void SetUp() override {
    PDEInterfaceTest::SetUp();
    instance_ = MakeInstance();
    interface_ = QueryDialogExtension(instance_);
    ASSERT_NE(nullptr, interface_);
    table_ = interface_->vtable;
    OSType creator = 1;
    CFStringRef kind = nullptr, title = nullptr;
    UInt32 maxH = 0, maxV = 0;
    ASSERT_EQ(noErr, table_->Prologue(&context_, &creator, &kind, &title, &maxH, &maxV));
    session_ = SimCreatePrintSession();
  }
  void TearDown() override {
    if (context_ != nullptr) table_->Terminate(context_, noErr);
    SimReleasePrintSession(session_);
    ReleaseInterface(interface_);
    ReleaseInstance(instance_);
    PDEInterfaceTest::TearDown();
  }

  void* instance_ = nullptr;
  PlugInIntf* interface_ = nullptr;
  const PlugInIntfVTable* table_ = nullptr;
  PMPDEContext context_ = nullptr;
  PMPrintSession session_ = nullptr;
};

TEST_F(DispatcherTest, InitializeHandsEveryArgumentToCreateUIAndReturnsItsResult) {
  PMPDEFlags flags = 0;
  int refStandIn = 0, paneStandIn = 0;  // only passed on, never followed
  PMPDERef ref = reinterpret_cast<PMPDERef>(&refStandIn);
  ControlRef pane = reinterpret_cast<ControlRef>(&paneStandIn);
  gRecorder.result = 1234;
  EXPECT_EQ(1234, table_->Initialize(context_, &flags, ref, pane, session_));
  EXPECT_EQ(std::vector<std::string>{"CreateUI"}, gRecorder.calls);
  EXPECT_EQ(&flags, gRecorder.flags);
  EXPECT_EQ(ref, gRecorder.ref);
  EXPECT_EQ(pane, gRecorder.parentUserPane);
  EXPECT_EQ(session_, gRecorder.session);
}

struct SyncCase {
  const char* name;
  Boolean direction;
  const char* expectedCall;  // nullptr: nothing is called
};
void PrintTo(const SyncCase& c, std::ostream* os) { *os << c.name; }

class SyncTest : public DispatcherTest, public ::testing::WithParamInterface<SyncCase> {};

TEST_P(SyncTest, DirectionChoosesTheOperation) {
  gRecorder.result = -77;
  const OSStatus result = table_->Sync(context_, session_, GetParam().direction);
  if (GetParam().expectedCall == nullptr) {
    EXPECT_EQ(noErr, result);
    EXPECT_TRUE(gRecorder.calls.empty());
  } else {
    EXPECT_EQ(-77, result);
    EXPECT_EQ(std::vector<std::string>{GetParam().expectedCall}, gRecorder.calls);
    EXPECT_EQ(session_, gRecorder.session);
  }
}

INSTANTIATE_TEST_SUITE_P(Directions, SyncTest,
                         ::testing::Values(SyncCase{"TowardsThePane", 1, "TicketToUI"},
                                           SyncCase{"TowardsTheTickets", 0, "UIToTicket"},
                                           SyncCase{"Two", 2, nullptr},
                                           SyncCase{"Max", 255, nullptr}),
                         CaseName<SyncCase>);

TEST_F(DispatcherTest, OpenAndCloseReachTheirOperations) {
  gRecorder.result = 5;
  EXPECT_EQ(5, table_->Open(context_));
  EXPECT_EQ(5, table_->Close(context_));
  EXPECT_EQ((std::vector<std::string>{"OnOpenUI", "OnCloseUI"}), gRecorder.calls);
}

TEST_F(DispatcherTest, MissingContextOrSessionIsRefusedBeforeThePane) {
  CFArrayRef titles = reinterpret_cast<CFArrayRef>(&titles);  // must stay untouched
  CFArrayRef values = reinterpret_cast<CFArrayRef>(&values);
  PMPDEFlags flags = 0;
  EXPECT_EQ(-9530, table_->Initialize(nullptr, &flags, nullptr, nullptr, session_));
  EXPECT_EQ(-9530, table_->Initialize(context_, &flags, nullptr, nullptr, nullptr));
  EXPECT_EQ(-30879, table_->Sync(nullptr, session_, 0));
  EXPECT_EQ(-30879, table_->Sync(context_, nullptr, 1));
  EXPECT_EQ(-9530, table_->GetSummaryText(nullptr, &titles, &values));
  EXPECT_EQ(reinterpret_cast<CFArrayRef>(&titles), titles);
  EXPECT_EQ(reinterpret_cast<CFArrayRef>(&values), values);
  EXPECT_EQ(-9530, table_->Open(nullptr));
  EXPECT_EQ(-9530, table_->Close(nullptr));
  EXPECT_EQ(noErr, table_->Terminate(nullptr, -1));
  EXPECT_TRUE(gRecorder.calls.empty());
}

TEST_F(DispatcherTest, SummaryHandsOverBothArraysOnSuccess) {
  for (bool append : {false, true}) {
    SCOPED_TRACE(append);
    gRecorder.appendToSummary = append;
    CFArrayRef titles = nullptr, values = nullptr;
    EXPECT_EQ(noErr, table_->GetSummaryText(context_, &titles, &values));
    ASSERT_NE(nullptr, titles);
    ASSERT_NE(nullptr, values);
    EXPECT_EQ(titles, gRecorder.titles);
    EXPECT_EQ(values, gRecorder.values);
    EXPECT_EQ(append ? 1 : 0, CFArrayGetCount(titles));
    EXPECT_EQ(append ? 1 : 0, CFArrayGetCount(values));
    EXPECT_EQ(1, CFGetRetainCount(titles));  // the caller's only
    CFRelease(titles);
    CFRelease(values);
  }
}

TEST_F(DispatcherTest, SummaryHandsOverNothingOnFailure) {
  gRecorder.appendToSummary = true;
  gRecorder.result = -42;
  CFArrayRef titles = reinterpret_cast<CFArrayRef>(&titles);
  CFArrayRef values = reinterpret_cast<CFArrayRef>(&values);
  EXPECT_EQ(-42, table_->GetSummaryText(context_, &titles, &values));
  EXPECT_EQ(nullptr, titles);
  EXPECT_EQ(nullptr, values);
  EXPECT_EQ(std::vector<std::string>{"GetSummaryText"}, gRecorder.calls);
  // The arrays and what the pane put in them are gone: the fixture counts.
}

TEST_F(DispatcherTest, TerminateDeletesThePane) {
  EXPECT_EQ(noErr, table_->Terminate(context_, -1));
  context_ = nullptr;
  EXPECT_EQ(std::vector<std::string>{"destroyed"}, gRecorder.calls);
}

}  // namespace
