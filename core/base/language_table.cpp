#include "core/base/language_table.h"

#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "core/base/prompter.h"
#include "core/base/language_rows.h"
#include "core/base/safe_file.h"
#include "core/base/required_text_ids.h"

namespace vrm {

namespace {

using namespace langrows;

// Bounds far above any real language file (tens of kilobytes, rows of a few
// hundred bytes with a handful of fields). Beyond them a file is refused as
// damaged before it is parsed, so that neither a wrong --lang argument nor a
// stray file in the program's folder costs seconds or gigabytes.
constexpr std::size_t kMaxFileBytes = 4u * 1024u * 1024u;

constexpr std::uint32_t kIdZeroStandsFor = 10000001;

// Header keys, tested in this order so that a longer key wins over its prefix.
enum class Key {
    Language, FPitchFontSize, FPitchFont, GridFontSize, FontSize, Font, DispLanguage,
    Help0,  // the 13 help-file keys follow in slot order
    AdHelpFile = Help0 + LanguageSettings::kHelpFileSlots,
    None
};

struct KeyName {
    std::string_view text;
    Key key;
};

constexpr KeyName kKeys[] = {
    {"*Language", Key::Language},
    {"*FPitchFontSize", Key::FPitchFontSize},
    {"*FPitchFont", Key::FPitchFont},
    {"*GridFontSize", Key::GridFontSize},
    {"*FontSize", Key::FontSize},
    {"*Font", Key::Font},
    {"*DispLanguage", Key::DispLanguage},
    {"*LMRHelpFile", static_cast<Key>(static_cast<int>(Key::Help0) + 0)},
    {"*LMRSEHelpFile", static_cast<Key>(static_cast<int>(Key::Help0) + 1)},
    {"*BRSHelpFile", static_cast<Key>(static_cast<int>(Key::Help0) + 2)},
    {"*BRSSEHelpFile", static_cast<Key>(static_cast<int>(Key::Help0) + 3)},
    {"*BRSonlyHelpFile", static_cast<Key>(static_cast<int>(Key::Help0) + 4)},
    {"*LMREHelpFile", static_cast<Key>(static_cast<int>(Key::Help0) + 5)},
    {"*LMRESEHelpFile", static_cast<Key>(static_cast<int>(Key::Help0) + 6)},
    {"*LMREonlyHelpFile", static_cast<Key>(static_cast<int>(Key::Help0) + 7)},
    {"*BRSEHelpFile", static_cast<Key>(static_cast<int>(Key::Help0) + 8)},
    {"*BRSESEHelpFile", static_cast<Key>(static_cast<int>(Key::Help0) + 9)},
    {"*GMRSHelpFile", static_cast<Key>(static_cast<int>(Key::Help0) + 10)},
    {"*GMRSSEHelpFile", static_cast<Key>(static_cast<int>(Key::Help0) + 11)},
    {"*GMRSonlyHelpFile", static_cast<Key>(static_cast<int>(Key::Help0) + 12)},
    {"*AdHelpFile", Key::AdHelpFile},
};

// The keys the header must name before the header pass may end: "*Language",
// "*Font", "*DispLanguage", the help-file keys and "*AdHelpFile".
constexpr std::uint32_t Bit(Key k) { return 1u << static_cast<int>(k); }
constexpr std::uint32_t RequiredHeaderKeys() {
    std::uint32_t bits = Bit(Key::Language) | Bit(Key::Font) | Bit(Key::DispLanguage) | Bit(Key::AdHelpFile);
    for (int i = 0; i < LanguageSettings::kHelpFileSlots; ++i) bits |= 1u << (static_cast<int>(Key::Help0) + i);
    return bits;
}
constexpr std::uint32_t kRequiredHeaderKeys = RequiredHeaderKeys();


std::string FolderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return std::string();
    return path.substr(0, slash + 1);
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

bool Exists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

std::string Absolute(const std::string& path) {
    std::error_code ec;
    const std::filesystem::path p = std::filesystem::absolute(path, ec);
    return ec ? path : p.lexically_normal().string();
}

// Reads the whole file. False when it cannot be opened or read, is not a
// regular file (a FIFO or a device is never waited on), or is too large to be
// a language file.
bool ReadWholeFile(const std::string& path, std::string& data) {
    return ReadRegularFile(path, kMaxFileBytes, data).Ok();
}

// One parsed language file.
struct ParsedFile {
    struct Row {
        std::string first;               // the first field as written, e.g. ^#10007012
        std::vector<std::string> texts;  // one per column, in file order
    };

    std::string path;
    std::string languageKey;
    std::vector<std::string> columns;
    std::string fontKey;
    std::vector<std::string> fontValues;
    LanguageSettings settings;
    std::vector<std::uint32_t> ids;  // ascending
    std::vector<Row> rows;           // rows[i] belongs to ids[i]
    int selectedColumn = 0;

    const Row* Find(std::uint32_t id) const {
        const auto it = std::lower_bound(ids.begin(), ids.end(), id);
        if (it == ids.end() || *it != id) return nullptr;
        return &rows[static_cast<std::size_t>(it - ids.begin())];
    }
};

Key KeyOf(std::string_view line) {
    for (const KeyName& k : kKeys) {
        if (line.substr(0, k.text.size()) == k.text) return k.key;
    }
    return Key::None;
}

// A header row's value: the row without its key's letters and then without
// any commas at its front.
std::string_view ValueOf(std::string_view line, Key key) {
    for (const KeyName& k : kKeys) {
        if (k.key != key) continue;
        std::string_view v = line.substr(k.text.size());
        while (!v.empty() && v.front() == ',') v.remove_prefix(1);
        return v;
    }
    return {};
}

// Header pass: each physical line, until the first line that fits no key once
// every required key has been seen.
int ReadHeader(std::string_view data, ParsedFile& f) {
    std::uint32_t seen = 0;
    int error = LanguageTable::kNoError;
    LanguageSettings& s = f.settings;
    ForEachLine(data, [&](std::string_view physical) {
        const std::string_view line = Trim(physical);
        const Key key = KeyOf(line);
        if (key == Key::None) return (seen & kRequiredHeaderKeys) != kRequiredHeaderKeys;
        seen |= Bit(key);
        const std::string_view value = ValueOf(line, key);
        int n = 0;
        switch (key) {
            case Key::Language:
                if (!SplitRow(line, f.languageKey, f.columns)) error = LanguageTable::kQuoteInFirstField;
                break;
            case Key::Font:
                s.fontName.assign(value);
                if (!SplitRow(line, f.fontKey, f.fontValues)) error = LanguageTable::kQuoteInFirstField;
                break;
            case Key::FontSize:
                if (!value.empty()) s.fontSize = ParseInt(value, n) && n >= 1 && n <= 99 ? n : 14;
                break;
            case Key::GridFontSize:
                if (!value.empty()) {
                    const float v = ParseFloat(value);
                    s.gridFontSize = v >= 1.0f && v <= 99.99f ? v : 8.0f;
                }
                break;
            case Key::FPitchFont:
                if (!value.empty()) {
                    s.fixedPitchFont.assign(value);
                    s.fixedPitchFont2.assign(value);
                } else {
                    s.fixedPitchFont = "Courier";
                }
                break;
            case Key::FPitchFontSize:
                if (!value.empty()) s.fixedPitchFontSize = ParseInt(value, n) && n >= 1 && n <= 99 ? n : 13;
                break;
            case Key::DispLanguage:
                s.displayLanguage = Truncate(value, LanguageTable::kMaxDisplayLanguageBytes);
                break;
            case Key::AdHelpFile:
                s.advancedHelpFile.assign(value);
                break;
            default:
                s.helpFiles[static_cast<std::size_t>(static_cast<int>(key) - static_cast<int>(Key::Help0))].assign(value);
                break;
        }
        return error == LanguageTable::kNoError;
    });
    if (error != LanguageTable::kNoError) return error;
    if ((seen & kRequiredHeaderKeys) != kRequiredHeaderKeys) return LanguageTable::kHeaderIncomplete;
    return LanguageTable::kNoError;
}

// Text pass: every "^#" record; the first row of an ID wins.
int ReadTexts(std::string_view data, ParsedFile& f) {
    int error = LanguageTable::kNoError;
    std::vector<std::pair<std::uint32_t, std::size_t>> order;  // (id, index in file order)
    std::vector<ParsedFile::Row> rows;
    std::string first;
    std::vector<std::string> fields;
    ForEachRecord(data, [&](std::string_view record) {
        const std::string_view row = Trim(record);
        if (row.size() < 2 || row[0] != '^' || row[1] != '#') return true;
        if (!SplitRow(row, first, fields)) {
            error = LanguageTable::kQuoteInFirstField;
            return false;
        }
        std::uint32_t id = 0;
        if (!ParseTextId(first, id)) return true;
        order.emplace_back(id, rows.size());
        rows.push_back({first, std::move(fields)});
        fields = {};
        return true;
    });
    if (error != LanguageTable::kNoError) return error;
    // Stable by file position, so the first row of each ID comes first.
    std::sort(order.begin(), order.end());
    f.ids.clear();
    f.rows.clear();
    f.ids.reserve(order.size());
    f.rows.reserve(order.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (i > 0 && order[i].first == order[i - 1].first) continue;
        f.ids.push_back(order[i].first);
        f.rows.push_back(std::move(rows[order[i].second]));
    }
    return LanguageTable::kNoError;
}

std::vector<std::uint32_t> MissingRequired(const ParsedFile& f) {
    std::vector<std::uint32_t> missing;
    auto it = f.ids.begin();
    for (const TextIdRange& r : RequiredTextIdRanges()) {
        for (std::uint32_t id = r.first; id <= r.last; ++id) {
            it = std::lower_bound(it, f.ids.end(), id);
            if (it == f.ids.end() || *it != id) missing.push_back(id);
        }
    }
    return missing;
}

// Header pass, text pass and the required-ID check.
int ParseAndCheck(std::string_view data, ParsedFile& f, std::vector<std::uint32_t>& missing) {
    if (!WithinBounds(data)) return LanguageTable::kWouldNotOpen;
    int code = ReadHeader(data, f);
    if (code != LanguageTable::kNoError) return code;
    code = ReadTexts(data, f);
    if (code != LanguageTable::kNoError) return code;
    missing = MissingRequired(f);
    return missing.empty() ? LanguageTable::kNoError : LanguageTable::kRequiredIdMissing;
}

// "LanguageAnalys.dump" in the current folder: the two header rows, then every
// text ID in ascending order with its text for each column, CR LF lines.
void WriteDump(const ParsedFile& f) {
    std::string out;
    out += f.languageKey;
    for (const std::string& c : f.columns) AppendField(out, c);
    out += "\r\n";
    out += f.fontKey;
    for (const std::string& v : f.fontValues) AppendField(out, v);
    out += "\r\n";
    for (std::size_t i = 0; i < f.ids.size(); ++i) {
        out += std::to_string(f.ids[i]);
        const auto& texts = f.rows[i].texts;
        for (std::size_t c = 0; c < f.columns.size(); ++c) AppendField(out, c < texts.size() ? texts[c] : std::string());
        out += "\r\n";
    }
    char tmp[] = "LanguageAnalys.dump.XXXXXX";
    const int fd = ::mkstemp(tmp);
    if (fd < 0) return;
    std::size_t done = 0;
    bool ok = true;
    while (done < out.size()) {
        const ssize_t n = ::write(fd, out.data() + done, out.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ok = false;
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    ::fchmod(fd, 0644);
    if (::close(fd) != 0) ok = false;
    if (!ok || std::rename(tmp, "LanguageAnalys.dump") != 0) ::unlink(tmp);
}

}  // namespace

struct LanguageTable::Table : ParsedFile {};

struct LanguageTable::State {
    std::unique_ptr<Table> table = std::make_unique<Table>();  // the file in use
    bool loaded = false;                // a load has succeeded
    LanguageSettings settings;          // what Settings() returns
    LanguageLoadReport report;          // the last load attempt
    std::string programFolder;
    std::string foundFolder;            // where the file in use was found
    bool idMode = false;
    std::vector<InstalledLanguage> installed;
    mutable char idBuffer[24] = {};
};

LanguageTable::LanguageTable() : state_(std::make_unique<State>()) {}
LanguageTable::~LanguageTable() = default;

const char* LanguageTable::Text(std::uint32_t id) const {
    if (id == 0) id = kIdZeroStandsFor;
    const Table::Row* row = state_->table->Find(id);
    if (!row) return "";
    if (state_->idMode) {
        std::snprintf(state_->idBuffer, sizeof state_->idBuffer, "ID:%d", static_cast<int>(id));
        return state_->idBuffer;
    }
    const auto col = static_cast<std::size_t>(state_->table->selectedColumn);
    return col < row->texts.size() ? row->texts[col].c_str() : "";
}

bool LanguageTable::HasText(std::uint32_t id) const {
    return state_->table->Find(id == 0 ? kIdZeroStandsFor : id) != nullptr;
}

std::size_t LanguageTable::TextCount() const { return state_->table->ids.size(); }

const std::vector<std::uint32_t>& LanguageTable::TextIds() const { return state_->table->ids; }

int LanguageTable::ErrorText(std::string& out) const {
    const int code = state_->report.error;
    if (code == kNotFound) {
        out = kCantReadMessage;
    } else if (code >= kHeaderIncomplete && code <= kQuoteInFirstField) {
        out = kDamagedMessage;
    } else {
        out.clear();
    }
    return code;
}

int LanguageTable::LastError() const { return state_->report.error; }

const LanguageSettings& LanguageTable::Settings() const { return state_->settings; }

void LanguageTable::ResetSettings() { state_->settings = LanguageSettings{}; }

void LanguageTable::SetIdMode(bool on) { state_->idMode = on; }
bool LanguageTable::IdMode() const { return state_->idMode; }

void LanguageTable::SetProgramFolder(const std::string& folder) { state_->programFolder = folder; }

const std::string& LanguageTable::LoadedPath() const { return state_->table->path; }
const std::vector<std::string>& LanguageTable::Columns() const { return state_->table->columns; }
int LanguageTable::SelectedColumn() const { return state_->table->selectedColumn; }

const std::vector<std::uint32_t>& LanguageTable::MissingRequiredIds() const {
    return state_->report.missingRequiredIds;
}

const LanguageLoadReport& LanguageTable::LastLoadReport() const { return state_->report; }

const std::vector<InstalledLanguage>& LanguageTable::InstalledLanguages() const { return state_->installed; }

bool LanguageTable::IsRequiredId(std::uint32_t id) {
    const auto ranges = RequiredTextIdRanges();
    const auto it = std::lower_bound(ranges.begin(), ranges.end(), id,
                                     [](const TextIdRange& r, std::uint32_t v) { return r.last < v; });
    return it != ranges.end() && it->first <= id;
}

std::vector<std::uint32_t> LanguageTable::RequiredIds() {
    std::vector<std::uint32_t> out;
    out.reserve(RequiredTextIdCount());
    for (const TextIdRange& r : RequiredTextIdRanges()) {
        for (std::uint32_t id = r.first; id <= r.last; ++id) out.push_back(id);
    }
    return out;
}

std::string LanguageTable::FindFile(const std::string& fileName) const {
    if (fileName.empty()) return std::string();
    if (fileName.find('/') != std::string::npos) return Exists(fileName) ? fileName : std::string();
    if (!state_->programFolder.empty()) {
        const std::string p = JoinPath(state_->programFolder, fileName);
        if (Exists(p)) return p;
    }
    if (Exists(fileName)) return fileName;
    if (!state_->foundFolder.empty()) {
        const std::string p = JoinPath(state_->foundFolder, fileName);
        if (Exists(p)) return p;
    }
    return std::string();
}

bool LanguageTable::Load(const std::string& fileName, bool report, Prompter* prompter) {
    State& st = *state_;
    st.report = LanguageLoadReport{};
    LanguageLoadReport& r = st.report;

    auto fail = [&](int code) {
        r.error = code;
        // The table in use, and the settings it brought, stay.
        if (st.loaded) st.settings = st.table->settings;
        if (report && prompter && code >= kNotFound && code <= kQuoteInFirstField) {
            Message m;
            m.kind = MessageKind::Error;
            m.buttons = Buttons::Ok;
            m.caption = "VRM-650T";
            ErrorText(m.text);
            prompter->Ask(m);
        }
        return false;
    };

    const std::string found = FindFile(fileName);
    if (found.empty()) return fail(kNotFound);
    r.path = Absolute(found);

    std::string data;
    if (!ReadWholeFile(found, data)) return fail(kWouldNotOpen);

    auto fresh = std::make_unique<Table>();
    fresh->path = r.path;
    fresh->settings = st.settings;  // an empty size value keeps what the caller has
    const int code = ParseAndCheck(data, *fresh, r.missingRequiredIds);
    r.displayLanguage = fresh->settings.displayLanguage;
    r.columns = fresh->columns;
    r.textCount = fresh->ids.size();
    if (code != kNoError) return fail(code);

    if (st.idMode) WriteDump(*fresh);

    // The column named like the file that was asked for (or, for a path, like
    // its last part); else the first.
    if (fresh->columns.empty()) return fail(kNoColumns);
    const std::string baseName = fileName.substr(fileName.rfind('/') + 1);
    auto it = std::find(fresh->columns.begin(), fresh->columns.end(), fileName);
    if (it == fresh->columns.end()) it = std::find(fresh->columns.begin(), fresh->columns.end(), baseName);
    fresh->selectedColumn = it == fresh->columns.end() ? 0 : static_cast<int>(it - fresh->columns.begin());
    r.selectedColumn = fresh->selectedColumn;

    st.foundFolder = FolderOf(r.path);
    st.settings = fresh->settings;
    st.table = std::move(fresh);
    st.loaded = true;
    r.error = kNoError;
    return true;
}

int LanguageTable::ScanInstalledLanguages(const std::string& folder) {
    std::vector<InstalledLanguage>& list = state_->installed;
    list.clear();

    // Sorted by name, so that which files are "found first" does not depend on
    // the order the file system lists them in.
    std::vector<std::string> names;
    std::error_code ec;
    std::filesystem::directory_iterator dir(folder.empty() ? std::string(".") : folder, ec);
    for (; !ec && dir != std::filesystem::directory_iterator(); dir.increment(ec)) {
        const std::string name = dir->path().filename().string();
        if (name.size() > 4 && strcasecmp(name.c_str() + name.size() - 4, ".lng") == 0) names.push_back(name);
    }
    std::sort(names.begin(), names.end());

    for (const std::string& name : names) {
        if (list.size() >= kMaxInstalledLanguages) break;
        std::string data;
        if (!ReadWholeFile(JoinPath(folder.empty() ? std::string(".") : folder, name), data)) continue;
        ParsedFile f;
        std::vector<std::uint32_t> missing;
        if (ParseAndCheck(data, f, missing) != kNoError) continue;
        list.push_back({f.settings.displayLanguage, name});
    }

    // Selection sort on the first byte of the display name, as a signed byte.
    auto firstByte = [](const InstalledLanguage& l) {
        return static_cast<signed char>(l.displayName.empty() ? '\0' : l.displayName[0]);
    };
    for (std::size_t i = 0; i < list.size(); ++i) {
        std::size_t best = i;
        for (std::size_t j = i + 1; j < list.size(); ++j) {
            if (firstByte(list[j]) < firstByte(list[best])) best = j;
        }
        if (best != i) std::swap(list[i], list[best]);
    }
    return list.empty() ? -1 : 1;
}

}  // namespace vrm
