// vrm650t-cli sim init|show|set: create and inspect a simulated radio's state
// file, so that the program can be tried and tested without a cable (run it
// with LD_LIBRARY_PATH pointing at the simulator's libpipelink.so).
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "core/files/document.h"
#include "core/base/language_table.h"
#include "core/base/text_format.h"
#include "core/base/text_ids.h"
#include "cli/cli.h"
#include "cli/terminal_prompter.h"
#include "core/files/data_file.h"
#include "core/model/model_catalogue.h"
#include "core/model/radio_image.h"
#include "sim/sim_faults.h"
#include "sim/sim_state.h"
#include "sim/simulated_radio.h"

namespace vrm::cli {

namespace {

bool ParseNumber(const std::string& text, unsigned long max, unsigned long& value) {
    if (text.empty() || text[0] == '-' || text[0] == '+') return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtoul(text.c_str(), &end, 0);
    return errno == 0 && *end == '\0' && value <= max;
}

std::string StatePath(Context& ctx) {
    const auto path = ctx.args.Value("--state");
    return path && !path->empty() ? *path : DefaultSimStatePath();
}

bool Load(Context& ctx, const std::string& path, SimulatedRadio& radio) {
    std::string error;
    if (LoadSimState(path, radio, &error)) return true;
    ctx.err << Format(ctx, tid::kSimCannotUse, {path, error}) << "\n";
    return false;
}

bool Save(Context& ctx, const std::string& path, const SimulatedRadio& radio) {
    std::string error;
    if (SaveSimState(path, radio, &error)) return true;
    ctx.err << Format(ctx, tid::kSimNotSaved, {path, error}) << "\n";
    return false;
}

// A model of the catalogue (1-4) with one of its bands: identity and the
// information block's model name and code.
bool ApplyModel(Context& ctx, const std::optional<std::string>& modelText, const std::optional<std::string>& bandText,
                SimulatedRadio& radio) {
    unsigned long model = 0;
    if (!modelText || !ParseNumber(*modelText, 4, model) || model < 1) {
        ctx.err << ctx.Text(tid::kCliModelRange) << "\n";
        return false;
    }
    const auto bands = ModelCatalogue::BandList(static_cast<int>(model), ".");
    unsigned long band = static_cast<unsigned long>(bands.front().data);
    if (bandText) {
        bool known = ParseNumber(*bandText, 0xFFFF, band);
        if (known) {
            known = false;
            for (const ListEntry& b : bands) known = known || static_cast<unsigned long>(b.data) == band;
        }
        if (!known) {
            std::string list;
            char buf[16];
            for (const ListEntry& b : bands) {
                std::snprintf(buf, sizeof buf, "0x%04X", static_cast<unsigned>(b.data));
                list += (list.empty() ? "" : ", ") + std::string(buf);
            }
            ctx.err << Format(ctx, tid::kCliBandNotOfModel, {*bandText, static_cast<int>(model), list}) << "\n";
            return false;
        }
    }
    // The identity the catalogue gives the model and band.
    Document scratch(Language(ctx));
    ModelCatalogue& catalogue = scratch.Catalogue();
    catalogue.ResetIdentity();
    catalogue.SetModel(static_cast<int>(model));
    catalogue.SetBandWord(static_cast<std::uint16_t>(band));
    radio.SetIdentity(catalogue.CurrentIdentity());
    const ModelRecord* record = ModelCatalogue::Model(static_cast<int>(model));
    std::string suffix = record->typeSuffix;
    suffix.erase(0, suffix.find_first_not_of(' '));
    radio.SetModelName(record->displayName);
    radio.SetModelCode(suffix);
    return true;
}

bool SetText(Context& ctx, const char* option, const std::optional<std::string>& value, std::size_t max,
             std::uint8_t* out) {
    if (!value) return true;
    if (value->size() > max) {
        ctx.err << Format(ctx, tid::kSimBadValue, {option, *value}) << "\n";
        return false;
    }
    std::memset(out, 0xFF, max);
    std::memcpy(out, value->data(), value->size());
    return true;
}

// The memory from a data file (read as Open reads it) or a raw image.
bool LoadMemory(Context& ctx, const std::string& file, const std::optional<std::string>& password,
                SimulatedRadio& radio) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(file, ec);
    if (!ec && size == kImageSize) {
        std::ifstream in(file, std::ios::binary);
        ImageBuffer raw{};
        if (in.read(reinterpret_cast<char*>(raw.data()), static_cast<std::streamsize>(raw.size()))) {
            radio.Memory() = raw;
            return true;
        }
    }
    if (!ec) {
        // The body as the file holds it: the radio's memory.
        Document document(Language(ctx));
        TerminalPrompter prompter(ctx.err, ctx.language);
        prompter.SetPassword(password);
        prompter.SetSubject(file);
        if (document.Read(file, prompter).Ok()) {
            radio.Memory() = document.Image().Transfer();
            return true;
        }
    }
    ctx.err << Format(ctx, tid::kSimMemoryUnreadable, {file}) << "\n";
    return false;
}

// ---------------------------------------------------------------------------

int BadValue(Context& ctx, const char* option, const std::string& value);

// The state files `sim init` makes: --radios N in a folder (radio-01.state
// ...), or every file of a station list (a:b:c), or the one file.
std::vector<std::string> InitPaths(Context& ctx, unsigned long radios) {
    const auto given = ctx.args.Value("--state");
    std::vector<std::string> paths = given && !given->empty() ? std::vector<std::string>{*given} : SimStatePaths();
    if (radios == 0 || paths.size() == radios) return paths;
    const std::string folder = paths.front();
    paths.clear();
    for (unsigned long i = 1; i <= radios; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "/radio-%02lu.state", i);
        paths.push_back(folder + name);
    }
    return paths;
}

int RunInit(Context& ctx) {
    const bool force = ctx.args.Flag("--force");
    const auto modelText = ctx.args.Value("--model");
    const auto bandText = ctx.args.Value("--band");
    if (!modelText && bandText) {
        ctx.err << ctx.Text(tid::kCliModelRange) << "\n";
        return kUsageError;
    }
    unsigned long radios = 0;
    if (const auto n = ctx.args.Value("--radios"); n && (!ParseNumber(*n, 99, radios) || radios == 0))
        return BadValue(ctx, "--radios", *n);
    const std::vector<std::string> paths = InitPaths(ctx, radios);
    std::error_code ec;
    for (const std::string& path : paths) {
        if (!force && std::filesystem::exists(path, ec)) {
            ctx.err << Format(ctx, tid::kSimExists, {path}) << "\n";
            return kExitNotWritten;
        }
    }
    // A station's folder is made (not its parents); a missing folder of a
    // single file is not: a mistyped path says so rather than leaving a
    // radio somewhere unexpected.
    if (radios > 1 && paths.size() == radios) {
        const std::string folder = std::filesystem::path(paths.front()).parent_path().string();
        std::filesystem::create_directory(folder, ec);
    }
    for (std::size_t i = 0; i < paths.size(); ++i) {
        SimulatedRadio radio;
        if (modelText && !ApplyModel(ctx, modelText, bandText, radio)) return kUsageError;
        // Each radio of a station has a serial number of its own.
        if (paths.size() > 1) {
            char serial[24];
            std::snprintf(serial, sizeof serial, "%08zu", i + 1);
            radio.SetSerialNumber(serial);
        }
        if (!Save(ctx, paths[i], radio)) return kExitNotWritten;
        ctx.out << Format(ctx, tid::kSimCreated, {paths[i]}) << "\n";
    }
    return 0;
}

int RunShow(Context& ctx) {
    const std::string path = StatePath(ctx);
    const bool logOnly = ctx.args.Flag("--log");
    SimulatedRadio radio;
    if (!Load(ctx, path, radio)) return kExitInputRefused;
    if (logOnly) {
        for (const std::string& line : radio.Log()) ctx.out << line << "\n";
    } else {
        ctx.out << FormatSimState(radio);
    }
    return 0;
}

int BadValue(Context& ctx, const char* option, const std::string& value) {
    ctx.err << Format(ctx, tid::kSimBadValue, {option, value}) << "\n";
    return kUsageError;
}

// --identity, the information texts and --checksum; 0, or kUsageError with
// the message.
int SetInformation(Context& ctx, SimulatedRadio& radio) {
    if (const auto identity = ctx.args.Value("--identity")) {
        ModelIdentity id{};
        if (!ParseHexBytes(*identity, id.data(), id.size())) return BadValue(ctx, "--identity", *identity);
        radio.SetIdentity(id);
    }
    if (!SetText(ctx, "--model-name", ctx.args.Value("--model-name"), 12, radio.Information().data()) ||
        !SetText(ctx, "--model-code", ctx.args.Value("--model-code"), 4, radio.Information().data() + 12) ||
        !SetText(ctx, "--serial", ctx.args.Value("--serial"), 12, radio.Information().data() + 16) ||
        !SetText(ctx, "--firmware", ctx.args.Value("--firmware"), 8, radio.Version().data()) ||
        !SetText(ctx, "--boot-version", ctx.args.Value("--boot-version"), 8, radio.BootVersion().data()))
        return kUsageError;
    if (const auto checksum = ctx.args.Value("--checksum")) {
        unsigned long v = 0;
        if (*checksum == "auto") radio.SetChecksumOverride(std::nullopt);
        else if (ParseNumber(*checksum, 0xFFFF, v)) radio.SetChecksumOverride(static_cast<std::uint16_t>(v));
        else return BadValue(ctx, "--checksum", *checksum);
    }
    return 0;
}

// Every --byte ADDRESS=VALUE, all checked before any is applied, so a bad one
// changes nothing; 0, or kUsageError with the message.
int SetBytes(Context& ctx, SimulatedRadio& radio) {
    std::vector<std::pair<unsigned long, unsigned long>> assignments;
    for (const std::string& byte : ctx.args.Values("--byte")) {
        const auto eq = byte.find('=');
        unsigned long address = 0, value = 0;
        if (eq == std::string::npos || !ParseNumber(byte.substr(0, eq), kImageSize - 1, address) ||
            !ParseNumber(byte.substr(eq + 1), 0xFF, value))
            return BadValue(ctx, "--byte", byte);
        assignments.emplace_back(address, value);
    }
    for (const auto& [address, value] : assignments) radio.Memory()[address] = static_cast<std::uint8_t>(value);
    return 0;
}

int RunSet(Context& ctx) {
    const std::string path = StatePath(ctx);
    const auto modelText = ctx.args.Value("--model");
    const auto bandText = ctx.args.Value("--band");
    const auto memory = ctx.args.Value("--memory");
    const auto reference = ctx.args.Value("--reference-stored");
    const bool clearLog = ctx.args.Flag("--clear-log");
    bool anything = modelText || bandText || memory || reference || clearLog || !ctx.args.Values("--byte").empty();
    for (const char* option : {"--identity", "--model-name", "--model-code", "--serial", "--firmware",
                               "--boot-version", "--checksum"})
        anything = anything || ctx.args.Value(option).has_value();
    if (!anything) {
        ctx.err << ctx.Text(tid::kSimNothingToSet) << "\n";
        return kUsageError;
    }
    SimulatedRadio radio;
    if (!Load(ctx, path, radio)) return kExitInputRefused;

    // The memory first, so that an identity given with it wins.
    if (memory && !LoadMemory(ctx, *memory, ctx.args.Value("--password"), radio)) return kExitInputRefused;
    if ((modelText || bandText) && !ApplyModel(ctx, modelText, bandText, radio)) return kUsageError;
    if (const int bad = SetInformation(ctx, radio)) return bad;
    if (const int bad = SetBytes(ctx, radio)) return bad;
    if (reference) {
        if (*reference != "0" && *reference != "1") return BadValue(ctx, "--reference-stored", *reference);
        radio.SetReferenceStored(*reference == "1");
    }
    if (clearLog) radio.ClearLog();
    if (!Save(ctx, path, radio)) return kExitNotWritten;
    ctx.out << Format(ctx, tid::kSimUpdated, {path}) << "\n";
    return 0;
}

// sim unplug / sim plug: the radio taken off its cable and put back (or
// another radio's state file put in its place first).
int RunPlug(Context& ctx, bool plugged) {
    const std::string path = StatePath(ctx);
    std::string error;
    if (!SetSimRadioPlugged(path, plugged, &error)) {
        ctx.err << Format(ctx, tid::kSimPlugFailed, {path, error}) << "\n";
        return kExitNotWritten;
    }
    ctx.out << Format(ctx, plugged ? tid::kSimPlugged : tid::kSimUnplugged, {path}) << "\n";
    return 0;
}

int RunUnplug(Context& ctx) { return RunPlug(ctx, false); }
int RunPlugIn(Context& ctx) { return RunPlug(ctx, true); }

}  // namespace

#define VRM_SIM_STATE_OPTION Valued("--state", "FILE", "the simulated radio's state file (default: $VRM650T_SIM_STATE)")
#define VRM_SIM_MODEL_OPTIONS                                                    \
    Valued("--model", "N", "the radio's model, 1-4"),                            \
        Valued("--band", "WORD", "one of the model's frequency band words (hexadecimal)")

VRM_CLI_COMMAND("sim init", "create a simulated radio (default: $VRM650T_SIM_STATE)", RunInit,
                {VRM_SIM_STATE_OPTION, VRM_SIM_MODEL_OPTIONS, Switch("--force", "replace an existing state file"),
                 Valued("--radios", "N", "make a station of N radios with serial numbers of their own in the folder --state names")});
VRM_CLI_COMMAND("sim show", "print a simulated radio's state file, or only what it was asked", RunShow,
                {VRM_SIM_STATE_OPTION, Switch("--log", "only the log of what the radio was asked")});
VRM_CLI_COMMAND("sim set", "change a simulated radio: model, identity, information texts, checksum, memory", RunSet,
                {VRM_SIM_STATE_OPTION, VRM_SIM_MODEL_OPTIONS,
                 Valued("--identity", "HEX", "the radio's identity bytes"),
                 Valued("--model-name", "TEXT", "the information block's model name"),
                 Valued("--model-code", "TEXT", "the information block's model code"),
                 Valued("--serial", "TEXT", "the serial number"), Valued("--firmware", "TEXT", "the firmware version"),
                 Valued("--boot-version", "TEXT", "the boot version"),
                 Valued("--checksum", "N|auto", "the checksum the radio reports"),
                 Valued("--memory", "FILE", "load the memory from a data file"),
                 Valued("--password", "DIGITS", "the data-file password of --memory's file"),
                 Repeated("--byte", "ADDR=VALUE", "set one byte of the memory (repeatable)"),
                 Valued("--reference-stored", "0|1", "whether the radio holds reference tuning values"),
                 Switch("--clear-log", "empty the log of what the radio was asked")});
VRM_CLI_COMMAND("sim unplug", "take a simulated radio off its cable: the cable stays, nothing answers", RunUnplug,
                {VRM_SIM_STATE_OPTION});
VRM_CLI_COMMAND("sim plug", "plug a simulated radio into its cable again (after sim unplug)", RunPlugIn,
                {VRM_SIM_STATE_OPTION});

}  // namespace vrm::cli
