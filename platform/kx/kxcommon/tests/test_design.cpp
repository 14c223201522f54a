#include "kxcommon/KXDocument.h"
#include "kxcommon/KXGenUtils.h"
#include "kxcommon/KXShareGlobalData.h"

#include "afx/afxanswer.h"
#include "kxerrorhandler/KXErrorHandler.h"
#include "rmx/DesignBuilder.h"
#include "rmx/packaging.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class DesignTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("kxcommon_design_" + std::to_string(::getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        rmx::DesignBuilder b(&server, "work", folder.string());
        b.symbol("RAM")
            .port("CLK", ITerm::eDirInput, ITerm::eTermInput)
            .bus("D", 3, 0, ITerm::eDirInout, ITerm::eTermBidirectional)
            .partDefinition("RAM")
            .packagePin("1", "CLK")
            .packagePin("2", "D<3>", "", ITerm::eTermTypeUnknown, 1)
            .packagePin("3", "D<2>", "", ITerm::eTermTypeUnknown, 1)
            .packagePin("4", "D<1>")
            .packagePin("5", "D<0>")
            .powerPin("9", "VCC", "VDD")
            .schematic("top")
            .instance("U1", "RAM", "U1")
            .net("VDD")
            .net("DATA", 3, 0)
            .connect("U1", "D<3..0>", "DATA<3..0>")
            .prop("@U1", "CODESIGN", "yes")
            .prop("@:DATA", "BUS_NAME", "DATA_BUS")
            .pinNumber("U1", "D<3>", "2")
            .pinNumber("U1", "D<2>", "3")
            .pinNumber("U1", "CLK", "1");
        ASSERT_TRUE(b.ok()) << b.error();
        top = b.context();
        ASSERT_TRUE(static_cast<bool>(top));
    }
    void TearDown() override { fs::remove_all(folder); }

    IServer server;
    fs::path folder;
    CDesignContext top;
};

TEST_F(DesignTest, PinAndInstanceLookUps) {
    CInstanceContext u1 = top.instance("U1");
    ASSERT_TRUE(static_cast<bool>(u1));
    EXPECT_EQ(CKXGenUtils::GetLocationProp(u1), "U1");
    EXPECT_TRUE(CKXGenUtils::IsCodesign(u1));
    CInstTermContext d = u1.instTerm("D");
    CInstTermContext clk = u1.instTerm("CLK");
    EXPECT_EQ(CKXGenUtils::GetPinType(clk), "Input");
    EXPECT_EQ(CKXGenUtils::GetPinType(d), "Bidirectional");
    EXPECT_EQ(CKXGenUtils::GetPNProp(d, 3, 2), "2,3");
    EXPECT_EQ(CKXGenUtils::GetPNProp(d, 2, 3), "2,3");
    EXPECT_EQ(CKXGenUtils::GetPNProp(d, 3), "2");
    EXPECT_EQ(CKXGenUtils::GetPNProp(d, 1), "");
    EXPECT_EQ(CKXGenUtils::GetPNProp(clk, -1, -1), "1");
    EXPECT_EQ(CKXGenUtils::GetPinNumber(d.bitContext(2)), "3");
    EXPECT_EQ(CKXGenUtils::GetPinLogicalName(d.bitContext(2)), "D<2>");
    EXPECT_EQ(CKXGenUtils::GetPinLogicalName(clk.bitContext(-1)), "CLK");
    EXPECT_EQ(CKXGenUtils::GetBusName(top.net("DATA")), "DATA_BUS");
    EXPECT_EQ(CKXGenUtils::GetBusName(top.net("VDD")), "VDD");
    EXPECT_EQ(CKXGenUtils::GetPinType(static_cast<const IInstTerm*>(nullptr)), "");
}

TEST_F(DesignTest, PowerPinsAndNets) {
    CInstanceContext u1 = top.instance("U1");
    std::unique_ptr<IPhysPartDefn> defn(CKXGenUtils::GetPhysPartDefn(u1));
    ASSERT_NE(defn, nullptr);
    CKXImplicitPinMap pins;
    EXPECT_EQ(CKXGenUtils::GetImplicitPins(defn.get(), pins), 1);
    CKXImplicitPinArray* vcc = nullptr;
    ASSERT_TRUE(pins.Lookup("VCC", vcc));
    EXPECT_EQ(vcc->GetAt(0)->GetPinNumber(), "9");
    EXPECT_EQ(vcc->GetAt(0)->GetSignalName(), "VDD");
    CKXGenUtils::FreeImplicitPins(pins);
    EXPECT_EQ(pins.GetCount(), 0);

    std::vector<CString> names;
    INet* vdd = top.net("VDD").net();
    EXPECT_EQ(CKXGenUtils::GetConnectedPowerPins(&top, vdd, -1, -1, &names), 1);
    EXPECT_EQ(names.at(0), "U1.VCC");
    EXPECT_EQ(CKXGenUtils::GetConnectedPowerPins(nullptr, vdd, -1, -1), 0);

    int bit = -7;
    EXPECT_EQ(CKXGenUtils::GetNetFromPNN(top, "DATA<2>", bit), top.net("DATA").net());
    EXPECT_EQ(bit, 2);
    EXPECT_EQ(CKXGenUtils::GetNetFromPNN(top, "DATA<9>", bit), nullptr);
    EXPECT_EQ(CKXGenUtils::GetPowerSigLogicalName(top, "DATA<1>"), "DATA<1>");
    EXPECT_EQ(CKXGenUtils::GetPowerSigLogicalName(top, "nothing"), "nothing");
    EXPECT_EQ(CKXGenUtils::GetTopMostParent(top), top);
}

TEST_F(DesignTest, SwapNeedsOneSwapGroup) {
    CInstanceContext u1 = top.instance("U1");
    IInstTerm* d = u1.instTerm("D").instTerm();
    EXPECT_TRUE(CKXGenUtils::CanSwapConnections(top, d, 3, d, 2));
    EXPECT_FALSE(CKXGenUtils::CanSwapConnections(top, d, 3, d, 3));
    EXPECT_FALSE(CKXGenUtils::CanSwapConnections(top, d, 3, d, 1)); // no pin number
    EXPECT_FALSE(CKXGenUtils::CanSwapConnections(top, nullptr, 3, d, 2));
}

class TestDoc : public CKXDocument {
    DECLARE_DYNCREATE(TestDoc)
public:
    TestDoc() { EnableAutomation(); }
    long Ping() { return 7; }
    DECLARE_MESSAGE_MAP()
    DECLARE_DISPATCH_MAP()
};
IMPLEMENT_DYNCREATE(TestDoc, CKXDocument)
BEGIN_MESSAGE_MAP(TestDoc, CKXDocument)
END_MESSAGE_MAP()
BEGIN_DISPATCH_MAP(TestDoc, CKXDocument)
DISP_FUNCTION(TestDoc, "Ping", Ping, VT_I4, VTS_NONE)
END_DISPATCH_MAP()
class TestFrame : public CMDIChildWnd {
    DECLARE_DYNCREATE(TestFrame)
};
IMPLEMENT_DYNCREATE(TestFrame, CMDIChildWnd)
class TestView : public CView {
    DECLARE_DYNCREATE(TestView)
};
IMPLEMENT_DYNCREATE(TestView, CView)

TEST_F(DesignTest, TemplateOpensADesignInAMode) {
    CKXMultiDocTemplate tmpl(127, RUNTIME_CLASS(TestDoc), RUNTIME_CLASS(TestFrame), RUNTIME_CLASS(TestView));
    auto* doc = dynamic_cast<CKXDocument*>(tmpl.OpenDocumentFile(top, 1, FALSE));
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->GetOpenMode(), eOpenModeEditBlock);
    EXPECT_EQ(doc->GetDesignName(), "top");
    EXPECT_EQ(doc->GetMasterDesignContext(), top);
    EXPECT_EQ(doc->GetPathName(), (folder / "top.tbl").string().c_str());
    EXPECT_EQ(tmpl.FindDocument(top, 1), doc);
    EXPECT_EQ(tmpl.FindDocument(top, 4), nullptr);
    EXPECT_EQ(tmpl.OpenDocumentFile(CDesignContext(), 1, FALSE), nullptr);

    // The derived document's automation chains through the base.
    COleVariant result;
    IDispatch* disp = doc->GetIDispatch(TRUE);
    ASSERT_NE(disp, nullptr);
    EXPECT_TRUE(SUCCEEDED(AfxInvokeByName(disp, "Ping", {}, &result)));
    EXPECT_EQ(result.lVal, 7);
    disp->Release();

    CString why;
    EXPECT_FALSE(doc->IsInterfaceChanged(why));
    EXPECT_TRUE(why.IsEmpty());

    // Closing a modified design: unanswered keeps it open, No lets it close unsaved, Yes saves.
    auto& q = AfxGetAnswerQueue();
    q.Reset();
    doc->SetModifiedFlag(TRUE);
    EXPECT_FALSE(doc->HandleSaveModified());
    q.PushQuestion("KXCOMMON-101", IDNO);
    EXPECT_TRUE(doc->HandleSaveModified());
    EXPECT_EQ(doc->m_bSaveOnClose, 0);
    q.PushQuestion("KXCOMMON-101", IDYES);
    EXPECT_TRUE(doc->HandleSaveModified());
    EXPECT_EQ(doc->m_bSaveOnClose, 1);
    EXPECT_FALSE(doc->IsModified());
    q.Reset();
    tmpl.CloseAllDocuments(TRUE);
}

} // namespace

namespace {

TEST_F(DesignTest, ServerDataAccessGivesTheDesignFolder) {
    ASSERT_NE(CKXShareGlobalData::m_pDataAccessContext, nullptr);
    IServer* saved = CKXShareGlobalData::m_pServer;
    CKXShareGlobalData::m_pServer = &server;
    ASSERT_TRUE(server.saveDesign(top.design()));
    CString dir;
    EXPECT_TRUE(CKXShareGlobalData::m_pDataAccessContext->GetDesignDirectory("work", "top", "sch", 0, dir));
    EXPECT_FALSE(dir.IsEmpty());
    EXPECT_FALSE(CKXShareGlobalData::m_pDataAccessContext->GetDesignDirectory("work", "nope", "sch", 0, dir));
    EXPECT_TRUE(dir.IsEmpty());
    CKXShareGlobalData::m_pServer = saved;
}

} // namespace

namespace {

TEST(CommonInit, LoadsTheLibraryMessages) {
    const char* src = std::getenv("KX_TEST_SOURCE_DIR");
    fs::path data = fs::path(src ? src : "/work/main") / "platform/kx/kxcommon/data";
    fs::path dir = fs::temp_directory_path() / ("kxcommon_init_" + std::to_string(::getpid()));
    fs::create_directories(dir / "rmx");
    fs::copy_file(data / "kxcommon.txt", dir / "rmx" / "kxcommon.txt", fs::copy_options::overwrite_existing);
    CKXErrorHandler::SetDataDirectory(dir.c_str());
    EXPECT_EQ(InitKXCommonDll(), 1);
    EXPECT_EQ(InitKXCommonDll(), 1); // again: harmless
    EXPECT_TRUE(CKXErrorHandler::GetLastLoadError().IsEmpty()) << CKXErrorHandler::GetLastLoadError().str();
    EXPECT_EQ(CKXErrorHandler::FormatMessage("KXCOMMON-101", {"work.top:sch"}),
              "Design work.top:sch has been modified. Save it before closing?");
    CKXErrorHandler::SetDataDirectory(nullptr);
    fs::remove_all(dir);
}

} // namespace

namespace {

// A pin's signal model is its "PIN_SIGNAL_MODEL": the bit's own value, else the whole pin's.
TEST(PinSignalModel, ReadsThePinSignalModelOfTheBitOrThePin) {
    IServer server;
    rmx::DesignBuilder b(&server, "work");
    b.symbol("RAM").port("CLK").bus("D", 1, 0).schematic("top").instance("U1", "RAM", "U1");
    b.prop("@U1.CLK", "PIN_SIGNAL_MODEL", "LVCMOS33").prop("@U1.D<1>", "PIN_SIGNAL_MODEL", "SSTL");
    b.prop("@U1.D<0>", "SIGNAL_MODEL", "OTHER");
    ASSERT_TRUE(b.ok()) << b.error();
    CInstanceContext u1 = b.context().instance("U1");
    EXPECT_EQ(CKXGenUtils::GetPinSignalModel(u1.instTerm("CLK").bitContext(-1)), "LVCMOS33");
    EXPECT_EQ(CKXGenUtils::GetPinSignalModel(u1.instTerm("D").bitContext(1)), "SSTL");
    EXPECT_EQ(CKXGenUtils::GetPinSignalModel(u1.instTerm("D").bitContext(0)), "");
}

} // namespace
