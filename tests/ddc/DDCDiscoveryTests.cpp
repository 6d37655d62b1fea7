#include <gtest/gtest.h>

#include "DDCTestSupport.h"
#include "ddc/DDCDiscovery.h"

namespace corvane {
namespace {

using namespace ddc_test;
using DDCDiscovery::Candidate;
using sim::EntryPoint;
using sim::EntryPointState;
using sim::SimDisplayConfig;

Dictionary pipeProperties(std::uint32_t vendor, std::uint32_t product, std::uint32_t serial,
                          std::string name) {
    Dictionary attributes{{"LegacyManufacturerID", vendor},
                          {"ProductID", product},
                          {"SerialNumber", serial},
                          {"ProductName", std::move(name)}};
    return Dictionary{{"DisplayAttributes", Dictionary{{"ProductAttributes", attributes}}}};
}

// A desktop whose registry the test lays out itself.
class Discovery : public ::testing::Test {
protected:
    // An external monitor in the display catalog, without its registry entries.
    DisplayID addMonitor(std::string name, std::uint32_t vendor, std::uint32_t model,
                         std::uint32_t serial) {
        SimDisplayConfig config = SimDisplayConfig::ddcMonitor(std::move(name));
        config.vendor = vendor;
        config.model = model;
        config.serial = serial;
        DisplayID id = desktop.add(config);
        sim::SimDisplay& display = desktop.display(id);
        desktop.registry().remove(display.pipeEntry);
        desktop.registry().remove(display.proxyEntry);
        return id;
    }
    RegistryEntryID addPipe(std::uint32_t vendor, std::uint32_t product, std::uint32_t serial,
                            std::string name, std::string className = "AppleCLCD2") {
        return desktop.registry().add(std::move(className), pipeProperties(vendor, product, serial, std::move(name)));
    }
    // An external proxy whose service talks to the given display's monitor.
    RegistryEntryID addProxy(DisplayID monitorOf, Dictionary properties = {{"Location", "External"}}) {
        RegistryEntryID entry = desktop.registry().add("DCPAVServiceProxy", std::move(properties));
        desktop.registry().attach(entry, desktop.display(monitorOf).monitor);
        return entry;
    }
    std::unordered_map<DisplayID, AVServiceHandle> discover(std::vector<DisplayID> displays) {
        return DDCDiscovery::services(desktop.platform(), displays);
    }
    // The monitor a found service talks to.
    static sim::SimDDCMonitor* monitorOf(const AVServiceHandle& service) {
        auto* simulated = dynamic_cast<sim::SimAVService*>(service.get());
        return simulated ? simulated->monitor.get() : nullptr;
    }
    sim::SimDDCMonitor* monitorOfDisplay(DisplayID id) { return desktop.display(id).monitor.get(); }

    // Candidates collected with a creation function that makes a plain service for every
    // entry it is asked about and records which.
    std::vector<Candidate> collect() {
        created.clear();
        return DDCDiscovery::collectCandidates(desktop.registry(), [this](RegistryEntryID entry) {
            created.push_back(entry);
            return std::make_shared<AVService>();
        });
    }

    sim::SimDesktop desktop;
    std::vector<RegistryEntryID> created;
};

// ---- Matching on the simulated desktop's own layout ----

TEST_F(Discovery, DesktopLayoutPairsEachMonitorWithItsProxy) {
    SimDisplayConfig first = SimDisplayConfig::ddcMonitor("Alpha");
    first.vendor = 0x10AC;
    first.model = 0xA0B1;
    first.serial = 111;
    SimDisplayConfig second = SimDisplayConfig::ddcMonitor("Beta");
    second.vendor = 0x4C2D;
    second.model = 0x0F00;
    second.serial = 222;
    DisplayID a = desktop.add(first);
    DisplayID b = desktop.add(second);
    auto found = discover({b, a});
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(monitorOf(found.at(a)), monitorOfDisplay(a));
    EXPECT_EQ(monitorOf(found.at(b)), monitorOfDisplay(b));
}

TEST_F(Discovery, BuiltinPanelHasNoRegistryProxy) {
    desktop.add(SimDisplayConfig::builtinPanel());
    DisplayID external = desktop.add(SimDisplayConfig::ddcMonitor("Alpha"));
    auto found = discover({external});
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(monitorOf(found.at(external)), monitorOfDisplay(external));
}

// ---- The one-display-one-candidate rule ----

TEST_F(Discovery, SingleDisplaySingleProxyPairEvenWithoutAttributes) {
    DisplayID id = addMonitor("Alpha", 1, 2, 3);
    addProxy(id);
    auto found = discover({id});
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(monitorOf(found.at(id)), monitorOfDisplay(id));
}

TEST_F(Discovery, SingleDisplaySingleProxyPairEvenWhenAttributesDisagree) {
    DisplayID id = addMonitor("Alpha", 1, 2, 3);
    addPipe(9, 9, 9, "Other");
    addProxy(id);
    EXPECT_EQ(discover({id}).size(), 1u);
}

TEST_F(Discovery, NoDisplaysGiveNothing) {
    DisplayID id = addMonitor("Alpha", 1, 2, 3);
    addPipe(1, 2, 3, "Alpha");
    addProxy(id);
    EXPECT_TRUE(discover({}).empty());
}

// ---- Scores ----

TEST_F(Discovery, ScoresAddUpFromTheAttributesThatAgree) {
    {
        DisplayID id = addMonitor("Alpha", 0x10AC, 0xA0B1, 4242);
        const Platform& platform = desktop.platform();
        EXPECT_EQ(DDCDiscovery::score(platform, id, Candidate{nullptr, "Alpha", 4242, 0x10AC, 0xA0B1}), 9);
        EXPECT_EQ(DDCDiscovery::score(platform, id, Candidate{nullptr, "", 4242, 0x10AC, 0xA0B1}), 7);
        EXPECT_EQ(DDCDiscovery::score(platform, id, Candidate{nullptr, "Alpha", 0, 0x10AC, 0xA0B1}), 6);
        EXPECT_EQ(DDCDiscovery::score(platform, id, Candidate{nullptr, "", 0, 0x10AC, 0}), 2);
        EXPECT_EQ(DDCDiscovery::score(platform, id, Candidate{nullptr, "", 0, 0, 0xA0B1}), 2);
        EXPECT_EQ(DDCDiscovery::score(platform, id, Candidate{nullptr, "", 4242, 0, 0}), 3);
        EXPECT_EQ(DDCDiscovery::score(platform, id, Candidate{nullptr, "Alpha", 0, 0, 0}), 2);
        EXPECT_EQ(DDCDiscovery::score(platform, id, Candidate{nullptr, "alpha", 1, 2, 3}), 0);
    }
    {
        // Zero attributes never agree.
        DisplayID id = addMonitor("", 0, 0, 0);
        EXPECT_EQ(DDCDiscovery::score(desktop.platform(), id, Candidate{nullptr, "", 0, 0, 0}), 0);
    }
    {
        // The model number is compared by its low sixteen bits.
        DisplayID id = addMonitor("Alpha", 0, 0x12345, 0);
        const Platform& platform = desktop.platform();
        EXPECT_EQ(DDCDiscovery::score(platform, id, Candidate{nullptr, "", 0, 0, 0x2345}), 2);
        EXPECT_EQ(DDCDiscovery::score(platform, id, Candidate{nullptr, "", 0, 0, 0x12345}), 0);
    }
    {
        // Names compare under canonical equivalence, case included.
        DisplayID id = addMonitor("Caf\xC3\xA9 Display", 0, 0, 0);  // precomposed é
        const Platform& platform = desktop.platform();
        EXPECT_EQ(DDCDiscovery::score(platform, id, Candidate{nullptr, "Cafe\xCC\x81 Display", 0, 0, 0}), 2);
        EXPECT_EQ(DDCDiscovery::score(platform, id, Candidate{nullptr, "CAF\xC3\x89 DISPLAY", 0, 0, 0}), 0);
        EXPECT_EQ(DDCDiscovery::score(platform, id, Candidate{nullptr, "Cafe Display", 0, 0, 0}), 0);
    }
    {
        // The name scores only through the info dictionary.
        DisplayID id = addMonitor("Alpha", 0, 0, 0);
        desktop.setEntryPoint(EntryPoint::infoDictionary, EntryPointState::absent);
        EXPECT_EQ(DDCDiscovery::score(desktop.platform(), id, Candidate{nullptr, "Alpha", 0, 0, 0}), 0);
        desktop.setEntryPoint(EntryPoint::infoDictionary, EntryPointState::failing);
        EXPECT_EQ(DDCDiscovery::score(desktop.platform(), id, Candidate{nullptr, "Alpha", 0, 0, 0}), 0);
        desktop.setEntryPoint(EntryPoint::infoDictionary, EntryPointState::present);
        EXPECT_EQ(DDCDiscovery::score(desktop.platform(), id, Candidate{nullptr, "Alpha", 0, 0, 0}), 2);
    }
}

TEST(DDCDiscoveryNames, InfoDictionaryShapes) {
    using DDCDiscovery::infoNamesProduct;
    Dictionary names{{"en_US", "Studio"}, {"de_DE", "Studio-Monitor"}};
    EXPECT_TRUE(infoNamesProduct({{"DisplayProductName", names}}, "Studio-Monitor"));
    EXPECT_TRUE(infoNamesProduct({{"DisplayProductName", names}}, "Studio"));
    EXPECT_FALSE(infoNamesProduct({{"DisplayProductName", names}}, "studio"));
    EXPECT_FALSE(infoNamesProduct({{"DisplayProductName", names}}, ""));
    EXPECT_FALSE(infoNamesProduct({{"DisplayProductName", Dictionary{{"en_US", ""}}}}, ""));
    EXPECT_FALSE(infoNamesProduct({}, "Studio"));
    EXPECT_FALSE(infoNamesProduct({{"DisplayProductName", "Studio"}}, "Studio"));
    EXPECT_FALSE(infoNamesProduct({{"DisplayProductName", PropertyValue::Other{}}}, "Studio"));
    EXPECT_FALSE(infoNamesProduct({{"ProductName", names}}, "Studio"));
    // A localized-name dictionary with a value that is not a string is not a dictionary of
    // strings: it names nothing.
    Dictionary mixed{{"en_US", "Studio"}, {"fr_FR", 3}};
    EXPECT_FALSE(infoNamesProduct({{"DisplayProductName", mixed}}, "Studio"));
}

// ---- Greedy assignment ----

TEST_F(Discovery, SameModelDistinctSerialsFollowTheSerial) {
    DisplayID a = addMonitor("Twin", 0x10AC, 0x4100, 1001);
    DisplayID b = addMonitor("Twin", 0x10AC, 0x4100, 1002);
    // Registry order is the reverse of the display order.
    addPipe(0x10AC, 0x4100, 1002, "Twin");
    addProxy(b);
    addPipe(0x10AC, 0x4100, 1001, "Twin");
    addProxy(a);
    const Platform& platform = desktop.platform();
    EXPECT_EQ(DDCDiscovery::score(platform, a, Candidate{nullptr, "Twin", 1001, 0x10AC, 0x4100}), 9);
    EXPECT_EQ(DDCDiscovery::score(platform, a, Candidate{nullptr, "Twin", 1002, 0x10AC, 0x4100}), 6);
    auto found = discover({a, b});
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(monitorOf(found.at(a)), monitorOfDisplay(a));
    EXPECT_EQ(monitorOf(found.at(b)), monitorOfDisplay(b));
}

TEST_F(Discovery, SameModelDistinctSerialsWithoutNames) {
    DisplayID a = addMonitor("Left", 0x10AC, 0x4100, 1001);
    DisplayID b = addMonitor("Right", 0x10AC, 0x4100, 1002);
    addPipe(0x10AC, 0x4100, 1002, "");
    addProxy(b);
    addPipe(0x10AC, 0x4100, 1001, "");
    addProxy(a);
    auto found = discover({a, b});
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(monitorOf(found.at(a)), monitorOfDisplay(a));
    EXPECT_EQ(monitorOf(found.at(b)), monitorOfDisplay(b));
}

TEST_F(Discovery, IdenticalMonitorsTieInGivenAndRegistryOrder) {
    DisplayID a = addMonitor("Twin", 0x10AC, 0x4100, 0);
    DisplayID b = addMonitor("Twin", 0x10AC, 0x4100, 0);
    addPipe(0x10AC, 0x4100, 0, "Twin");
    RegistryEntryID firstProxy = addProxy(b);  // talks to b's monitor, but comes first
    addPipe(0x10AC, 0x4100, 0, "Twin");
    addProxy(a);
    (void)firstProxy;
    // All four pairs score 6: the first display given takes the first proxy in the walk.
    auto found = discover({a, b});
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(monitorOf(found.at(a)), monitorOfDisplay(b));
    EXPECT_EQ(monitorOf(found.at(b)), monitorOfDisplay(a));

    auto reversed = discover({b, a});
    ASSERT_EQ(reversed.size(), 2u);
    EXPECT_EQ(monitorOf(reversed.at(b)), monitorOfDisplay(b));
    EXPECT_EQ(monitorOf(reversed.at(a)), monitorOfDisplay(a));
}

TEST_F(Discovery, ProxyAgreeingWithNoDisplayIsNotGiven) {
    DisplayID a = addMonitor("Alpha", 1, 2, 3);
    DisplayID b = addMonitor("Beta", 4, 5, 6);
    addPipe(7, 8, 9, "Gamma");
    addProxy(a);
    EXPECT_TRUE(discover({a, b}).empty());
}

TEST_F(Discovery, HighestScoreWinsThenTheRestGoGreedily) {
    // a agrees with both proxies (9 and 5), b only with the first (2). Greedy from the top:
    // a takes the first (9); a's 5 is skipped as a is served; b's 2 is skipped as the first
    // proxy is given out; b scores 0 with the second, so b gets nothing.
    DisplayID a = addMonitor("Alpha", 0x10, 0x20, 30);
    DisplayID b = addMonitor("Beta", 0x10, 0x99, 31);
    addPipe(0x10, 0x20, 30, "Alpha");
    addProxy(a);
    addPipe(0, 0x20, 30, "");
    addProxy(b);
    auto found = discover({b, a});
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(monitorOf(found.at(a)), monitorOfDisplay(a));
}

TEST_F(Discovery, LowerScoresFillWhatIsLeft) {
    DisplayID a = addMonitor("Alpha", 0x10, 0x20, 30);
    DisplayID b = addMonitor("Beta", 0x11, 0x21, 31);
    DisplayID c = addMonitor("Gamma", 0x12, 0x22, 32);
    addPipe(0, 0, 0, "Gamma");  // name only: 2 for c
    addProxy(c);
    addPipe(0x10, 0x20, 30, "Alpha");  // 9 for a
    addProxy(a);
    addPipe(0x11, 0, 0, "");  // vendor only: 2 for b
    addProxy(b);
    auto found = discover({a, b, c});
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(monitorOf(found.at(a)), monitorOfDisplay(a));
    EXPECT_EQ(monitorOf(found.at(b)), monitorOfDisplay(b));
    EXPECT_EQ(monitorOf(found.at(c)), monitorOfDisplay(c));
}

TEST_F(Discovery, ProxyBeforeAnyPipeCarriesNothing) {
    DisplayID a = addMonitor("Alpha", 0x10, 0x20, 30);
    DisplayID b = addMonitor("Beta", 0x11, 0x21, 31);
    addProxy(b);  // before any pipe: zeros and no name
    addPipe(0x10, 0x20, 30, "Alpha");
    addProxy(a);
    auto candidates = collect();
    ASSERT_EQ(candidates.size(), 2u);
    EXPECT_EQ(candidates[0].productName, "");
    EXPECT_EQ(candidates[0].vendor, 0u);
    EXPECT_EQ(candidates[0].product, 0u);
    EXPECT_EQ(candidates[0].serial, 0u);
    auto found = discover({a, b});
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(monitorOf(found.at(a)), monitorOfDisplay(a));
}

TEST_F(Discovery, UnusedServicesAreReleased) {
    DisplayID a = addMonitor("Alpha", 0x10, 0x20, 30);
    DisplayID b = addMonitor("Beta", 0x11, 0x21, 31);
    addPipe(0x10, 0x20, 30, "Alpha");
    addProxy(a);
    addPipe(7, 7, 7, "Nobody");
    addProxy(b);
    auto found = discover({a, b});
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(desktop.registry().createdServices(), 2u);
}

// ---- Entry points and registry failures ----

TEST_F(Discovery, MissingEntryPointsGiveNothing) {
    DisplayID id = addMonitor("Alpha", 1, 2, 3);
    addProxy(id);
    desktop.setEntryPoint(EntryPoint::createAVService, EntryPointState::absent);
    EXPECT_TRUE(discover({id}).empty());
    desktop.setEntryPoint(EntryPoint::createAVService, EntryPointState::present);
    desktop.setEntryPoint(EntryPoint::writeI2C, EntryPointState::absent);
    EXPECT_TRUE(discover({id}).empty());
    EXPECT_EQ(desktop.registry().createdServices(), 0u);  // the registry was not even walked
    desktop.setEntryPoint(EntryPoint::writeI2C, EntryPointState::present);
    desktop.setEntryPoint(EntryPoint::readI2C, EntryPointState::absent);
    EXPECT_EQ(discover({id}).size(), 1u);  // only creation and write are required
}

TEST_F(Discovery, FailedCreationDropsTheProxy) {
    DisplayID id = addMonitor("Alpha", 1, 2, 3);
    addProxy(id);
    desktop.setEntryPoint(EntryPoint::createAVService, EntryPointState::failing);
    EXPECT_TRUE(discover({id}).empty());
}

TEST_F(Discovery, UnwalkableRegistryGivesNothing) {
    DisplayID id = addMonitor("Alpha", 1, 2, 3);
    addProxy(id);
    desktop.registry().setIteratorFails(true);
    EXPECT_TRUE(discover({id}).empty());
    EXPECT_TRUE(collect().empty());
}

// ---- Collecting candidates ----

TEST_F(Discovery, LocationDecidesWhichProxiesCount) {
    auto& registry = desktop.registry();
    RegistryEntryID external = registry.add("DCPAVServiceProxy", {{"Location", "External"}});
    registry.add("DCPAVServiceProxy", {{"Location", "Embedded"}});
    registry.add("DCPAVServiceProxy", {{"Location", "external"}});
    registry.add("DCPAVServiceProxy", {{"Location", ""}});
    RegistryEntryID absent = registry.add("DCPAVServiceProxy");
    RegistryEntryID number = registry.add("DCPAVServiceProxy", {{"Location", 1}});
    RegistryEntryID dictionary = registry.add("DCPAVServiceProxy", {{"Location", Dictionary{}}});
    auto candidates = collect();
    EXPECT_EQ(candidates.size(), 4u);
    EXPECT_EQ(created, (std::vector<RegistryEntryID>{external, absent, number, dictionary}));
}

TEST_F(Discovery, InternalProxyIsNeverPairedEvenAlone) {
    DisplayID id = addMonitor("Alpha", 1, 2, 3);
    addProxy(id, {{"Location", "Embedded"}});
    EXPECT_TRUE(discover({id}).empty());
}

TEST_F(Discovery, ProxyWithoutLocationIsACandidate) {
    DisplayID id = addMonitor("Alpha", 1, 2, 3);
    addProxy(id, {});
    EXPECT_EQ(discover({id}).size(), 1u);
}

TEST_F(Discovery, CreationFunctionIsAParameter) {
    auto& registry = desktop.registry();
    registry.add("DCPAVServiceProxy");
    RegistryEntryID second = registry.add("DCPAVServiceProxy");
    std::vector<RegistryEntryID> asked;
    auto candidates = DDCDiscovery::collectCandidates(registry, [&](RegistryEntryID entry) -> AVServiceHandle {
        asked.push_back(entry);
        return entry == second ? std::make_shared<AVService>() : nullptr;
    });
    EXPECT_EQ(asked.size(), 2u);
    ASSERT_EQ(candidates.size(), 1u);
    EXPECT_NE(candidates[0].service, nullptr);
    EXPECT_TRUE(DDCDiscovery::collectCandidates(registry, {}).empty());
}

TEST_F(Discovery, AttributesCarryOverToLaterProxies) {
    auto& registry = desktop.registry();
    addPipe(1, 2, 3, "First");
    registry.add("DCPAVServiceProxy");
    registry.add("IOPortTransportState", {{"Location", "External"}});
    registry.add("DCPAVServiceProxy");
    addPipe(4, 5, 6, "Second", "IOMobileFramebufferShim");
    registry.add("DCPAVServiceProxy");
    auto candidates = collect();
    ASSERT_EQ(candidates.size(), 3u);
    EXPECT_EQ(candidates[0].productName, "First");
    EXPECT_EQ(candidates[1].productName, "First");
    EXPECT_EQ(candidates[1].vendor, 1u);
    EXPECT_EQ(candidates[1].product, 2u);
    EXPECT_EQ(candidates[1].serial, 3u);
    EXPECT_EQ(candidates[2].productName, "Second");
    EXPECT_EQ(candidates[2].vendor, 4u);
    EXPECT_EQ(candidates[2].product, 5u);
    EXPECT_EQ(candidates[2].serial, 6u);
}

TEST_F(Discovery, UnreadablePipesLeaveThePreviousAttributes) {
    auto& registry = desktop.registry();
    addPipe(1, 2, 3, "Kept");
    registry.add("AppleCLCD2");                                          // no DisplayAttributes
    registry.add("AppleCLCD2", {{"DisplayAttributes", "text"}});         // wrong type
    registry.add("AppleCLCD2", {{"DisplayAttributes", 12}});             // wrong type
    registry.add("AppleCLCD2", {{"DisplayAttributes", PropertyValue::Other{}}});
    registry.add("AppleCLCD2", {{"DisplayAttributes", Dictionary{}}});   // empty
    registry.add("AppleCLCD2", {{"DisplayAttributes", Dictionary{{"Other", 1}}}});
    registry.add("IOMobileFramebufferShim",
                 {{"DisplayAttributes", Dictionary{{"ProductAttributes", "text"}}}});
    registry.add("AppleCLCD2",
                 {{"DisplayAttributes", Dictionary{{"ProductAttributes", PropertyValue::Other{}}}}});
    registry.add("DCPAVServiceProxy");
    auto candidates = collect();
    ASSERT_EQ(candidates.size(), 1u);
    EXPECT_EQ(candidates[0].productName, "Kept");
    EXPECT_EQ(candidates[0].vendor, 1u);
    EXPECT_EQ(candidates[0].product, 2u);
    EXPECT_EQ(candidates[0].serial, 3u);
}

TEST_F(Discovery, ReadablePipeReplacesAllFourAttributes) {
    auto& registry = desktop.registry();
    addPipe(1, 2, 3, "Old");
    // Empty product attributes: everything becomes absent.
    registry.add("AppleCLCD2", {{"DisplayAttributes", Dictionary{{"ProductAttributes", Dictionary{}}}}});
    registry.add("DCPAVServiceProxy");
    // Wrong types count as absent; numbers wrap to 32 bits.
    Dictionary odd{{"LegacyManufacturerID", "1234"},
                   {"ProductID", -1},
                   {"SerialNumber", 4294967296.0 + 7},
                   {"ProductName", 42}};
    registry.add("AppleCLCD2", {{"DisplayAttributes", Dictionary{{"ProductAttributes", odd}}}});
    registry.add("DCPAVServiceProxy");
    Dictionary partial{{"SerialNumber", 99}, {"Unrelated", "x"}};
    registry.add("AppleCLCD2", {{"DisplayAttributes", Dictionary{{"ProductAttributes", partial}}}});
    registry.add("DCPAVServiceProxy");
    auto candidates = collect();
    ASSERT_EQ(candidates.size(), 3u);
    EXPECT_EQ(candidates[0].productName, "");
    EXPECT_EQ(candidates[0].vendor, 0u);
    EXPECT_EQ(candidates[0].product, 0u);
    EXPECT_EQ(candidates[0].serial, 0u);
    EXPECT_EQ(candidates[1].productName, "");
    EXPECT_EQ(candidates[1].vendor, 0u);
    EXPECT_EQ(candidates[1].product, 0xFFFFFFFFu);
    EXPECT_EQ(candidates[1].serial, 7u);
    EXPECT_EQ(candidates[2].serial, 99u);
    EXPECT_EQ(candidates[2].vendor, 0u);
    EXPECT_EQ(candidates[2].productName, "");
}

TEST_F(Discovery, OnlyExactClassNamesCount) {
    auto& registry = desktop.registry();
    registry.add("AppleCLCD2X", pipeProperties(1, 1, 1, "Wrong"));
    registry.add("appleclcd2", pipeProperties(1, 1, 1, "Wrong"));
    registry.add(" AppleCLCD2", pipeProperties(1, 1, 1, "Wrong"));
    registry.add("DCPAVServiceProxyX");
    registry.add("dcpavserviceproxy");
    registry.add("");
    registry.add("DCPAVServiceProxy");
    auto candidates = collect();
    ASSERT_EQ(candidates.size(), 1u);
    EXPECT_EQ(candidates[0].productName, "");
}

TEST_F(Discovery, ClassNamesAreCutAtTheFirstZeroByte) {
    auto& registry = desktop.registry();
    registry.add(std::string("AppleCLCD2\0junk", 15), pipeProperties(5, 6, 7, "Cut"));
    registry.add(std::string("DCPAVServiceProxy\0\xFF\xFE", 20));
    registry.add(std::string("\0DCPAVServiceProxy", 18));
    auto candidates = collect();
    ASSERT_EQ(candidates.size(), 1u);
    EXPECT_EQ(candidates[0].productName, "Cut");
}

TEST_F(Discovery, OverlongClassNamesNeverMatch) {
    auto& registry = desktop.registry();
    registry.add("DCPAVServiceProxy" + std::string(200, ' '));
    registry.add(std::string(127, 'A') + "DCPAVServiceProxy");
    EXPECT_TRUE(collect().empty());
}

TEST(DDCDiscoveryClassName, CutAndRepaired) {
    using DDCDiscovery::className;
    EXPECT_EQ(className("AppleCLCD2"), "AppleCLCD2");
    EXPECT_EQ(className(std::string("Apple\0CLCD2", 11)), "Apple");
    EXPECT_EQ(className(std::string(300, 'x')), std::string(127, 'x'));
    EXPECT_EQ(className(std::string(127, 'x') + '\0'), std::string(127, 'x'));
    // A two-byte character that the 127-byte limit splits is repaired to U+FFFD.
    EXPECT_EQ(className(std::string(126, 'x') + "\xC3\xA9"), std::string(126, 'x') + "\xEF\xBF\xBD");
    EXPECT_EQ(className("Bad\xFFName"), "Bad\xEF\xBF\xBDName");
    EXPECT_EQ(className(""), "");
}

}  // namespace
}  // namespace corvane
