// The radio-information transfer and its display texts; the memory map's
// texts.
#include <gtest/gtest.h>

#include <cstring>

#include "core/link/radio_info.h"
#include "link/transfer_fixture.h"
#include "core/model/model_catalogue.h"

namespace vrm {
namespace {

using namespace test;
using RadioInfoTransfer = DropInTransfer;

TEST_F(RadioInfoTransfer, ReadsAndShowsTheRadiosInformation) {
    SimulatedRadio radio;  // HRV-41A, code K, serial 00000001, V1.10.00, B1.02.00
    radio.SetChecksumOverride(0x0AF3);
    Install(radio);
    RadioInformation info;
    ASSERT_TRUE(RunRadioInformationTransfer(Context(), info).Ok());
    EXPECT_TRUE(prompter.asked.empty());
    EXPECT_FALSE(port.IsOpen());
    const auto session = Session();
    EXPECT_EQ(std::vector<std::string>(session.end() - 5, session.end()),
              (std::vector<std::string>{"information", "checksum", "version", "boot-version", "exit"}));

    const RadioInformationTexts t = RadioInformationDisplay(info, false, ",");
    EXPECT_EQ(t.modelType, "  HRV-41A:K");
    EXPECT_EQ(t.frequency, "  440-480 MHz");
    EXPECT_EQ(t.serialNumber, "  00000001");
    EXPECT_EQ(t.firmwareVersion, "  V1.10.00");
    EXPECT_EQ(t.bootVersion, "  B1.02.00");
    EXPECT_EQ(t.checksum, "  0AF3");
    // Ctrl+F2: the whole information block, the catalogue's view of the identity.
    const RadioInformationTexts v = RadioInformationDisplay(info, true, ".");
    EXPECT_EQ(v.serialNumber, "  HRV-41A     K   00000001");
    EXPECT_EQ(v.modelType, "  " + ModelCatalogue::ModelListText(3));
    EXPECT_EQ(v.frequency, "  440-480 MHz");
}

TEST_F(RadioInfoTransfer, EveryFailureClearsTheRecordLeavesProgramModeAndClosesThePort) {
    struct Case {
        const char* fault;
        int text;
        bool exitHeard;  // the radio still listened when the exit came
    };
    const Case cases[] = {
        {"program-silent", 10007003, false},
        {"identify-short", 10007003, false},  // the radio takes the exits as the key exchange
        {"info-header", 10007003, true},
        {"info-checksum", 10007003, true},
        {"pull=6", 10007003, false},  // the cable pulled at the checksum read
        {"pull=8", 10007003, false},  // at the version read
        {"model=PXYZ-999", 10007004, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault);
        Install(SimulatedRadio(), c.fault);
        RadioInformation info;
        info.complete = true;
        info.checksum = {1, 2};
        EXPECT_FALSE(RunRadioInformationTransfer(Context(), info).Ok());
        EXPECT_EQ(prompter.TextIds(), std::vector<int>{c.text});
        EXPECT_FALSE(port.IsOpen()) << "the cable is released";
        EXPECT_FALSE(info.complete);
        EXPECT_EQ(info.checksum, (std::array<std::uint8_t, 2>{0, 0}));
        EXPECT_EQ(info.information, (std::array<std::uint8_t, 32>{}));
        EXPECT_EQ(RadioInformationDisplay(info, false, ".").checksum, "");
        if (c.exitHeard) {
            EXPECT_EQ(Session().back(), "exit");
        }
    }
}

TEST(RadioInformationTexts, BlankPositionsControlBytesAndTheCatalogueBand) {
    RadioInformation info;
    info.complete = true;
    info.information.fill(0xFF);
    std::memcpy(info.information.data(), "HRV-41", 6);
    info.information[12] = 'M';
    info.checksum = {0x0A, 0xF3};
    // The market-1 model has two bands; the identity's band 0 picks 325-360 MHz.
    info.identity = WithBytes(ModelCatalogue::DefaultIdentity(), {{10, 1}, {11, 0}});
    std::memcpy(info.version.data(), "V1.0\x01\x00XY", 8);
    const RadioInformationTexts t = RadioInformationDisplay(info, false, ",");
    EXPECT_EQ(t.serialNumber, "  ") << "an all-0xFF serial number is empty";
    EXPECT_EQ(t.modelType, "  HRV-41:M");
    EXPECT_EQ(t.frequency, "  325-360 MHz");
    EXPECT_EQ(t.firmwareVersion, "  V1.0.") << "a control byte shows as '.', a 0x00 ends the text";
    EXPECT_EQ(t.checksum, "  0AF3");
    EXPECT_EQ(BandTextForModel("HRV-41A", "P", info.identity, "."), "") << "no such model";
}

TEST(MemoryMapTexts, HeadingsCellsAndCharacters) {
    EXPECT_EQ(MemoryMapColumnHeading(0), "__0");
    EXPECT_EQ(MemoryMapColumnHeading(15), "__F");
    EXPECT_EQ(MemoryMapRowHeading(0x000), "   000_");
    EXPECT_EQ(MemoryMapRowHeading(0x120), "   012_");
    EXPECT_EQ(MemoryMapRowHeading(0x3F0), "   03F_");
    EXPECT_EQ(MemoryMapCell(0x0A), "0A");
    EXPECT_EQ(MemoryMapCell(0xFF), "FF");
    EXPECT_EQ(MemoryMapCharacter('P'), "P");
    EXPECT_EQ(MemoryMapCharacter(' '), " ");
    for (int b : {0x00, 0x1F, 0x7F, 0x80, 0xFF}) EXPECT_EQ(MemoryMapCharacter(static_cast<std::uint8_t>(b)), ".");
}

}  // namespace
}  // namespace vrm
