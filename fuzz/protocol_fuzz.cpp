// The protocol's parsing of radio replies, driven through the simulated
// transport: the simulated radio answers every command, and the input
// decides, reply by reply, whether the program gets the radio's answer as
// it is, a reply of the input's own (as plain bytes, scrambled with the link
// key on the way), the answer with a byte changed, cut short, or nothing.
// The transfer the input's first byte picks runs on a virtual clock: a read
// of the configuration, the radio information, test mode with a few
// controls, or the tuning read.
//
// Properties:
// - no crash and no hang (the clock is virtual, so waits cost nothing);
// - a read that reports success holds, block for block, the 16 bytes the
//   radio's 64 block replies carried: no block is taken from a short or
//   missing reply, so no image is adopted from a bad read;
// - with every reply as the radio sent it, each transfer succeeds and gets
//   what the radio holds (and test mode leaves the transmitter off).
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <vector>

#include "fuzz_support.h"
#include "core/link/protocol_bytes.h"
#include "core/link/radio_info.h"
#include "core/link/read_transfer.h"
#include "core/link/test_mode.h"
#include "core/link/tuning_transfer.h"
#include "core/model/model_catalogue.h"
#include "sim/simulated_link.h"
#include "sim/simulated_radio.h"
#include "sim/simulated_transport.h"

namespace {

using namespace vrm;

// The simulated transport with the input between the radio and the port.
class FuzzedTransport final : public Transport {
public:
    FuzzedTransport(SimulatedLink& link, fuzz::InputReader& in) : inner_(link), in_(in) { inner_.SetRecording(false); }

    void SetPort(const ScrambledPort* port) { port_ = port; }
    bool Tampered() const { return tampered_; }
    // The plain bytes each block read's reply carried, by address.
    const std::map<unsigned, std::vector<std::uint8_t>>& Blocks() const { return blocks_; }

    bool Load() override { return inner_.Load(); }
    void Unload() override { inner_.Unload(); }
    bool IsLoaded() const override { return inner_.IsLoaded(); }
    std::optional<int> Init() override { return inner_.Init(); }
    std::optional<int> Delete() override { return inner_.Delete(); }
    std::optional<int> TimeOutSet(std::uint32_t ms) override { return inner_.TimeOutSet(ms); }
    std::optional<int> LastError() override { return inner_.LastError(); }

    std::optional<int> Send(const std::uint8_t* data, std::uint32_t length) override {
        lastSent_.assign(data, data + length);
        for (auto& b : lastSent_) b = static_cast<std::uint8_t>(b ^ Key());
        return inner_.Send(data, length);
    }

    std::optional<int> Recv(std::uint8_t* dst, std::uint32_t* count) override {
        const std::uint8_t op = in_.Empty() ? 0 : in_.Byte();
        std::optional<int> r;
        switch (op % 8) {
            case 4: {  // a reply of the input's own
                (void)inner_.Recv(dst, count);
                const std::string_view bytes = in_.Take(in_.Byte() % (kUsbReadSize + 1));
                for (std::size_t i = 0; i < bytes.size(); ++i)
                    dst[i] = static_cast<std::uint8_t>(static_cast<std::uint8_t>(bytes[i]) ^ Key());
                *count = static_cast<std::uint32_t>(bytes.size());
                r = 1;
                tampered_ = true;
                break;
            }
            case 5: {  // a byte changed
                r = inner_.Recv(dst, count);
                if (r && *count > 0) dst[in_.Byte() % *count] ^= static_cast<std::uint8_t>(in_.Byte() | 1);
                tampered_ = true;
                break;
            }
            case 6:  // cut short
                r = inner_.Recv(dst, count);
                if (r && *count > 0) *count = in_.Byte() % *count;
                tampered_ = true;
                break;
            case 7:  // nothing arrives (the answer, if any, comes later)
                *count = 0;
                r = in_.Byte() % 2;
                tampered_ = true;
                break;
            default: r = inner_.Recv(dst, count); break;
        }
        NoteBlock(dst, r && *r == 1 ? *count : 0);
        return r;
    }

private:
    std::uint8_t Key() const { return port_ ? port_->Key() : 0; }

    void NoteBlock(const std::uint8_t* dst, std::uint32_t count) {
        if (lastSent_.size() != 4 || lastSent_[0] != proto::kReadBlock) return;
        const unsigned address = (lastSent_[1] << 8) | lastSent_[2];
        std::vector<std::uint8_t> plain;
        for (std::uint32_t i = 1; i < count && i <= lastSent_[3]; ++i)
            plain.push_back(static_cast<std::uint8_t>(dst[i] ^ Key()));
        blocks_[address] = plain;
        lastSent_.clear();  // the handshake's reply is no block
    }

    SimulatedTransport inner_;
    fuzz::InputReader& in_;
    const ScrambledPort* port_ = nullptr;
    std::vector<std::uint8_t> lastSent_;
    std::map<unsigned, std::vector<std::uint8_t>> blocks_;
    bool tampered_ = false;
};

struct Bench {
    explicit Bench(fuzz::InputReader& in) : link(radio, clock) {
        clock.SetLocalTime({17, 42});
        auto t = std::make_unique<FuzzedTransport>(link, in);
        transport = t.get();
        port = std::make_unique<ProgrammingPort>(std::move(t), clock, true);
        transport->SetPort(port.get());
    }
    TransferContext Context() { return {*port, prompter, fuzz::English(), observer}; }

    VirtualClock clock;
    SimulatedRadio radio;
    SimulatedLink link;
    FuzzedTransport* transport = nullptr;
    std::unique_ptr<ProgrammingPort> port;
    fuzz::ScriptedPrompter prompter;
    NullTransferObserver observer;
};

void Read(Bench& b) {
    ImageBuffer image;
    image.fill(0xA5);
    const TransferResult r = ReadDataFromRadio(b.Context(), image);
    fuzz::Require(r.Ok() || b.transport->Tampered(), "a read of untouched replies succeeds");
    if (!r.Ok()) return;
    for (unsigned a = 0; a < kImageSize; a += kBlockSize) {
        const auto it = b.transport->Blocks().find(a);
        fuzz::Require(it != b.transport->Blocks().end() && it->second.size() == kBlockSize,
                      "a successful read got every block whole", "block at " + std::to_string(a));
        for (unsigned i = a < kIdentitySize ? kIdentitySize : 0; i < kBlockSize; ++i)
            fuzz::Require(image[a + i] == it->second[i], "a successful read holds what the blocks carried",
                          "byte " + std::to_string(a + i));
    }
    fuzz::Require(image[12] == 0xFF, "a read image has byte 12 blank");
    if (!b.transport->Tampered()) {
        ImageBuffer expected = b.radio.Memory();
        const ModelIdentity id = b.radio.Identity();
        std::copy(id.begin(), id.end(), expected.begin());
        expected[12] = 0xFF;
        fuzz::Require(image == expected, "an untouched read holds the radio's memory");
    }
    // Adopted as the program and the CLI take a successful read.
    RadioImage document;
    ModelCatalogue catalogue(document);
    document.Transfer() = image;
    document.AdoptTransferImage();
    catalogue.RecomputeBandLimits();
    document.FixUpAfterLoad(catalogue);
}

void Information(Bench& b) {
    RadioInformation info;
    const TransferResult r = RunRadioInformationTransfer(b.Context(), info);
    fuzz::Require(r.Ok() || b.transport->Tampered(), "radio information of untouched replies succeeds");
    fuzz::Require(r.Ok() == info.complete, "radio information is complete exactly when it succeeded");
    if (r.Ok()) (void)RadioInformationDisplay(info, false, "."), (void)RadioInformationDisplay(info, true, ".");
}

void TestMode(Bench& b, fuzz::InputReader& in) {
    const ImageBuffer live = b.radio.Memory();
    TestModeSession session(b.Context(), live);
    const TestModeStart started = session.Start();
    fuzz::Require(started == TestModeStart::kOk || b.transport->Tampered(), "test mode of untouched replies starts");
    if (started != TestModeStart::kOk) return;
    for (int n = 0; n < 8 && session.Active(); ++n) {
        const std::uint8_t control = in.Byte();
        const int value = in.Byte();
        std::uint8_t current = 0;
        switch (control % 10) {
            case 0: session.SelectChannel(value % kTestChannels); break;
            case 1: session.SetTransmit(value & 1); break;
            case 2: session.SetSquelch(value % 12 - 1); break;
            case 3: session.SetVolume(value % 10 - 1); break;
            case 4: session.SelectSignalling(value % kSignallingCount); break;
            case 5: session.PointOn(value % kTuningItems, (value >> 2) % 3, current); break;
            case 6: session.PointStep(static_cast<std::int8_t>(value)); break;
            case 7: session.PointQuery(current); break;
            case 8: session.PointOff(); break;
            default: session.SetPower(value & 1); break;
        }
    }
    const bool off = session.End();
    if (!b.transport->Tampered()) {
        fuzz::Require(off && !b.radio.Transmitting(), "test mode of untouched replies ends with the transmitter off");
    }
}

void Tuning(Bench& b) {
    TuningSet set;
    const TuningResult r = ReadTuning(b.Context(), set);
    fuzz::Require(r.Ok() || b.transport->Tampered(), "a tuning read of untouched replies succeeds");
    fuzz::Require(r.Ok() == set.held, "tuning values are held exactly when the read succeeded");
    if (r.Ok() && !b.transport->Tampered())
        fuzz::Require(std::equal(b.radio.Tuning().begin(), b.radio.Tuning().end(), set.values.begin()),
                      "an untouched tuning read holds the radio's values");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::InputReader in(data, size);
    const std::uint8_t which = in.Byte();
    Bench bench(in);
    switch (which % 4) {
        case 0: Read(bench); break;
        case 1: Information(bench); break;
        case 2: TestMode(bench, in); break;
        default: Tuning(bench); break;
    }
    return 0;
}
