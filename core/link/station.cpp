#include "core/link/station.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "core/base/clock.h"
#include "core/base/language_table.h"
#include "core/base/prompter.h"
#include "core/base/text_format.h"
#include "core/link/programming_port.h"
#include "core/link/radio_info.h"
#include "pipelink/pipelink.h"

namespace vrm {

std::optional<std::vector<StationCable>> ListStationCables(const std::string& library) {
    LibraryTransport lib(library);
    if (!lib.Load()) return std::nullopt;
    std::vector<PipelinkCable> found(16);
    std::optional<int> n = lib.ListCables(found.data(), static_cast<std::uint32_t>(found.size()));
    if (n && *n > static_cast<int>(found.size())) {
        found.resize(static_cast<std::size_t>(*n));
        n = lib.ListCables(found.data(), static_cast<std::uint32_t>(found.size()));
    }
    if (!n || *n < 0) return std::nullopt;
    std::vector<StationCable> cables;
    for (int i = 0; i < *n && i < static_cast<int>(found.size()); ++i)
        cables.push_back({found[i].portPath, found[i].serial, found[i].bus, found[i].address});
    return cables;
}

std::vector<StationCable> ChooseCables(const std::vector<StationCable>& present, const std::string& ids,
                                       std::vector<std::string>& unknown) {
    if (ids.empty() || ids == "all") return present;
    std::vector<StationCable> chosen;
    std::size_t start = 0;
    while (start <= ids.size()) {
        const std::size_t comma = std::min(ids.find(',', start), ids.size());
        const std::string id = ids.substr(start, comma - start);
        start = comma + 1;
        if (id.empty()) continue;
        bool found = false;
        for (const StationCable& c : present) {
            if (c.portPath != id && (c.serial.empty() || c.serial != id)) continue;
            found = true;
            bool twice = false;
            for (const StationCable& k : chosen) twice = twice || k.portPath == c.portPath;
            if (!twice) chosen.push_back(c);
            break;
        }
        if (!found) unknown.push_back(id);
    }
    return chosen;
}

std::string StationPhaseText(const LanguageTable& language, StationPhase phase) {
    switch (phase) {
        case StationPhase::kWaiting: return language.TextString(tid::kStationWaiting);
        case StationPhase::kIdentifying: return language.TextString(tid::kStationIdentifying);
        case StationPhase::kBackup: return language.TextString(tid::kStationBackup);
        case StationPhase::kWriting: return language.TextString(tid::kStationWriting);
        case StationPhase::kVerifying: return language.TextString(tid::kStationVerifying);
        case StationPhase::kDone: return language.TextString(tid::kStationDone);
        case StationPhase::kFailed: return language.TextString(tid::kStationFailed);
        case StationPhase::kStopped: return language.TextString(tid::kStationStopped);
        case StationPhase::kNextRadio: return language.TextString(tid::kStationNextRadio);
    }
    return {};
}

// One cable's run: its port, and the observer and prompter its transfers
// report to (no one sits at a station's cable to answer, so questions get the
// answer the job gives and messages are only noted).
class StationCableRun final : public TransferObserver, public Prompter {
public:
    StationCableRun(Station& station, std::size_t index)
        : station_(station),
          index_(index),
          status_(station.statuses_[index]),
          port_(std::make_unique<LibraryTransport>(station.job_.library, status_.cable.portPath),
                SystemClock::Instance()) {
        port_.SetScrambling(station.job_.scrambling);
        port_.SetStopFlag(&station.stop_);
    }

    void Run();

    // TransferObserver
    void OnProgress(int done, int total, const std::string&) override {
        if (done == status_.done && total == status_.total) return;
        status_.done = done;
        status_.total = total;
        Publish();
    }
    void OnWindowText(const std::string& text) override {
        const LanguageTable& lang = station_.language_;
        StationPhase phase = status_.phase;
        if (text == lang.TextString(tid::kSafeWriteBackingUp)) phase = StationPhase::kBackup;
        else if (text == lang.TextString(tid::kWriteWindowRunning)) phase = StationPhase::kWriting;
        else if (text == lang.TextString(tid::kSafeWriteVerifying)) phase = StationPhase::kVerifying;
        if (phase != status_.phase) SetPhase(phase);
    }

    // Prompter
    Answer Ask(const Message& message) override {
        if (message.kind == MessageKind::Error) lastError_ = message.text;
        switch (message.buttons) {
            case Buttons::OkCancel: return station_.job_.assumeYes ? Answer::Ok : Answer::Cancel;
            case Buttons::YesNo:
            case Buttons::YesNoCancel: return station_.job_.assumeYes ? Answer::Yes : Answer::No;
            case Buttons::Ok: break;
        }
        return Answer::Ok;
    }
    PasswordResult AskPassword(PasswordGate&) override { return PasswordResult::Cancelled; }

private:
    bool Stopped() const { return station_.stop_.Value() != 0; }
    void Publish() { station_.Publish(index_, status_); }
    void SetPhase(StationPhase phase) {
        status_.phase = phase;
        status_.done = status_.total = 0;
        Publish();
    }
    TransferContext Context() { return {port_, *this, station_.language_, *this}; }
    void OneRadio();
    bool RadioAnswers();
    std::string AnsweringSerial();
    void Pause();
    bool WaitForFirstRadio();
    bool WaitForNextRadio();

    Station& station_;
    std::size_t index_;
    CableStatus status_;
    ProgrammingPort port_;
    std::string lastError_;
};

void StationCableRun::OneRadio() {
    const StationJob& job = station_.job_;
    const LanguageTable& lang = station_.language_;
    status_.radioSerial.clear();
    status_.model.clear();
    status_.result.clear();
    lastError_.clear();
    const ImageBuffer* image = &job.image;
    SafeWriteOptions options = job.options;
    if (job.plan) {
        // The radio's serial number chooses its data before anything is read
        // into a backup or written.
        SetPhase(StationPhase::kIdentifying);
        RadioInformation info;
        const TransferResult r = RunRadioInformationTransfer(Context(), info);
        if (!r.Ok()) {
            ++status_.failed;
            status_.result = Stopped() ? StopText(station_.stop_.Value(), lang)
                                       : (lastError_.empty() ? lang.TextString(tid::kStationNoRadio) : lastError_);
            SetPhase(Stopped() ? StationPhase::kStopped : StationPhase::kFailed);
            return;
        }
        const InformationTexts texts = ReadInformationTexts(info.information);
        status_.radioSerial = texts.serial;
        status_.model = texts.modelName + ":" + texts.modelCode;
        const auto it = job.plan->radios.find(texts.serial);
        if (it != job.plan->radios.end()) {
            image = &it->second.image;
            if (!it->second.file.empty()) options.dataFile = it->second.file;
        } else if (!job.planDefault) {
            ++status_.failed;
            status_.result = FormatText(lang.TextString(tid::kPlanNotInPlan), {texts.serial});
            SetPhase(StationPhase::kFailed);
            return;
        }
    }
    const SafeWriteResult res = SafeWriteToRadio(Context(), *image, false, options);
    if (res.radio.known) {
        status_.radioSerial = res.radio.serial;
        status_.model = res.radio.model;
    }
    // Continuous knows a radio again by its serial number; without a backup
    // or a log row the write did not read it, so it is read now.
    if (res.Ok() && job.continuous && status_.radioSerial.empty()) status_.radioSerial = AnsweringSerial();
    status_.result = ResultText(res, station_.language_);
    if (res.Ok()) ++status_.written;
    else ++status_.failed;
    SetPhase(res.Ok() ? StationPhase::kDone : (res.stopSignal ? StationPhase::kStopped : StationPhase::kFailed));
}

// Whether a radio answers on the cable now: program mode entered and left.
bool StationCableRun::RadioAnswers() {
    port_.SetOpen(true);
    const bool answers = port_.EnterProgramMode() == 0;
    if (answers) port_.ExitProgramMode();
    port_.SetOpen(false);
    return answers;
}

// The serial number of the radio on the cable ("" when it cannot be read),
// read without showing progress: the row still tells the last radio.
std::string StationCableRun::AnsweringSerial() {
    NullTransferObserver quiet;
    RadioInformation info;
    if (!RunRadioInformationTransfer({port_, *this, station_.language_, quiet}, info).Ok()) return {};
    return ReadInformationTexts(info.information).serial;
}

// Sleeps one poll interval, waking early for a stop.
void StationCableRun::Pause() {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(station_.job_.pollMs);
    while (!Stopped() && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(
            std::chrono::milliseconds(50), until - std::chrono::steady_clock::now()));
}

// Continuous, before the first radio: a cable whose radio is not plugged in
// yet waits for it (an empty cable is no failed radio). False on a stop.
bool StationCableRun::WaitForFirstRadio() {
    if (RadioAnswers()) return true;
    SetPhase(StationPhase::kNextRadio);
    while (!Stopped() && !RadioAnswers()) Pause();
    if (!Stopped()) return true;
    SetPhase(StationPhase::kStopped);
    return false;
}

// Continuous: waits until the radio that was written goes away and another
// answers in its place. While the last radio stays on the cable its outcome
// stays shown; "waiting for the next radio" once it is gone. A radio that
// comes back with the serial number just written (a restart, a loose plug)
// is not the next one and is not written twice. False on a stop, with the
// last radio's outcome shown again.
bool StationCableRun::WaitForNextRadio() {
    const StationPhase last = status_.phase;
    const std::string result = status_.result;
    const std::string written = last == StationPhase::kDone ? status_.radioSerial : std::string();
    while (!Stopped()) {
        while (!Stopped() && RadioAnswers()) Pause();
        if (Stopped()) break;
        SetPhase(StationPhase::kNextRadio);
        while (!Stopped() && !RadioAnswers()) Pause();
        if (Stopped()) break;
        if (written.empty() || AnsweringSerial() != written) return true;
        status_.result = result;
        SetPhase(last);
    }
    status_.result = result;
    SetPhase(last);
    return false;
}

void StationCableRun::Run() {
    const bool continuous = station_.job_.continuous;
    if (continuous && !WaitForFirstRadio()) return;
    do {
        OneRadio();
    } while (continuous && !Stopped() && WaitForNextRadio());
}

Station::Station(const LanguageTable& language, StationJob job, std::vector<StationCable> cables,
                 StationObserver& observer, const StopFlag* session)
    : language_(language), job_(std::move(job)), observer_(observer), stop_(session) {
    for (StationCable& c : cables) {
        CableStatus status;
        status.cable = std::move(c);
        statuses_.push_back(std::move(status));
    }
}

void Station::Publish(std::size_t index, CableStatus status) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        statuses_[index] = status;
    }
    observer_.OnCable(index, status);
}

void Station::RunCable(std::size_t index) {
    StationCableRun run(*this, index);
    run.Run();
}

void Station::Run() {
    std::vector<std::thread> workers;
    for (std::size_t i = 0; i < statuses_.size(); ++i) workers.emplace_back([this, i] { RunCable(i); });
    for (std::thread& t : workers) t.join();
}

std::vector<CableStatus> Station::Statuses() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return statuses_;
}

int Station::Written() const {
    int n = 0;
    for (const CableStatus& s : Statuses()) n += s.written;
    return n;
}

int Station::Failed() const {
    int n = 0;
    for (const CableStatus& s : Statuses()) n += s.failed;
    return n;
}

}  // namespace vrm
