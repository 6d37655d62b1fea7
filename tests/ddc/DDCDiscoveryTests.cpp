#include <gtest/gtest.h>

#include <map>
#include <tuple>

#include "DDCTestSupport.h"
#include "ddc/DDCDiscovery.h"

namespace corvane {
namespace {

using DDCDiscovery::Candidate;
using sim::EntryPoint;
using sim::EntryPointState;
using sim::SimDisplayConfig;

// A candidate's product name, vendor, product and serial.
using Attributes = std::tuple<std::string, std::uint32_t, std::uint32_t, std::uint32_t>;
// For each display given, the display whose monitor the service found for it talks to.
using Pairs = std::map<DisplayID, DisplayID>;

// A display pipe's properties around the given product attributes.
Dictionary pipeProperties(PropertyValue productAttributes) {
    return {{"DisplayAttributes", Dictionary{{"ProductAttributes", std::move(productAttributes)}}}};
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
        desktop.registry().remove(desktop.display(id).pipeEntry);
        desktop.registry().remove(desktop.display(id).proxyEntry);
        return id;
    }
    RegistryEntryID addPipe(std::uint32_t vendor, std::uint32_t product, std::uint32_t serial,
                            std::string name, std::string className = "AppleCLCD2") {
        Dictionary attributes{{"LegacyManufacturerID", vendor},
                              {"ProductID", product},
                              {"SerialNumber", serial},
                              {"ProductName", std::move(name)}};
        return desktop.registry().add(std::move(className), pipeProperties(std::move(attributes)));
    }
    // An external proxy whose service talks to the given display's monitor.
    RegistryEntryID addProxy(DisplayID monitorOf, Dictionary properties = {{"Location", "External"}}) {
        RegistryEntryID entry = desktop.registry().add("DCPAVServiceProxy", std::move(properties));
        desktop.registry().attach(entry, desktop.display(monitorOf).monitor);
        return entry;
    }
    // A display pipe with these attributes, then the proxy of the given display's monitor.
    void addPipeAndProxy(DisplayID monitorOf, std::uint32_t vendor, std::uint32_t product,
                         std::uint32_t serial, std::string name) {
        addPipe(vendor, product, serial, std::move(name));
        addProxy(monitorOf);
    }
    Pairs discover(const std::vector<DisplayID>& displays) {
        Pairs pairs;
        for (const auto& [display, service] : DDCDiscovery::services(desktop.platform(), displays)) {
            auto* simulated = dynamic_cast<sim::SimAVService*>(service.get());
            DisplayID& owner = pairs[display];  // stays 0 when no display given owns the monitor
            for (DisplayID given : displays)
                if (simulated && simulated->monitor == desktop.display(given).monitor) owner = given;
        }
        return pairs;
    }
    // The attributes of the candidates collected with a creation function that makes a plain
    // service for every entry it is asked about and records which.
    std::vector<Attributes> collect() {
        created.clear();
        auto candidates = DDCDiscovery::collectCandidates(desktop.registry(), [this](RegistryEntryID entry) {
            created.push_back(entry);
            return std::make_shared<AVService>();
        });
        std::vector<Attributes> attributes;
        for (const Candidate& c : candidates) attributes.emplace_back(c.productName, c.vendor, c.product, c.serial);
        return attributes;
    }

    sim::SimDesktop desktop;
    std::vector<RegistryEntryID> created;
};

// ---- Pairing ----

// The simulated desktop's own layout (a pipe, then its proxy, for each monitor, beside a
// built-in panel) is paired in every model test with DDC monitors, e.g.
// MonitorReadings.NewMonitorsAreReadAtOnceOffTheMainThreadAndGetSessionsWhenReadingsArrive.

// One display and one external proxy pair without scoring; with no display or a second one
// the scores decide, and a proxy that agrees with no display is not given.
TEST_F(Discovery, OneDisplayAndOneExternalProxyPairWhateverTheirAttributes) {
    DisplayID id = addMonitor("Alpha", 1, 2, 3);
    DisplayID other = addMonitor("Beta", 4, 5, 6);
    RegistryEntryID proxy = addProxy(id, {});  // no pipe before it, no location
    EXPECT_EQ(discover({id}), (Pairs{{id, id}}));
    EXPECT_EQ(discover({}), Pairs{});
    EXPECT_EQ(discover({id, other}), Pairs{});
    desktop.registry().remove(proxy);
    addProxy(id, {{"Location", "Embedded"}});
    EXPECT_EQ(discover({id}), Pairs{});
}

TEST_F(Discovery, ScoresAddUpFromTheAttributesThatAgree) {
    const DisplayID alpha = addMonitor("Alpha", 0x10AC, 0xA0B1, 4242);
    const DisplayID blank = addMonitor("", 0, 0, 0);
    const DisplayID wideModel = addMonitor("Alpha", 0, 0x12345, 0);
    const DisplayID cafe = addMonitor("Caf\xC3\xA9 Display", 0, 0, 0);  // precomposed é
    const struct {
        const char* what;
        DisplayID display;
        Candidate candidate;
        int expected;
    } cases[] = {
        {"all agree", alpha, {nullptr, "Alpha", 4242, 0x10AC, 0xA0B1}, 9},
        {"vendor only", alpha, {nullptr, "", 0, 0x10AC, 0}, 2},
        {"product only", alpha, {nullptr, "", 0, 0, 0xA0B1}, 2},
        {"serial only", alpha, {nullptr, "", 4242, 0, 0}, 3},
        {"name only", alpha, {nullptr, "Alpha", 0, 0, 0}, 2},
        {"none agree", alpha, {nullptr, "alpha", 1, 2, 3}, 0},
        {"zero attributes never agree", blank, {nullptr, "", 0, 0, 0}, 0},
        {"model by its low 16 bits", wideModel, {nullptr, "", 0, 0, 0x2345}, 2},
        {"model in full", wideModel, {nullptr, "", 0, 0, 0x12345}, 0},
        // Case and accents count: UnicodeTextEquivalence.OnlyCanonicallyEquivalentFormsAgree.
        {"canonically equivalent name", cafe, {nullptr, "Cafe\xCC\x81 Display", 0, 0, 0}, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(DDCDiscovery::score(desktop.platform(), c.display, c.candidate), c.expected);
    }
    // The name scores only through the info dictionary.
    for (EntryPointState state : {EntryPointState::absent, EntryPointState::failing}) {
        desktop.setEntryPoint(EntryPoint::infoDictionary, state);
        EXPECT_EQ(DDCDiscovery::score(desktop.platform(), alpha, {nullptr, "Alpha", 0, 0, 0}), 0);
    }
}

TEST(DDCDiscoveryNames, InfoDictionaryShapes) {
    using DDCDiscovery::infoNamesProduct;
    Dictionary names{{"en_US", "Studio"}, {"de_DE", "Studio-Monitor"}};
    EXPECT_TRUE(infoNamesProduct({{"DisplayProductName", names}}, "Studio-Monitor"));
    EXPECT_TRUE(infoNamesProduct({{"DisplayProductName", names}}, "Studio"));
    EXPECT_FALSE(infoNamesProduct({{"DisplayProductName", Dictionary{{"en_US", ""}}}}, ""));
    EXPECT_FALSE(infoNamesProduct({}, "Studio"));
    EXPECT_FALSE(infoNamesProduct({{"DisplayProductName", "Studio"}}, "Studio"));
    // A localized-name dictionary with a value that is not a string is not a dictionary of
    // strings: it names nothing.
    Dictionary mixed{{"en_US", "Studio"}, {"fr_FR", 3}};
    EXPECT_FALSE(infoNamesProduct({{"DisplayProductName", mixed}}, "Studio"));
}

// ---- Greedy assignment ----

TEST_F(Discovery, IdenticalMonitorsTieInGivenAndRegistryOrder) {
    DisplayID a = addMonitor("Twin", 0x10AC, 0x4100, 0);
    DisplayID b = addMonitor("Twin", 0x10AC, 0x4100, 0);
    addPipeAndProxy(b, 0x10AC, 0x4100, 0, "Twin");  // talks to b's monitor, but comes first
    addPipeAndProxy(a, 0x10AC, 0x4100, 0, "Twin");
    // All four pairs score 6: the first display given takes the first proxy in the walk.
    EXPECT_EQ(discover({a, b}), (Pairs{{a, b}, {b, a}}));
    EXPECT_EQ(discover({b, a}), (Pairs{{a, a}, {b, b}}));
}

TEST_F(Discovery, HighestScoreWinsThenTheRestGoGreedily) {
    // a agrees with both proxies (9 and 5), b only with the first (2). Greedy from the top:
    // a takes the first (9); a's 5 is skipped as a is served; b's 2 is skipped as the first
    // proxy is given out; b scores 0 with the second, so b gets nothing.
    DisplayID a = addMonitor("Alpha", 0x10, 0x20, 30);
    DisplayID b = addMonitor("Beta", 0x10, 0x99, 31);
    addPipeAndProxy(a, 0x10, 0x20, 30, "Alpha");
    addPipeAndProxy(b, 0, 0x20, 30, "");
    EXPECT_EQ(discover({b, a}), (Pairs{{a, a}}));
}

TEST_F(Discovery, LowerScoresFillWhatIsLeft) {
    DisplayID a = addMonitor("Alpha", 0x10, 0x20, 30);
    DisplayID b = addMonitor("Beta", 0x11, 0x21, 31);
    DisplayID c = addMonitor("Gamma", 0x12, 0x22, 32);
    addPipeAndProxy(c, 0, 0, 0, "Gamma");         // name only: 2 for c
    addPipeAndProxy(a, 0x10, 0x20, 30, "Alpha");  // 9 for a
    addPipeAndProxy(b, 0x11, 0, 0, "");           // vendor only: 2 for b
    EXPECT_EQ(discover({a, b, c}), (Pairs{{a, a}, {b, b}, {c, c}}));
}

// ---- Entry points and registry failures ----

TEST_F(Discovery, WithoutCreationWritingOrARegistryWalkNothingIsFound) {
    DisplayID id = addMonitor("Alpha", 1, 2, 3);
    addProxy(id);
    desktop.setEntryPoint(EntryPoint::createAVService, EntryPointState::absent);
    EXPECT_EQ(discover({id}), Pairs{});
    desktop.setEntryPoint(EntryPoint::createAVService, EntryPointState::present);
    desktop.setEntryPoint(EntryPoint::writeI2C, EntryPointState::absent);
    EXPECT_EQ(discover({id}), Pairs{});
    EXPECT_EQ(desktop.registry().createdServices(), 0u);  // the registry was not even walked
    desktop.setEntryPoint(EntryPoint::writeI2C, EntryPointState::present);
    desktop.setEntryPoint(EntryPoint::readI2C, EntryPointState::absent);
    EXPECT_EQ(discover({id}), (Pairs{{id, id}}));  // only creation and write are required
    // (A service that is not made gives no candidate: the test below.)
    desktop.registry().setIteratorFails(true);
    EXPECT_EQ(discover({id}), Pairs{});
}

// ---- Collecting candidates ----

TEST_F(Discovery, EveryProxyNotPlacedElsewhereBecomesACandidateWhenItsServiceIsMade) {
    auto& registry = desktop.registry();
    RegistryEntryID external = registry.add("DCPAVServiceProxy", {{"Location", "External"}});
    registry.add("DCPAVServiceProxy", {{"Location", "Embedded"}});
    registry.add("DCPAVServiceProxy", {{"Location", "external"}});
    RegistryEntryID absent = registry.add("DCPAVServiceProxy");
    RegistryEntryID number = registry.add("DCPAVServiceProxy", {{"Location", 1}});
    EXPECT_EQ(collect().size(), 3u);
    EXPECT_EQ(created, (std::vector<RegistryEntryID>{external, absent, number}));

    // A proxy whose service is not made is dropped; without a creation function none is made.
    auto made = std::make_shared<AVService>();
    auto candidates = DDCDiscovery::collectCandidates(registry, [&](RegistryEntryID entry) -> AVServiceHandle {
        return entry == absent ? made : nullptr;
    });
    ASSERT_EQ(candidates.size(), 1u);
    EXPECT_EQ(candidates[0].service, made);
    EXPECT_TRUE(DDCDiscovery::collectCandidates(registry, {}).empty());
}

// Each proxy carries the attributes of the nearest readable pipe before it. A readable pipe
// replaces all four: what it lacks or gives in the wrong type becomes absent, numbers wrap to
// 32 bits. One that cannot be read leaves the previous attributes in force.
TEST_F(Discovery, EachProxyCarriesTheAttributesOfTheReadablePipeBeforeIt) {
    auto& registry = desktop.registry();
    registry.add("DCPAVServiceProxy");  // before any pipe: nothing
    addPipe(1, 2, 3, "First");
    registry.add("DCPAVServiceProxy");
    registry.add("DCPAVServiceProxy");
    // Pipes that cannot be read:
    registry.add("AppleCLCD2");                                          // no DisplayAttributes
    registry.add("AppleCLCD2", {{"DisplayAttributes", "text"}});         // wrong type
    registry.add("AppleCLCD2", {{"DisplayAttributes", Dictionary{}}});   // empty
    registry.add("AppleCLCD2", {{"DisplayAttributes", Dictionary{{"Other", 1}}}});
    registry.add("IOMobileFramebufferShim", pipeProperties("text"));
    registry.add("DCPAVServiceProxy");
    addPipe(4, 5, 6, "Second", "IOMobileFramebufferShim");
    registry.add("DCPAVServiceProxy");
    // Readable pipes: empty product attributes, wrong types, a partial set.
    registry.add("AppleCLCD2", pipeProperties(Dictionary{}));
    registry.add("DCPAVServiceProxy");
    Dictionary odd{{"LegacyManufacturerID", "1234"},
                   {"ProductID", -1},
                   {"SerialNumber", 4294967296.0 + 7},
                   {"ProductName", 42}};
    registry.add("AppleCLCD2", pipeProperties(odd));
    registry.add("DCPAVServiceProxy");
    registry.add("AppleCLCD2", pipeProperties(Dictionary{{"SerialNumber", 99}, {"Unrelated", "x"}}));
    registry.add("DCPAVServiceProxy");
    EXPECT_EQ(collect(), (std::vector<Attributes>{{"", 0, 0, 0}, {"First", 1, 2, 3}, {"First", 1, 2, 3},
                                                  {"First", 1, 2, 3}, {"Second", 4, 5, 6}, {"", 0, 0, 0},
                                                  {"", 0, 0xFFFFFFFF, 7}, {"", 0, 0, 99}}));
}

// Only exact class names count, after a cut at the first zero byte.
TEST_F(Discovery, ClassNamesMatchExactlyAfterTheirCut) {
    auto& registry = desktop.registry();
    addPipe(1, 1, 1, "Wrong", "AppleCLCD2X");
    addPipe(1, 1, 1, "Wrong", "appleclcd2");
    addPipe(1, 1, 1, "Wrong", " AppleCLCD2");
    registry.add("DCPAVServiceProxyX");
    registry.add("dcpavserviceproxy");
    registry.add("");
    registry.add("DCPAVServiceProxy");
    addPipe(5, 6, 7, "Cut", std::string("AppleCLCD2\0junk", 15));
    registry.add(std::string("DCPAVServiceProxy\0\xFF\xFE", 20));
    registry.add(std::string("\0DCPAVServiceProxy", 18));
    EXPECT_EQ(collect(), (std::vector<Attributes>{{"", 0, 0, 0}, {"Cut", 5, 6, 7}}));
}

TEST(DDCDiscoveryClassName, CutAndRepaired) {
    using DDCDiscovery::className;
    // The cut at the first zero byte: Discovery.ClassNamesMatchExactlyAfterTheirCut.
    EXPECT_EQ(className(std::string(300, 'x')), std::string(127, 'x'));
    // A two-byte character that the 127-byte limit splits is repaired to U+FFFD.
    EXPECT_EQ(className(std::string(126, 'x') + "\xC3\xA9"), std::string(126, 'x') + "\xEF\xBF\xBD");
    EXPECT_EQ(className("Bad\xFFName"), "Bad\xEF\xBF\xBDName");
}

}  // namespace
}  // namespace corvane
